"""The rate fit: the module's misfit curve, best rate, residuals and summary against cooling_ages's
fit of the same measured ages, given as the file or as a DataFrame."""

import pytest

import erosion_thermal as et
from conftest import ROOT, field, run_program

OBSERVED = ROOT / "examples" / "observed_ages.csv"
MODEL = {"mean_elevation_m": 2000, "points": 101}


def read_observed(kind):
    if kind == "file":
        return OBSERVED
    pandas = pytest.importorskip("pandas")
    return pandas.read_csv(OBSERVED, comment="#")


@pytest.mark.parametrize("kind", ["file", "dataframe"])
def test_fit_equals_the_programs_fit(kind, tmp_path):
    misfit, residuals = tmp_path / "fit.csv", tmp_path / "residuals.csv"
    # The table of ZFT ages (Dodson only) costs little beside the fit, which is kinetic.
    done = run_program("cooling_ages", "periodic", "--mean-elevation", 2000, "-n", 101,
                       "--rates", "0.4:0.8:0.02", "--observed", OBSERVED, "--systems", "ZFT",
                       "--fit-output", misfit, "--residuals", residuals)
    fit = et.fit_rate(read_observed(kind), model="periodic", rates=(0.4, 0.8, 0.02), **MODEL)

    assert fit["summary"] == done.stderr
    curve = [line.split(",")[:2] for line in misfit.read_text().splitlines()[1:]]
    assert [[field(rate), field(chi2)] for rate, chi2 in zip(fit["rates"], fit["chi2"])] == curve
    assert fit["low"] <= fit["best"] <= fit["high"]

    table = fit["residuals"]
    lines = residuals.read_text().splitlines()
    assert ",".join(table) == lines[0]
    columns = [table[name] for name in table]
    rows = [",".join(value if isinstance(value, str) else field(value) for value in row)
            for row in zip(*columns)]
    assert rows == lines[1:]


def test_a_bad_row_of_a_dataframe_is_refused_with_its_line():
    pandas = pytest.importorskip("pandas")
    frame = pandas.read_csv(OBSERVED, comment="#")
    frame.loc[2, "sigma_ma"] = -1
    with pytest.raises(ValueError, match="DataFrame line 4: "):
        et.fit_rate(frame, rates=(0.4, 0.8, 0.1))


@pytest.fixture
def german_numbers():
    """The process's locale set to one that writes decimal commas, and restored afterwards."""
    import locale
    saved = locale.setlocale(locale.LC_ALL)
    try:
        locale.setlocale(locale.LC_ALL, "de_DE.UTF-8")
    except locale.Error:
        pytest.skip("the locale de_DE.UTF-8 is not generated (scripts/install-deps.sh does it)")
    yield
    locale.setlocale(locale.LC_ALL, saved)


def test_the_summary_has_decimal_points_whatever_the_locale(german_numbers):
    import re
    import warnings
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        fit = et.fit_rate(OBSERVED, rates=(0.4, 0.8, 0.1), mean_elevation_m=2000)
    assert "best rate: " in fit["summary"]
    assert not re.search(r"\d,\d", fit["summary"])


def test_ages_older_than_the_paths_are_left_out_unless_kept():
    """The fit of a file with an age older than the paths equals the fit without it, names it in a
    UserWarning and returns the warning as a value; keep_unreset fits it."""
    young = "sample,system,age_ma,sigma_ma\nA,AHe,3,0.3\nA,AFT,6,0.6\n"
    old = young + "B,ZFT,150,10\n"
    rates = (0.2, 1.5, 0.05)
    alone = et.fit_rate("young", observed_text=young, rates=rates)
    with pytest.warns(UserWarning, match="older than the paths"):
        left = et.fit_rate("old", observed_text=old, rates=rates)
    with pytest.warns(UserWarning):
        kept = et.fit_rate("old", observed_text=old, rates=rates, keep_unreset=True)
    assert left["best"] == alone["best"]
    assert list(left["chi2"]) == list(alone["chi2"])
    assert [w["samples"] for w in left["warnings"] if w["kind"] == "older_than_path"] == [["B"]]
    assert kept["chi2_min"] > alone["chi2_min"]


def quantile_lengths(rate_mm_yr, count):
    """count unprojected track lengths at the quantiles of the distribution that cooling_ages
    predicts for the transient model's rock at a rate (its --lengths-output bins)."""
    import csv
    import io
    import tempfile
    with tempfile.TemporaryDirectory() as folder:
        bins = f"{folder}/bins.csv"
        run_program("cooling_ages", "transient", "-r", rate_mm_yr, "--systems", "AFT",
                    "--method", "kinetic", "--lengths-output", bins, "--output", f"{folder}/t.csv")
        with open(bins) as text:
            rows = list(csv.DictReader(io.StringIO(text.read())))
    lengths, cumulative, k = [], 0.0, 0
    for row in rows:
        cumulative += float(row["pdf_unprojected"])
        while k < count and cumulative >= (k + 0.5) / count:
            lengths.append(float(row["length_um"]))
            k += 1
    return lengths


@pytest.mark.parametrize("kind", ["file", "dataframe"])
def test_lengths_join_the_fit_as_in_the_program(kind, tmp_path):
    """A fit of ages and lengths: the module's summary and misfit curve are the program's, and the
    lengths' table holds what the summary prints."""
    lengths = quantile_lengths(0.6, 80)
    file = tmp_path / "lengths.csv"
    file.write_text("sample,length_um\n" + "".join(f"TR03,{length}\n" for length in lengths))
    misfit = tmp_path / "fit.csv"
    done = run_program("cooling_ages", "periodic", "--mean-elevation", 2000, "-n", 21,
                       "--rates", "0.4:0.8:0.05", "--observed", OBSERVED, "--lengths", file,
                       "--systems", "AHe", "--output", tmp_path / "t.csv",
                       "--fit-output", misfit)
    if kind == "file":
        given = file
    else:
        pandas = pytest.importorskip("pandas")
        given = pandas.DataFrame({"sample": ["TR03"] * len(lengths), "length_um": lengths})
    with pytest.warns(UserWarning) if "warning" in done.stderr else _nothing():
        fit = et.fit_rate(OBSERVED, model="periodic", rates=(0.4, 0.8, 0.05), lengths=given,
                          mean_elevation_m=2000, points=21)
    summary = done.stderr if kind == "file" else done.stderr.replace(str(file), "lengths DataFrame")
    assert fit["summary"] == summary
    curve = [line.split(",")[:2] for line in misfit.read_text().splitlines()[1:]]
    assert [[field(rate), field(chi2)] for rate, chi2 in zip(fit["rates"], fit["chi2"])] == curve
    table = fit["lengths"]
    assert list(table["sample"]) == ["TR03"]
    assert list(table["set"]) == ["unprojected"]
    assert list(table["count"]) == [80]
    assert f"lengths TR03 (80 unprojected): MTL {table['measured_mean_um'][0]:.2f}" in fit["summary"]


def test_lengths_alone_fix_the_rate_they_were_drawn_at():
    pandas = pytest.importorskip("pandas")
    lengths = quantile_lengths(0.6, 150)
    frame = pandas.DataFrame({"sample": ["S"] * len(lengths), "length_um": lengths})
    fit = et.fit_rate(None, rates=(0.2, 1.5, 0.02), lengths=frame)
    assert fit["best"] == pytest.approx(0.6, abs=0.03)
    assert fit["chi2_min"] == pytest.approx(0, abs=1e-6)  # no ages: the lengths less their best
    assert fit["lengths"]["ks_p"][0] > 0.5


class _nothing:
    def __enter__(self):
        return self

    def __exit__(self, *exception):
        return False


# The geotherm fitted with the rate: each model's base, the program's --fit-base on the same ages.
FIT_BASE = [
    ("transient", {"exposure_myr": 30, "mean_elevation_m": 2000},
     ["-o", 30, "--mean-elevation", 2000], (0.015, 0.04), "basal_gradient_c_m"),
    ("periodic", MODEL, ["--mean-elevation", 2000, "-n", 101], (800, 1600), "base_temperature_c"),
]


@pytest.mark.parametrize("model, options, words, bounds, column", FIT_BASE,
                         ids=[case[0] for case in FIT_BASE])
def test_fit_base_gives_the_programs_base_and_map(model, options, words, bounds, column, tmp_path):
    misfit = tmp_path / "map.csv"
    low, high = bounds
    done = run_program("cooling_ages", model, *words, "--method", "dodson",
                       "--rates", "0.3:1.2:0.05", "--observed", OBSERVED, "--fit-base",
                       f"{low}:{high}", "--fit-output", misfit)
    fit = et.fit_rate(OBSERVED, model=model, rates=(0.3, 1.2, 0.05), method="dodson",
                      fit_base=bounds, **options)

    assert fit["summary"] == done.stderr
    base = fit["base"]
    assert base["column"] == column
    assert low <= base["low"] <= fit["best_base"] <= base["high"] <= high
    lines = misfit.read_text().splitlines()
    table = fit["map"]
    assert list(table) == ["rate_mm_yr", column, "chi2"]
    assert lines[0].startswith(",".join(table))
    rows = [",".join(field(value) for value in row) for row in zip(*(table[c] for c in table))]
    assert rows == [line.rsplit(",", 1)[0] for line in lines[1:]]


@pytest.mark.parametrize("model, bounds, message", [
    ("periodic", (1000, 1000), "fit_base: the bounds need MIN < MAX"),
    ("transient", (0, 0.03), "fit_base: -B basal gradient must be greater than 0 C/m"),
])
def test_fit_base_is_refused_in_the_programs_words(model, bounds, message):
    with pytest.raises(ValueError, match=message):
        et.fit_rate(OBSERVED, model=model, rates=(0.4, 0.8, 0.1), fit_base=bounds)

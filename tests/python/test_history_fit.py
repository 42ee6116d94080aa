"""The history fit: the module's result against cooling_ages history --fit-phases's summary and
files for the same measured ages, given as the file or as a DataFrame."""

import re
import warnings

import pytest

import erosion_thermal as et
from conftest import ROOT, field, run_program

OBSERVED = ROOT / "examples" / "history_ages.csv"
EROSION = "30:0.1"
FILES = ("fit", "profile", "posterior", "residuals")
OPTIONS = {"fit": "--fit-output", "profile": "--profile-output", "posterior": "--posterior",
           "residuals": "--residuals"}
# The sweep of one phase, and the sampler on three phases with a short chain.
FITS = [(1, {}, []), (3, {"steps": 30, "seed": 7}, ["--steps", 30, "--seed", 7])]


def rows(table, extra=None):
    """The rows of a table as cooling_ages writes them, each with extra(row) appended."""
    columns = [table[name] for name in table]
    lines = []
    for values in zip(*columns):
        words = [value if isinstance(value, str) else field(value) for value in values]
        lines.append(",".join(words + ([extra(dict(zip(table, values)))] if extra else [])))
    return lines


def printed(value, text):
    """value with the decimals of text, to compare with a number the summary printed."""
    decimals = len(text.partition(".")[2])
    return f"{value:.{decimals}f}"


def fit_history(observed, phases, **options):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")  # the warnings are the summary's, compared below
        return et.fit_history(observed, EROSION, phases, **options)


@pytest.mark.parametrize("phases, options, arguments", FITS, ids=["sweep", "sampler"])
def test_fit_history_equals_the_programs_fit(phases, options, arguments, tmp_path):
    files = {name: tmp_path / f"{name}.csv" for name in FILES}
    done = run_program("cooling_ages", "history", "--erosion", EROSION, "--observed", OBSERVED,
                       "--fit-phases", phases, *arguments,
                       *[word for name in FILES for word in (OPTIONS[name], files[name])])
    fit = fit_history(OBSERVED, phases, **options)
    lines = {name: files[name].read_text().splitlines() for name in FILES}

    assert fit["summary"] == done.stderr
    assert fit["sampler"] == ("mcmc" if phases == 3 else "grid")
    assert [start for start, _ in fit["best"]][0] == 30 and len(fit["best"]) == phases
    chi2 = re.search(r"chi2 ([\d.]+), reduced chi2 ([\d.]+)", fit["summary"])
    assert printed(fit["chi2_min"], chi2[1]) == chi2[1]
    assert printed(fit["reduced_chi2"], chi2[2]) == chi2[2]
    ranges = re.findall(r"^(?:best rate|change time \d):.* range ([\d.]+) to ([\d.]+)",
                        fit["summary"], flags=re.MULTILINE)
    assert [(printed(low, a), printed(high, b)) for (low, high), (a, b)
            in zip(fit["ranges"].values(), ranges)] == ranges
    assert len(fit["ranges"]) == len(ranges) == max(1, phases - 1)

    level = fit["chi2_level"]
    assert rows(fit["tried"], lambda row: "yes" if row["chi2"] <= level else "no") \
        == lines["fit"][1:]
    assert ",".join(fit["tried"]) + ",in_range" == lines["fit"][0]
    assert rows(fit["profiles"], lambda row: field(level)) == lines["profile"][1:]
    assert rows(fit["residuals"]) == lines["residuals"][1:]
    if phases == 3:
        assert ",".join(fit["posterior"]) == lines["posterior"][0]
        assert rows(fit["posterior"]) == lines["posterior"][1:]
        medians = re.findall(r"median ([\d.]+)", fit["summary"])
        assert [printed(median, text) for (_, median, _), text
                in zip(fit["intervals"].values(), medians)] == medians
    else:
        assert fit["posterior"] is None and fit["intervals"] is None
        assert len(lines["posterior"]) == 1


def test_a_ramp_is_fitted_as_the_program_fits_it(tmp_path):
    """fit_shapes takes --fit-shapes' words: the summary, the ranges of both rates and the tried
    table with the end rate's column are the program's, and best_erosion reruns as --erosion."""
    table = tmp_path / "fit.csv"
    done = run_program("cooling_ages", "history", "--erosion", EROSION, "--observed", OBSERVED,
                       "--fit-phases", 1, "--fit-shapes", "ramp", "--fit-output", table)
    fit = fit_history(OBSERVED, 1, fit_shapes=["ramp"])
    assert fit["summary"] == done.stderr
    assert fit["best_erosion"].startswith("30:") and "~" in fit["best_erosion"]
    assert list(fit["ranges"]) == ["rate_1_mm_yr", "end_rate_1_mm_yr"]
    for name, (low, high) in fit["ranges"].items():
        best = fit["best_erosion"].partition(":")[2].split("~")[name.startswith("end")]
        assert low <= float(best) <= high
    assert ",".join(fit["tried"]) + ",in_range" == table.read_text().splitlines()[0]
    assert set(fit["parameter_profiles"]["parameter"]) == set(fit["ranges"])


def test_a_dataframe_is_fitted_as_its_file():
    frame = pytest.importorskip("pandas").read_csv(OBSERVED, comment="#")
    from_file, from_frame = fit_history(OBSERVED, 1), fit_history(frame, 1)
    assert from_frame["best"] == from_file["best"]
    assert rows(from_frame["residuals"]) == rows(from_file["residuals"])


def test_ages_older_than_the_path_are_left_out_unless_kept():
    """An age older than the path can only be a lower bound of it: left out of chi2 (the fit of
    the file with it equals the fit without it) and named in a UserWarning, unless kept."""
    young = "sample,system,age_ma,sigma_ma\nA,AHe,3,0.3\nA,AFT,6,0.6\nA,ZHe,9,0.9\n"
    old = young + "A,ZFT,150,10\n"
    alone = fit_history("young", 1, observed_text=young)
    with pytest.warns(UserWarning, match=r"1 of 4 measured ages are older than the path"):
        left = et.fit_history("old", EROSION, 1, observed_text=old)
    kept = fit_history("old", 1, observed_text=old, keep_unreset=True)
    assert left["best"] == alone["best"]
    assert left["chi2_min"] == pytest.approx(alone["chi2_min"], rel=1e-12)
    assert list(left["residuals"]["in_chi2"]) == ["yes", "yes", "yes", "no"]
    assert kept["chi2_min"] > alone["chi2_min"] + 100
    assert "assumed: surface 0 C" in left["summary"]
    older = [w for w in left["warnings"] if w["kind"] == "older_than_path"]
    assert [w["samples"] for w in older] == [["A"]]
    assert "warning: " + older[0]["text"] in left["summary"]


def test_lengths_join_the_history_fit_as_in_the_program(tmp_path):
    """Ages and lengths of one rock: the module's summary is the program's, the misfit at the best
    history is the ages' chi2 there, and the lengths' table holds the lengths compared."""
    lengths = tmp_path / "lengths.csv"
    lengths.write_text("sample,length_um,angle_deg\n"
                       + "".join(f"R1,{13 + 0.05 * k},{(7 * k) % 90}\n" for k in range(40)))
    done = run_program("cooling_ages", "history", "--erosion", EROSION, "--fit-phases", 1,
                       "--observed", OBSERVED, "--lengths", lengths, "--output",
                       tmp_path / "table.csv")
    fit = fit_history(OBSERVED, 1, lengths=lengths)
    assert fit["summary"] == done.stderr
    assert "lengths R1 (40 c-axis projected)" in fit["summary"]
    assert list(fit["lengths"]["count"]) == [40]
    best = fit["best"]
    alone = fit_history(OBSERVED, 1, rates=(best[0][1] * 0.999999, best[0][1] * 1.000001))
    # Up to the parabola through the sweep's points, on which both read their minimum.
    assert fit["chi2_min"] == pytest.approx(alone["chi2_min"], rel=1e-2)


def test_fit_history_places_a_profile_and_fits_the_base_as_the_program_does(tmp_path):
    profile = ROOT / "examples" / "profile_ages.csv"
    done = run_program("cooling_ages", "history", "--erosion", EROSION, "--observed", profile,
                       "--fit-phases", 1, "--mean-elevation", 1500, "--fit-base", "900:1600",
                       "--output", tmp_path / "ages.csv")
    fit = fit_history(profile, 1, mean_elevation_m=1500, fit_base=(900, 1600))
    assert fit["summary"] == done.stderr
    low, high = fit["ranges"]["base_temperature_c"]
    assert 900 <= low <= fit["best_base"] <= high <= 1600
    assert "base_temperature_c" in fit["tried"]
    with pytest.raises(ValueError, match="give --mean-elevation M"):
        et.fit_history(profile, EROSION, 1)

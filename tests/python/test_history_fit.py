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


def test_a_dataframe_is_fitted_as_its_file():
    frame = pytest.importorskip("pandas").read_csv(OBSERVED, comment="#")
    from_file, from_frame = fit_history(OBSERVED, 1), fit_history(frame, 1)
    assert from_frame["best"] == from_file["best"]
    assert rows(from_frame["residuals"]) == rows(from_file["residuals"])


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

"""The 3D terrain model from Python: terrain_ages against cooling_ages terrain's table for the
same samples, its age map against the samples standing on its nodes, the history fit with the
3D model against the program's, and the program's refusals as ValueError."""

import math
import re
import warnings

import pytest

import erosion_thermal as et
from conftest import run_program

pandas = pytest.importorskip("pandas")

EROSION = "15:0.4"
MODEL = {"levels": 21, "time_step_myr": 1.0}
MODEL_WORDS = ["--levels", 21, "--time-step", 1]
SAMPLES = ("sample,system,age_ma,sigma_ma,x_m,y_m,elevation_m\n"
           "ridge,AHe,4.1,0.2,1250,1000,\nridge,ZHe,7.5,0.3,1250,1000,\n"
           "slope,AHe,3.6,0.2,1750,1000,550\nvalley,AHe,3.2,0.2,2250,1000,\n")


@pytest.fixture
def dem(tmp_path):
    """Two ridges along y, 300 to 900 m, nodes 500 m apart, in local metres."""
    lines = ["ncols 9", "nrows 5", "xllcorner 0", "yllcorner 0", "cellsize 500",
             "NODATA_value -9999"]
    row = " ".join(str(600 - 300 * math.cos(2 * math.pi * i / 4)) for i in range(9))
    lines += [row] * 5
    path = tmp_path / "hills.asc"
    path.write_text("\n".join(lines) + "\n")
    return path


@pytest.fixture
def samples(tmp_path):
    path = tmp_path / "samples.csv"
    path.write_text(SAMPLES)
    return path


def test_the_table_is_the_programs(dem, samples):
    done = run_program("cooling_ages", "terrain", "--dem", dem, "--erosion", EROSION,
                       "--observed", samples, *MODEL_WORDS)
    lines = done.stdout.splitlines()
    header = lines[0].split(",")
    program = [dict(zip(header, line.split(","))) for line in lines[1:]]
    table = et.terrain_ages(dem, EROSION, observed=pandas.read_csv(samples), **MODEL)
    assert list(table.columns) == header
    assert len(table) == len(program)
    for ours, theirs in zip(table.to_dict("records"), program):
        assert ours["sample"] == theirs["sample"]
        assert ours["system"] == theirs["system"] and ours["method"] == theirs["method"]
        for column in ("x_m", "y_m", "elevation_m", "age_ma"):
            assert ours[column] == pytest.approx(float(theirs[column]), rel=1e-5)
    chi2 = re.search(r"^chi2 ([0-9.]+) for the history", done.stderr, re.M)
    assert table.attrs["chi2"] == pytest.approx(float(chi2.group(1)), abs=0.006)
    assert list(table.attrs["residuals"]["sample"]) == ["ridge", "ridge", "slope", "valley"]


def test_the_age_map_dates_the_rock_of_every_node(dem, samples):
    """A sample on a node's surface is the rock the map dates there."""
    table = et.terrain_ages(dem, EROSION, observed=samples, age_map=True, systems="AHe,ZHe",
                            method="kinetic", **MODEL)
    ages = table.attrs["age_map"]
    assert ages["AHe"].shape == (5, 9)
    assert list(ages["x_m"]) == [250 + 500 * i for i in range(9)]
    for name, column in (("ridge", 2), ("valley", 4)):
        for system in ("AHe", "ZHe"):
            row = table[(table["sample"] == name) & (table["system"] == system)].iloc[0]
            # y = 1000 lies between node rows 1 and 2, and the ridges run along y.
            assert ages[system][1, column] == pytest.approx(row["age_ma"], rel=1e-9)
            assert ages[system][2, column] == pytest.approx(row["age_ma"], rel=1e-9)


def test_the_terrain_fit_is_the_programs(dem, samples, tmp_path):
    done = run_program("cooling_ages", "terrain", "--dem", dem, "--erosion", "15:1",
                       "--observed", samples, "--fit-phases", 1, "--rates", "0.1:1",
                       "--output", tmp_path / "ages.csv", *MODEL_WORDS)
    best = re.search(r"best history: ([0-9.:,]+), chi2 ([0-9.]+)", done.stderr)
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        fit = et.fit_history(pandas.read_csv(samples), "15:1", 1, model="terrain", dem=dem,
                             rates=(0.1, 1), **MODEL)
    start, rate = fit["best"][0]
    assert f"{start:g}:{rate:.3f}" == best.group(1)
    assert fit["chi2_min"] == pytest.approx(float(best.group(2)), abs=0.006)
    assert len(fit["residuals"]) == 4


def test_a_terrain_batch_row_is_its_groups_own_terrain_fit(dem, samples):
    """Two groups of the samples (the ridge's, the others), each row the terrain fit of its rows
    alone; the DEM read once for the batch."""
    data = pandas.read_csv(samples)
    data.insert(0, "site", ["high" if name == "ridge" else "low" for name in data["sample"]])
    fit = {"rates": (0.1, 1), **MODEL}
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        table = et.fit_batch(data, by="site", model="terrain", dem=dem, erosion="15:1",
                             phases=1, threads=2, **fit)
        for site in ("high", "low"):
            alone = et.fit_history(data[data["site"] == site].drop(columns="site"), "15:1", 1,
                                   model="terrain", dem=dem, **fit)
            row = table[table["group"] == site].iloc[0]
            assert row["status"] == "fitted"
            assert row["rate_1_mm_yr"] == alone["best"][0][1]
            assert row["chi2"] == alone["chi2_min"]


def test_the_terrain_base_fit_is_the_programs(dem, samples, tmp_path):
    done = run_program("cooling_ages", "terrain", "--dem", dem, "--erosion", "15:1",
                       "--observed", samples, "--fit-phases", 1, "--rates", "0.1:1",
                       "--fit-base", "900:1500", "--output", tmp_path / "ages.csv", *MODEL_WORDS)
    base = re.search(r"base_temperature_c: ([0-9]+) C", done.stderr)
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        fit = et.fit_history(pandas.read_csv(samples), "15:1", 1, model="terrain", dem=dem,
                             rates=(0.1, 1), fit_base=(900, 1500), **MODEL)
    assert "base fitted, 900 to 1500 C" in fit["summary"]
    assert round(fit["best_base"]) == int(base.group(1))


def test_an_uplift_map_of_two_is_the_history_at_twice_its_rates(dem, samples, tmp_path):
    twice = tmp_path / "twice.asc"
    twice.write_text(dem.read_text().split("NODATA_value -9999\n")[0] + "NODATA_value -9999\n"
                     + ("2 " * 9 + "\n") * 5)
    mapped = et.terrain_ages(dem, "15:0.2", observed=samples, uplift_map=twice, **MODEL)
    doubled = et.terrain_ages(dem, "15:0.4", observed=samples, **MODEL)
    assert list(mapped["age_ma"]) == pytest.approx(list(doubled["age_ma"]), rel=1e-6)


@pytest.mark.parametrize("options, message", [
    ({"observed_rows": "far,AHe,4,0.2,9000,1000,\n"}, "lies outside the DEM"),
    ({"observed_rows": "high,AHe,4,0.2,1250,1000,950\n"}, "stands above the model's surface"),
    ({"relief": "10:0.5,5:2"}, "relief: relief phase 2 (5:2)"),
    ({"levels": 2}, "levels (2) must be 3 to"),
])
def test_refusals_are_the_programs(dem, tmp_path, options, message):
    rows = options.pop("observed_rows", "A,AHe,4,0.2,1250,1000,\n")
    path = tmp_path / "one.csv"
    path.write_text("sample,system,age_ma,sigma_ma,x_m,y_m,elevation_m\n" + rows)
    with pytest.raises(ValueError, match=re.escape(message)):
        et.terrain_ages(dem, EROSION, observed=path, **options)


def test_a_model_the_fit_does_not_know_is_refused(samples):
    with pytest.raises(ValueError, match="model must be history or terrain"):
        et.fit_history(samples, "15:1", 1, model="periodic")

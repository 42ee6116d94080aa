"""Ages along one path: the module's numbers against cooling_ages's table for the same path."""

import csv
import io

import pytest

import erosion_thermal as et
from conftest import field, run_program

SYSTEMS = ("AHe", "AFT", "ZHe", "ZFT", "BAr", "MAr", "HAr")
ZIRCON = ("ZHe", "ZFT")
CHOOSES_KINETICS = {"AHe": "apatite_kinetics", "ZHe": "zircon_kinetics"}
GRAIN = {"apatite_radius_um": 80, "zircon_radius_um": 50, "u_ppm": 30, "th_ppm": 5,
         "dpar_um": 2.2}
OPTIONS = ["--apatite-radius", 80, "--zircon-radius", 50, "--u", 30, "--th", 5, "--dpar", 2.2]
# The default kinetics, then those without radiation damage and a grain with samarium.
KINETICS = [({}, []),
            ({"sm_ppm": 40, "apatite_kinetics": "farley", "zircon_kinetics": "reiners"},
             ["--sm", 40, "--apatite-kinetics", "farley", "--zircon-kinetics", "reiners"])]


@pytest.fixture(scope="module", params=KINETICS, ids=["default kinetics", "farley, reiners, sm"])
def dated(request, tmp_path_factory):
    """A rock from 12 km (low-temperature systems reset, argon ones not all), the table that
    cooling_ages path writes for it with every system and both methods, and the options."""
    kinetics, kinetics_options = request.param
    path = et.transient_path(exposure_myr=30, rate_mm_yr=0.4)
    file = tmp_path_factory.mktemp("path") / "path.csv"
    file.write_text("".join(f"{time!r},{temperature!r}\n"
                            for time, temperature in zip(path["time_ma"], path["temperature_c"])))
    table = run_program("cooling_ages", "path", file, "--systems", ",".join(SYSTEMS),
                        *OPTIONS, *kinetics_options).stdout
    return path, table, {**GRAIN, **kinetics}


def test_ages_of_every_system_equal_cooling_ages_on_the_same_path(dated):
    path, table, options = dated
    rows = list(csv.DictReader(io.StringIO(table)))
    assert len(rows) == len(SYSTEMS) + 3  # Dodson for all, kinetic for AHe, AFT and ZHe
    for row in rows:
        system = row["system"]
        mineral = "zircon" if system in ZIRCON else "apatite"
        kinetic = row["method"] != "dodson"
        ours = et.age(path["time_ma"], path["temperature_c"], system=system,
                      method="kinetic" if kinetic else "dodson",
                      radius_um=options[f"{mineral}_radius_um"],
                      u_ppm=options["u_ppm"], th_ppm=options["th_ppm"],
                      sm_ppm=options.get("sm_ppm", 0), dpar_um=options["dpar_um"],
                      kinetics=options.get(CHOOSES_KINETICS.get(system)) if kinetic else None)
        for column in ("age_ma", "raw_age_ma", "closure_temperature_c", "mean_track_length_um",
                       "path_start_ma"):
            assert field(ours[column]) == row[column], (system, row["method"], column)
        assert ours["kinetics"] == row["kinetics"]
        assert ("yes" if ours["reset"] else "no") == row["reset"]


def test_the_table_of_ages_has_the_programs_columns_and_fields(dated):
    pandas = pytest.importorskip("pandas")
    path, table, options = dated
    frame = et.ages({"time_ma": path["time_ma"], "temperature_c": path["temperature_c"]},
                    systems=SYSTEMS, **options)
    assert isinstance(frame, pandas.DataFrame)
    lines = table.splitlines()
    assert ",".join(frame.columns) == lines[0]
    ours = [",".join(value if isinstance(value, str) else field(value) for value in row)
            for row in frame.itertuples(index=False)]
    assert ours == lines[1:]


def test_a_path_youngest_first_gives_the_age_of_the_same_path_oldest_first():
    path = et.transient_path(exposure_myr=15)
    forward = et.age(path["time_ma"], path["temperature_c"], system="AFT")
    backward = et.age(path["time_ma"][::-1], path["temperature_c"][::-1], system="AFT")
    for value in ("age_ma", "mean_track_length_um", "closure_temperature_c"):
        assert backward[value] == forward[value]

"""Ages along one path: the module's numbers against cooling_ages's table for the same path."""

import csv
import io

import pytest

import erosion_thermal as et
from conftest import field, run_program

SYSTEMS = ("AHe", "AFT", "ZHe", "ZFT", "BAr", "MAr", "HAr")
ZIRCON = ("ZHe", "ZFT")
GRAIN = {"apatite_radius_um": 80, "zircon_radius_um": 50, "u_ppm": 30, "th_ppm": 5,
         "dpar_um": 2.2}
OPTIONS = ["--apatite-radius", 80, "--zircon-radius", 50, "--u", 30, "--th", 5, "--dpar", 2.2]


@pytest.fixture(scope="module")
def dated(tmp_path_factory):
    """A rock from 12 km (low-temperature systems reset, argon ones not all), and the table that
    cooling_ages path writes for it with every system, both methods and the grain above."""
    path = et.transient_path(exposure_myr=30, rate_mm_yr=0.4)
    file = tmp_path_factory.mktemp("path") / "path.csv"
    file.write_text("".join(f"{time!r},{temperature!r}\n"
                            for time, temperature in zip(path["time_ma"], path["temperature_c"])))
    table = run_program("cooling_ages", "path", file, "--systems", ",".join(SYSTEMS),
                        *OPTIONS).stdout
    return path, table


def test_ages_of_every_system_equal_cooling_ages_on_the_same_path(dated):
    path, table = dated
    rows = list(csv.DictReader(io.StringIO(table)))
    assert len(rows) == len(SYSTEMS) + 3  # Dodson for all, kinetic for AHe, AFT and ZHe
    for row in rows:
        system = row["system"]
        ours = et.age(path["time_ma"], path["temperature_c"], system=system,
                      method="dodson" if row["method"] == "dodson" else "kinetic",
                      radius_um=GRAIN["zircon_radius_um" if system in ZIRCON
                                     else "apatite_radius_um"],
                      u_ppm=GRAIN["u_ppm"], th_ppm=GRAIN["th_ppm"], dpar_um=GRAIN["dpar_um"])
        for column in ("age_ma", "raw_age_ma", "closure_temperature_c", "mean_track_length_um"):
            assert field(ours[column]) == row[column], (system, row["method"], column)
        assert ("yes" if ours["reset"] else "no") == row["reset"]


def test_the_table_of_ages_has_the_programs_columns_and_fields(dated):
    pandas = pytest.importorskip("pandas")
    path, table = dated
    frame = et.ages({"time_ma": path["time_ma"], "temperature_c": path["temperature_c"]},
                    systems=SYSTEMS, **GRAIN)
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

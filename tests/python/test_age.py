"""Ages along one path: the module's numbers against cooling_ages's table for the same path."""

import csv
import io

import pytest

import erosion_thermal as et
from conftest import field, run_program

SYSTEMS = ("AHe", "AFT", "ZHe", "ZFT", "BAr", "MAr", "HAr")
ZIRCON = ("ZHe", "ZFT")
ARGON = ("BAr", "MAr", "HAr")
CHOOSES_KINETICS = {"AHe": "apatite_kinetics", "ZHe": "zircon_kinetics",
                    "ZFT": "zircon_ft_kinetics"}
GRAIN = {"apatite_radius_um": 80, "zircon_radius_um": 50, "u_ppm": 30, "th_ppm": 5,
         "dpar_um": 2.2}
OPTIONS = ["--apatite-radius", 80, "--zircon-radius", 50, "--u", 30, "--th", 5, "--dpar", 2.2]
# The default kinetics, then those without radiation damage and a grain with samarium.
# The default kinetics, then those without radiation damage, Guenthner's zircon tracks, a grain
# with samarium, argon at 9 kbar and Cf-irradiated mounts.
KINETICS = [({}, []),
            ({"sm_ppm": 40, "apatite_kinetics": "farley", "zircon_kinetics": "reiners",
              "zircon_ft_kinetics": "guenthner2013", "pressure_kbar": 9, "cf_irradiated": True},
             ["--sm", 40, "--apatite-kinetics", "farley", "--zircon-kinetics", "reiners",
              "--zircon-ft-kinetics", "guenthner2013", "--pressure", 9, "--cf-irradiated"])]


@pytest.fixture(scope="module", params=KINETICS,
                ids=["default kinetics", "farley, reiners, guenthner, sm, 9 kbar, cf"])
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
    assert len(rows) == 2 * len(SYSTEMS)  # Dodson and the kinetic model for every system
    for row in rows:
        system = row["system"]
        mineral = "zircon" if system in ZIRCON else "apatite"
        kinetic = row["method"] != "dodson"
        ours = et.age(path["time_ma"], path["temperature_c"], system=system,
                      method="kinetic" if kinetic else "dodson",
                      radius_um=None if system in ARGON else options[f"{mineral}_radius_um"],
                      u_ppm=options["u_ppm"], th_ppm=options["th_ppm"],
                      sm_ppm=options.get("sm_ppm", 0), dpar_um=options["dpar_um"],
                      kinetics=options.get(CHOOSES_KINETICS.get(system)) if kinetic else None,
                      pressure_kbar=options.get("pressure_kbar", 5),
                      cf_irradiated=options.get("cf_irradiated", False))
        for column in ("age_ma", "raw_age_ma", "closure_temperature_c", "mean_track_length_um",
                       "track_length_sd_um", "mean_track_length_unprojected_um",
                       "track_length_sd_unprojected_um", "path_start_ma"):
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


# 10 Myr holds: the integral of rho over the cohorts' ages, worked out exactly.
@pytest.mark.parametrize("kinetics, temperature, expected", [
    ("yamada2007", 250, 6.63817), ("yamada2007", 300, 3.61535),
    ("guenthner2013", 250, 6.76203), ("guenthner2013", 300, 3.91492)])
def test_zircon_fission_track_holds_give_the_exact_integral(kinetics, temperature, expected):
    ours = et.age([10, 0], [temperature, temperature], system="ZFT", kinetics=kinetics)
    assert ours["kinetics"] == kinetics
    assert ours["age_ma"] == pytest.approx(expected, rel=1e-3)


def test_harrisons_muscovite_closes_at_425_c_at_ten_kilobars():
    """Harrison et al. (2009): 100 um of muscovite cooled at 10 C/Myr at 10 kbar closes at 425 C;
    the argon radius defaults to the calibration's, 100 um."""
    ours = et.age([70, 0], [700, 0], system="MAr", pressure_kbar=10)
    assert ours["kinetics"] == "harrison2009"
    assert ours["closure_temperature_c"] == pytest.approx(425, abs=3)
    given = et.age([70, 0], [700, 0], system="MAr", pressure_kbar=10, radius_um=100)
    assert given["age_ma"] == ours["age_ma"]


# 10 Myr at 90 C, Dpar 1.75 um: the converged mixture's lengths, within 0.05 um.
def test_the_aft_age_carries_its_projected_and_unprojected_lengths():
    ours = et.age([10, 0], [90, 90], system="AFT")
    assert ours["mean_track_length_um"] == pytest.approx(12.301, abs=0.05)
    assert ours["track_length_sd_um"] == pytest.approx(1.085, abs=0.05)
    assert ours["mean_track_length_unprojected_um"] == pytest.approx(9.767, abs=0.05)
    assert ours["track_length_sd_unprojected_um"] == pytest.approx(2.299, abs=0.05)
    irradiated = et.age([10, 0], [90, 90], system="AFT", cf_irradiated=True)
    assert irradiated["mean_track_length_um"] == ours["mean_track_length_um"]
    assert irradiated["mean_track_length_unprojected_um"] > ours["mean_track_length_unprojected_um"]

"""The module's temperatures and paths against the programs' files and the models' exact states."""

import numpy as np

import erosion_thermal as et
from conftest import field, run_program, word


def pair_columns(path):
    """The first and second words of a periodic_topography file of word pairs."""
    words = path.read_text().split()
    return words[0::2], words[1::2]


def test_transient_path_equals_the_path_cooling_ages_writes(tmp_path):
    output = tmp_path / "path.csv"
    run_program("cooling_ages", "transient", "-r", 0.7, "-o", 12.5, "-T", 5, "-B", 0.03,
                "-a", 1e-6, "--systems", "AHe", "--method", "dodson", "--path-output", output)
    rows = [line.split(",") for line in output.read_text().splitlines()[1:]]

    path = et.transient_path(exposure_myr=12.5, rate_mm_yr=0.7, surface_temperature_c=5,
                             gradient_c_m=0.03, diffusivity_m2_s=1e-6)
    columns = [path[name] for name in ("time_ma", "temperature_c", "depth_m")]
    assert [[field(value) for value in point] for point in zip(*columns)] == rows


def test_periodic_paths_and_profile_equal_periodic_topography_files(workspace):
    run_program("periodic_topography", "-r", 0.8, "-A", 1500, "-n", 101, "-o", 15, "-i", 80,
                cwd=workspace / "run")
    model = et.periodic_paths(rate_mm_yr=0.8, relief_m=1500, points=101, duration_myr=15,
                              isotherms_c=(80, 120, 250, 350))
    folder = workspace / "output" / "periodic"

    for site, name in (("ridge", "ridge"), ("mid_slope", "midValley"), ("valley", "valley")):
        times, temperatures = pair_columns(folder / "temp_hist" / f"periodic_{name}.dat")
        assert [word(-time) for time in model[site]["time_ma"]] == times
        assert [word(value) for value in model[site]["temperature_c"]] == temperatures

    profile = model["profile"]
    curves = [("topoY", profile["elevation_m"])]
    curves += [(f"geo{j + 1}", heights) for j, heights in enumerate(profile["isotherm_height_m"])]
    for name, heights in curves:
        xs, ys = pair_columns(folder / "isotherm" / f"periodic_{name}.dat")
        assert [word(x) for x in profile["x_m"]] == xs
        assert [word(y) for y in heights] == ys


def test_temperature_broadcasts_a_million_points_in_one_call():
    path = et.transient_path(exposure_myr=10)
    elapsed_myr = 10 - path["time_ma"]
    field_c = et.transient_temperature(path["depth_m"][:, np.newaxis], elapsed_myr[np.newaxis, :])
    assert field_c.shape == (1001, 1001)
    # The exposed rock is at depth k at elapsed time k: its path is the diagonal, to the last bit.
    np.testing.assert_array_equal(np.diagonal(field_c), path["temperature_c"])
    # When erosion begins the crust holds the initial geotherm T0 + G d, exactly.
    np.testing.assert_array_equal(field_c[:, 0], 0.025 * path["depth_m"])


def test_history_path_equals_the_path_cooling_ages_history_writes(tmp_path):
    output = tmp_path / "path.csv"
    run_program("cooling_ages", "history", "--erosion", "30:0.2,8:0.7", "-H", 2, "--h-depth", 15000,
                "-q", 65, "-k", 2.5, "--systems", "AHe", "--method", "dodson",
                "--path-output", output)
    rows = [line.split(",") for line in output.read_text().splitlines()[1:]]

    path = et.history_path([(30, 0.2), (8, 0.7)], heat_production_uw_m3=2,
                           heat_production_depth_m=15000, base_heat_flow_mw_m2=65,
                           conductivity_w_m_k=2.5)
    columns = [path[name] for name in ("time_ma", "temperature_c", "depth_m")]
    assert [[field(value) for value in point] for point in zip(*columns)] == rows


def test_history_path_of_one_phase_from_the_linear_geotherm_follows_the_closed_form():
    # A base deep below the rock and fed by the heat flow k G keeps the half-space's geotherm.
    path = et.history_path([(10, 0.5)], initial="linear", base_depth_m=150000,
                           base_heat_flow_mw_m2=75)
    exact = et.transient_temperature(path["depth_m"], 10 - path["time_ma"])
    np.testing.assert_allclose(path["temperature_c"], exact, rtol=0, atol=0.02)
    assert path["depth_m"][0] == 5000 and path["time_ma"][-1] == 0


def test_the_exposure_time_is_the_first_positional_argument_of_transient_path():
    by_position = et.transient_path(12.5, rate_mm_yr=0.7)
    by_name = et.transient_path(exposure_myr=12.5, rate_mm_yr=0.7)
    for column in ("time_ma", "temperature_c", "depth_m"):
        np.testing.assert_array_equal(by_position[column], by_name[column])
    assert by_position["time_ma"][0] == 12.5

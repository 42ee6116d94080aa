"""Values the programs refuse raise ValueError with the programs' own messages."""

import pytest

import erosion_thermal as et
from conftest import ROOT, refusal, run_program

PATH = ([10.0, 0.0], [200.0, 0.0])
PATH_FILE = "path.csv"
SHORT_TRACK = "short.csv"  # a track too short to be measured
OBSERVED = ROOT / "examples" / "observed_ages.csv"
HISTORY_AGES = ROOT / "examples" / "history_ages.csv"


def age(**arguments):
    return et.age(*PATH, **arguments)


# The module's call, and the program run whose refusal it must repeat word for word.
CASES = [
    (lambda: et.transient_path(rate_mm_yr=-1), ["cooling_ages", "transient", "-r", "-1"]),
    (lambda: et.transient_path(exposure_myr=0), ["cooling_ages", "transient", "-o", "0"]),
    (lambda: et.periodic_paths(basal_depth_m=500), ["periodic_topography", "-z", "500"]),
    (lambda: et.periodic_paths(points=1), ["periodic_topography", "-n", "1"]),
    (lambda: age(radius_um=10), ["cooling_ages", "path", PATH_FILE, "--apatite-radius", "10"]),
    (lambda: age(system="ZHe", radius_um=600),
     ["cooling_ages", "path", PATH_FILE, "--zircon-radius", "600"]),
    (lambda: age(system="XYZ"), ["cooling_ages", "path", PATH_FILE, "--systems", "XYZ"]),
    (lambda: age(method="closure"), ["cooling_ages", "path", PATH_FILE, "--method", "closure"]),
    (lambda: age(kinetics="zrdaam"),
     ["cooling_ages", "path", PATH_FILE, "--apatite-kinetics", "zrdaam"]),
    (lambda: age(sm_ppm=-1), ["cooling_ages", "path", PATH_FILE, "--sm", "-1"]),
    (lambda: et.ages({"time_ma": PATH[0], "temperature_c": PATH[1]}, zircon_kinetics="x"),
     ["cooling_ages", "path", PATH_FILE, "--zircon-kinetics", "x"]),
    (lambda: age(system="ZFT", kinetics="zrdaam"),
     ["cooling_ages", "path", PATH_FILE, "--zircon-ft-kinetics", "zrdaam"]),
    (lambda: age(system="BAr", radius_um=5),
     ["cooling_ages", "path", PATH_FILE, "--biotite-radius", "5"]),
    (lambda: age(system="MAr", pressure_kbar=31),
     ["cooling_ages", "path", PATH_FILE, "--pressure", "31"]),
    (lambda: et.fit_rate(None, rates=(0.4, 0.8, 0.1), lengths=SHORT_TRACK),
     ["cooling_ages", "transient", "--rates", "0.4:0.8:0.1", "--lengths", SHORT_TRACK]),
    (lambda: et.fit_rate(OBSERVED, rates=(0.4, 0.8, 0.1), lengths_sample="S"),
     ["cooling_ages", "transient", "--rates", "0.4:0.8:0.1", "--observed", OBSERVED,
      "--lengths-sample", "S"]),
    (lambda: et.history_path("20:0.3,5:0.6", initial="cold"),
     ["cooling_ages", "history", "--erosion", "20:0.3,5:0.6", "--initial", "cold"]),
    (lambda: et.history_path([(5, 0.3), (20, 0.6)]),
     ["cooling_ages", "history", "--erosion", "5:0.3,20:0.6"]),
    (lambda: et.history_path("20:0.3", conductivity_w_m_k=0),
     ["cooling_ages", "history", "--erosion", "20:0.3", "-k", "0"]),
    (lambda: et.history_path("20:0.3", base_temperature_c=1200, base_heat_flow_mw_m2=60),
     ["cooling_ages", "history", "--erosion", "20:0.3", "-b", "1200", "-q", "60"]),
    (lambda: et.history_path("20:0.3", heat_production_scale_m=8000,
                             heat_production_depth_m=15000),
     ["cooling_ages", "history", "--erosion", "20:0.3", "--hr", "8000", "--h-depth", "15000"]),
    (lambda: et.history_path("20:0.3", initial_gradient_c_m=0.03),
     ["cooling_ages", "history", "--erosion", "20:0.3", "-B", "0.03"]),
    (lambda: et.fit_history(HISTORY_AGES, "30:0.1", 2, sampler="gibbs"),
     ["cooling_ages", "history", "--erosion", "30:0.1", "--observed", HISTORY_AGES,
      "--fit-phases", "2", "--sampler", "gibbs"]),
    (lambda: et.fit_history(HISTORY_AGES, "30:0.1", 2, steps=50),
     ["cooling_ages", "history", "--erosion", "30:0.1", "--observed", HISTORY_AGES,
      "--fit-phases", "2", "--steps", "50"]),
    (lambda: et.fit_history(HISTORY_AGES, "30:0.1", 3, seed=-1),
     ["cooling_ages", "history", "--erosion", "30:0.1", "--observed", HISTORY_AGES,
      "--fit-phases", "3", "--seed", "-1"]),
    (lambda: et.fit_history(HISTORY_AGES, "30:0.1", 4),
     ["cooling_ages", "history", "--erosion", "30:0.1", "--observed", HISTORY_AGES,
      "--fit-phases", "4"]),
    (lambda: et.fit_history(HISTORY_AGES, "30:0.1", 2, fit_shapes=["ramp", "bogus"]),
     ["cooling_ages", "history", "--erosion", "30:0.1", "--observed", HISTORY_AGES,
      "--fit-phases", "2", "--fit-shapes", "ramp,bogus"]),
    (lambda: et.fit_history(HISTORY_AGES, "30:0.1", 2, fit_shapes="decay"),
     ["cooling_ages", "history", "--erosion", "30:0.1", "--observed", HISTORY_AGES,
      "--fit-phases", "2", "--fit-shapes", "decay"]),
    (lambda: et.fit_history(HISTORY_AGES, "30:0.1", 2, change_times=(20, 40)),
     ["cooling_ages", "history", "--erosion", "30:0.1", "--observed", HISTORY_AGES,
      "--fit-phases", "2", "--change-times", "20:40"]),
    (lambda: et.fit_rate(OBSERVED, rates=(1, 0.5, 0.1)),
     ["cooling_ages", "transient", "--rates", "1:0.5:0.1", "--observed", OBSERVED]),
    (lambda: et.fit_rate(OBSERVED, model="periodic", rates=(0.5, 1, 0.1)),
     ["cooling_ages", "periodic", "--rates", "0.5:1:0.1", "--observed", OBSERVED]),
]


@pytest.mark.parametrize("call, program", CASES)
def test_refusals_repeat_the_programs_messages(call, program, tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    (tmp_path / PATH_FILE).write_text("".join(f"{t},{c}\n" for t, c in zip(*PATH)))
    (tmp_path / SHORT_TRACK).write_text("sample,length_um\nS,14\nS,1.9\n")
    with pytest.raises(ValueError) as raised:
        call()
    assert str(raised.value) == refusal(*program)


@pytest.mark.parametrize("call, words", [
    (lambda: et.periodic_paths(relief_m=6000), "relief too steep for the method"),
    (lambda: et.transient_temperature([0, -1], 1), "got depth -1 m at 1 Myr"),
    (lambda: et.age([0, 1, 0.5], [0, 10, 20]), "time_ma must rise or fall throughout"),
    (lambda: age(system="AFT", kinetics="rdaam"), "AFT by annealing has the kinetics ketcham2007"),
    (lambda: et.fit_rate(OBSERVED, rates=(0.1, float("nan"), 0.1)),
     "--rates: START, STOP and STEP must be finite numbers (got '0.1:nan:0.1')"),
])
def test_refusals_of_the_models_name_the_value(call, words):
    with pytest.raises(ValueError) as raised:
        call()
    assert words in str(raised.value)


def test_an_isotherm_never_met_warns_as_periodic_topography_does(workspace):
    done = run_program("periodic_topography", "-n", 11, "-l", 5000, cwd=workspace / "run")
    warning = done.stderr.strip().splitlines()[-1]
    with pytest.warns(UserWarning) as warned:
        et.periodic_paths(points=11, isotherms_c=(60, 120, 250, 5000))
    assert [f"WARNING: {record.message}" for record in warned] == [warning]


# A mistyped keyword of every function, and the valid one it is nearest to.
MISTYPED = [
    (lambda: et.transient_temperature(0, 1, rate_mm_yer=1), "rate_mm_yer", "rate_mm_yr"),
    (lambda: et.transient_path(10, gradient_cm=0.03), "gradient_cm", "gradient_c_m"),
    (lambda: et.periodic_paths(relief=500), "relief", "relief_m"),
    (lambda: et.history_path("20:0.3", base_depth=40000), "base_depth", "base_depth_m"),
    (lambda: age(u_pmm=3), "u_pmm", "u_ppm"),
    (lambda: et.ages({"time_ma": PATH[0], "temperature_c": PATH[1]}, system=["AHe"]),
     "system", "systems"),
    (lambda: et.fit_rate(OBSERVED, rates=(0.4, 0.8, 0.1), u_pmm=3), "u_pmm", "u_ppm"),
    (lambda: et.fit_rate(OBSERVED, model="periodic", rates=(0.4, 0.8, 0.1), mean_elevation=2000),
     "mean_elevation", "mean_elevation_m"),
    (lambda: et.fit_history(HISTORY_AGES, "30:0.1", 1, walker=20), "walker", "walkers"),
]


@pytest.mark.parametrize("call, keyword, nearest", MISTYPED, ids=lambda item: str(item)[:12])
def test_a_mistyped_keyword_is_named_with_the_nearest_valid_one(call, keyword, nearest):
    with pytest.raises(TypeError) as raised:
        call()
    message = str(raised.value)
    assert repr(keyword) in message and repr(nearest) in message
    assert "\n" not in message and len(message) < 200


def test_a_keyword_of_the_other_model_is_refused_by_the_rate_fit():
    with pytest.raises(TypeError, match="'relief_m'"):
        et.fit_rate(OBSERVED, rates=(0.4, 0.8, 0.1), relief_m=1000)

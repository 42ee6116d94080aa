"""Values the programs refuse raise ValueError with the programs' own messages."""

import pytest

import erosion_thermal as et
from conftest import ROOT, refusal, run_program

PATH = ([10.0, 0.0], [200.0, 0.0])
PATH_FILE = "path.csv"
OBSERVED = ROOT / "examples" / "observed_ages.csv"


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
    (lambda: age(system="ZFT"),
     ["cooling_ages", "path", PATH_FILE, "--systems", "ZFT", "--method", "kinetic"]),
    (lambda: et.history_path("20:0.3,5:0.6", initial="cold"),
     ["cooling_ages", "history", "--erosion", "20:0.3,5:0.6", "--initial", "cold"]),
    (lambda: et.history_path([(5, 0.3), (20, 0.6)]),
     ["cooling_ages", "history", "--erosion", "5:0.3,20:0.6"]),
    (lambda: et.history_path("20:0.3", conductivity_w_m_k=0),
     ["cooling_ages", "history", "--erosion", "20:0.3", "-k", "0"]),
    (lambda: et.fit_rate(OBSERVED, rates=(1, 0.5, 0.1)),
     ["cooling_ages", "transient", "--rates", "1:0.5:0.1", "--observed", OBSERVED]),
    (lambda: et.fit_rate(OBSERVED, model="periodic", rates=(0.5, 1, 0.1)),
     ["cooling_ages", "periodic", "--rates", "0.5:1:0.1", "--observed", OBSERVED]),
]


@pytest.mark.parametrize("call, program", CASES)
def test_refusals_repeat_the_programs_messages(call, program, tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    (tmp_path / PATH_FILE).write_text("".join(f"{t},{c}\n" for t, c in zip(*PATH)))
    with pytest.raises(ValueError) as raised:
        call()
    assert str(raised.value) == refusal(*program)


@pytest.mark.parametrize("call, words", [
    (lambda: et.periodic_paths(relief_m=6000), "relief too steep for the method"),
    (lambda: et.transient_temperature([0, -1], 1), "got depth -1 m at 1 Myr"),
    (lambda: et.age([0, 1, 0.5], [0, 10, 20]), "time_ma must rise or fall throughout"),
    (lambda: age(system="AFT", kinetics="rdaam"), "AFT by annealing has the kinetics ketcham2007"),
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

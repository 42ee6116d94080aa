"""Every fit predicts a sample with the kinetics it names: the age in a fit's residuals equals the
age that ages() gives along the path of the best fit, for the same grain and kinetics."""

import warnings

import pytest

import erosion_thermal as et

pandas = pytest.importorskip("pandas")

# The argument that names the kinetics, the kinetics, and the system it dates, with two ages of a
# rock cooled at some 0.6 mm/yr.
KINETICS = [("apatite_kinetics", "rdaam", "AHe", (3.0, 4.0)),
            ("apatite_kinetics", "farley", "AHe", (3.0, 4.0)),
            ("zircon_kinetics", "zrdaam", "ZHe", (8.0, 10.0)),
            ("zircon_kinetics", "reiners", "ZHe", (8.0, 10.0))]
RATES = (0.3, 1.5, 0.1)
EXPOSURE_MYR = 20
# Periodic: samples on the ridge (the mean surface at 0 m, relief 1000 m); paths of 10 Myr at
# the 0.01 Myr the fit dates along, so that periodic_paths gives the very path.
PERIODIC = {"points": 1001, "duration_myr": 10}


def fits(frame, options):
    """(model, fit, the path of its best fit, relative tolerance) for every model."""
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")  # predictions that are minimum ages
        # The samples on the transient model's surface: its one rock exposed at -o.
        transient = et.fit_rate(frame, rates=RATES, exposure_myr=EXPOSURE_MYR,
                                mean_elevation_m=1000.0, **options)
        periodic = et.fit_rate(frame, model="periodic", rates=RATES, **PERIODIC, **options)
        # The samples at the history's mean surface: the rock exposed today, history_path's.
        history = et.fit_history(frame, "20:0.5", 1, mean_elevation_m=1000.0, **options)
    yield "transient", transient, et.transient_path(EXPOSURE_MYR, rate_mm_yr=transient["best"]), 0
    ridge = et.periodic_paths(rate_mm_yr=periodic["best"], **PERIODIC)["ridge"]
    yield "periodic", periodic, ridge, 0
    # The history fit runs the thermal model on a coarser grid than history_path, whose ages it
    # keeps within 0.1 %; kinetics of another name move an age by several per cent.
    yield "history", history, et.history_path(history["best"]), 1e-3


@pytest.mark.parametrize("argument, kinetics, system, observed", KINETICS,
                         ids=[kinetics for _, kinetics, _, _ in KINETICS])
def test_every_fit_predicts_the_age_that_ages_gives_along_its_best_path(argument, kinetics,
                                                                          system, observed):
    frame = pandas.DataFrame({"sample": ["A", "B"], "system": [system] * 2,
                              "elevation_m": [1000.0] * 2, "age_ma": observed,
                              "sigma_ma": [0.5, 0.5]})
    options = {argument: kinetics}
    for model, fit, path, tolerance in fits(frame, options):
        table = et.ages(path, systems=[system], method="kinetic", **options)
        assert list(table["kinetics"]) == [kinetics], model
        residuals = fit["residuals"]
        assert list(residuals["kinetics"]) == [kinetics] * 2, model
        for predicted in residuals["predicted_age_ma"]:
            assert predicted == pytest.approx(table["age_ma"][0], rel=tolerance, abs=0), model

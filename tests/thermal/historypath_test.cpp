#include "historypath.h"
#include "model.h"
#include "steadygeotherm.h"
#include "units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace thermal;

namespace {

// transient_erosion's problem: the line T0 + G d at the start, no heat production, and a base so
// deep that it does not reach the path, whose held heat flow k G keeps the gradient the
// half-space keeps far below.
ThermalParameters halfSpace()
{
    ThermalParameters p;
    p.initial = InitialState::Linear;
    p.base = BaseCondition::HeatFlow;
    p.baseDepthM = 150000.0;
    p.baseHeatFlowMWm2 = p.conductivityWmK * p.initialGradientCm / wattsPerMilliwatt;
    return p;
}

// The path's temperature at one of its times, or NaN.
double temperatureAt(const HistoryPath& path, const double timeMa)
{
    const auto found
        = std::lower_bound(path.timeMa.begin(), path.timeMa.end(), timeMa, std::greater<double>());
    return found != path.timeMa.end() && *found == timeMa
        ? path.temperatureC[found - path.timeMa.begin()]
        : std::nan("");
}

} // namespace

TEST(HistoryPath, ConstantRateFollowsTheClosedFormOfTransientErosion)
{
    // Slow and fast, the rock starting shallow or deep: the fast ones refine grid and steps.
    const struct {
        double rateMmYr, durationMyr;
    } cases[] = { { 0.1, 10 }, { 0.5, 20 }, { 1.0, 5 }, { 2.0, 2 }, { 5.0, 10 }, { 20.0, 5 } };
    for (const auto& c : cases) {
        const ThermalParameters p = halfSpace();
        const HistoryPath path = historyPath(p, { { c.durationMyr, c.rateMmYr } });
        erosion::RunParameters closedForm;
        closedForm.setErosionRate(c.rateMmYr);
        closedForm.basalGradient = p.initialGradientCm;
        closedForm.diffusivity = p.diffusivityM2s;
        double largest = 0.0;
        for (std::size_t i = 0; i < path.timeMa.size(); ++i) {
            const double elapsedS = (c.durationMyr - path.timeMa[i]) * units::secondsPerMyr;
            const double exact = erosion::transientTemp(closedForm, -path.depthM[i], elapsedS);
            largest = std::max(largest, std::abs(path.temperatureC[i] - exact));
        }
        EXPECT_LT(largest, 0.05) << c.rateMmYr << " mm/yr for " << c.durationMyr << " Myr";
    }
}

TEST(HistoryPath, LongConstantRateReachesTheSteadyGeotherm)
{
    // "No erosion" runs at a negligible rate from the line and ends on the conductive steady
    // state; the others start from it and end on the steady state of their rate. A rate of
    // kappa / hr makes a = 1 / hr, the resonance of the exponential's closed form.
    using enum HeatProductionShape;
    using enum BaseCondition;
    const double resonantMmYr = 1.3636e-6 / 50000.0 * units::mmPerYearPerMetrePerSecond;
    const struct {
        HeatProductionShape shape;
        BaseCondition base;
        double scaleM, rateMmYr, durationMyr, steadyRateMmYr;
    } cases[] = {
        { Exponential, Temperature, 10000, 1e-6, 400, 0.0 },
        { Uniform, Temperature, 15100, 1e-6, 400, 0.0 },
        { Uniform, HeatFlow, 15100, 1e-6, 400, 0.0 },
        { Exponential, Temperature, 10000, 0.5, 80, 0.5 },
        { Uniform, Temperature, 15100, 0.5, 80, 0.5 },
        { Exponential, HeatFlow, 10000, 0.1, 400, 0.1 },
        { Exponential, Temperature, 50000, resonantMmYr, 58, resonantMmYr },
    };
    for (const auto& c : cases) {
        ThermalParameters p;
        p.heatProductionUWm3 = 2.5;
        p.heatProductionShape = c.shape;
        p.heatProductionScaleM = p.heatProductionDepthM = c.scaleM; // a layer bottom off the nodes
        p.base = c.base;
        p.baseHeatFlowMWm2 = 60.0;
        p.initial = c.steadyRateMmYr == 0.0 ? InitialState::Linear : InitialState::Steady;
        const Geotherm present = historyRun(p, { { c.durationMyr, c.rateMmYr } }).presentGeotherm;
        const SteadyGeotherm steady(p, c.steadyRateMmYr);
        double largest = 0.0;
        for (std::size_t i = 0; i < present.depthM.size(); ++i)
            largest = std::max(largest,
                std::abs(present.temperatureC[i] - steady.temperatureC(present.depthM[i])));
        EXPECT_LT(largest, 0.05) << static_cast<int>(c.shape) << " " << static_cast<int>(c.base)
                                 << " " << c.rateMmYr << " mm/yr";
    }
}

TEST(HistoryPath, HalvingTheStepsQuartersTheChangeOfATwoStagePath)
{
    // Second order: the path moves four times less from tau / 2 to tau / 4 than from tau to
    // tau / 2, right after the change of rate included.
    const ThermalParameters p;
    const ErosionHistory history { { 20.0, 0.3 }, { 5.0, 0.6 } };
    const HistoryPath coarse = historyPath(p, history, { 250.0, 0.2 });
    const HistoryPath finer = historyPath(p, history, { 250.0, 0.1 });
    const HistoryPath finest = historyPath(p, history, { 250.0, 0.05 });
    // Over the coarse path's times (std::max passes over the NaN of a time a path lacks).
    double change = 0.0, halvedChange = 0.0;
    for (std::size_t i = 0; i < coarse.timeMa.size(); ++i) {
        const double t = coarse.timeMa[i];
        change = std::max(change, std::abs(coarse.temperatureC[i] - temperatureAt(finer, t)));
        halvedChange
            = std::max(halvedChange, std::abs(temperatureAt(finer, t) - temperatureAt(finest, t)));
    }
    EXPECT_GT(change, 1e-4); // the steps do matter
    EXPECT_LE(halvedChange, change / 4.0);
    EXPECT_NEAR(std::log2(change / halvedChange), 2.0, 0.05);
}

TEST(HistoryPath, TracksTheExposedRockExactlyWithChangesOnStepBoundaries)
{
    const ThermalParameters p; // 25 C/km from 0 C, no heat production
    const HistoryPath path = historyPath(p, { { 20.0, 0.3 }, { 5.0, 0.6 } });
    ASSERT_GT(path.timeMa.size(), 100u);
    EXPECT_EQ(path.timeMa.front(), 20.0);
    EXPECT_EQ(path.timeMa.back(), 0.0);
    EXPECT_EQ(path.temperatureC.back(), 0.0); // at the held surface
    EXPECT_NEAR(path.temperatureC.front(), 0.025 * 7500.0, 1e-9); // on the initial geotherm
    bool changeIsAStep = false;
    for (std::size_t i = 0; i < path.timeMa.size(); ++i) {
        const double t = path.timeMa[i];
        if (i > 0) {
            EXPECT_LT(t, path.timeMa[i - 1]);
        }
        changeIsAStep |= t == 5.0;
        // 600 m/Myr since 5 Ma, 300 m/Myr before.
        const double depthM = t <= 5.0 ? 600.0 * t : 3000.0 + 300.0 * (t - 5.0);
        EXPECT_NEAR(path.depthM[i], depthM, 1e-9) << t << " Ma";
    }
    EXPECT_TRUE(changeIsAStep);
}

TEST(HistoryPath, RefusesWhatItCannotRun)
{
    ThermalParameters noConduction;
    noConduction.conductivityWmK = 0.0;
    const struct {
        ThermalParameters parameters;
        ErosionHistory history;
        Resolution resolution;
        const char* message;
    } cases[] = {
        { {}, { { 40.0, 2.0 } }, {}, "would have started 80000 m deep at 40 Ma, below the base" },
        { noConduction, { { 20.0, 0.3 } }, {}, "conductivity (-k 0 W/m/K)" },
        { {}, {}, {}, "erosion history is empty" },
        { {}, { { 20.0, 0.3 } }, { 250.0, 0.0 }, "time step (0 Myr)" },
        { {}, { { 20.0, 0.3 } }, { 250.0, 1e-5 }, "more than 1000000" },
    };
    for (const auto& c : cases) {
        const auto message = runError(c.parameters, c.history, c.resolution);
        ASSERT_TRUE(message.has_value()) << c.message;
        EXPECT_NE(message->find(c.message), std::string::npos) << *message;
        EXPECT_THROW(historyPath(c.parameters, c.history, c.resolution), std::invalid_argument);
    }
}

// Rocks placed off the surface in one column run: the rock at depth 0 is the exposed rock's path,
// a rock h higher on the steady geotherm of a long constant rate runs the same path h / rate
// later, a borehole rock ends on the steady closed form at its depth, a rock in the relief takes
// the lapse rate, the surface heat flow is the closed form's, and a rock too deep is refused.

#include "historypath.h"
#include "steadygeotherm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using namespace thermal;

// The temperature of a path at timeMa, linear between its points (times decreasing).
double temperatureAtTime(const HistoryPath& path, const double timeMa)
{
    for (std::size_t i = 1; i < path.timeMa.size(); ++i) {
        if (path.timeMa[i] <= timeMa) {
            const double share
                = (path.timeMa[i - 1] - timeMa) / (path.timeMa[i - 1] - path.timeMa[i]);
            return path.temperatureC[i - 1]
                + share * (path.temperatureC[i] - path.temperatureC[i - 1]);
        }
    }
    return path.temperatureC.back();
}

TEST(PlacedRun, TheRockAtTheSurfaceTodayIsTheExposedRocksPath)
{
    ThermalParameters p;
    p.heatProductionUWm3 = 1.5;
    const ErosionHistory history { { 25, 0.2 }, { 6, 0.7 } };
    const HistoryRun exposed = historyRun(p, history);
    const PlacedRun placed = placedRun(p, history, { { 800.0, 0.0, -600.0 }, 0.0065 });
    ASSERT_EQ(placed.paths.size(), 3u);
    EXPECT_EQ(placed.paths[1].temperatureC, exposed.path.temperatureC);
    EXPECT_EQ(placed.paths[1].depthM, exposed.path.depthM);
    EXPECT_EQ(placed.presentGeotherm.temperatureC, exposed.presentGeotherm.temperatureC);
    for (std::size_t i = 0; i < exposed.path.timeMa.size(); ++i) {
        EXPECT_DOUBLE_EQ(placed.paths[0].depthM[i], exposed.path.depthM[i] + 800.0);
        EXPECT_DOUBLE_EQ(placed.paths[2].depthM[i], exposed.path.depthM[i] - 600.0);
    }
}

TEST(PlacedRun, ARockHHigherOnASteadyGeothermRunsTheSamePathHOverRateLater)
{
    // A shallow column that a rate of 0.5 mm/yr brings to its steady state within some 10 Myr of
    // the 36 (its slowest mode decays as exp(-pi^2 kappa t / L^2), in about 1 Myr): the field no
    // longer changes, so a rock h higher reaches every depth, and so every
    // temperature, h / rate later (without a lapse rate the relief is at T0 as the surface).
    ThermalParameters p;
    p.baseDepthM = 20000.0;
    p.baseTemperatureC = 500.0;
    const double rateMmYr = 0.5, heightM = 800.0;
    const double delayMyr = heightM / (rateMmYr * 1000.0); // 1.6 Myr
    const PlacedRun placed = placedRun(p, { { 36, rateMmYr } }, { { 0.0, -heightM }, 0.0 });
    const SteadyGeotherm steady(p, rateMmYr);
    for (const double timeMa : { 20.0, 12.0, 6.0, 3.0, 1.7 }) {
        const double low = temperatureAtTime(placed.paths[0], timeMa);
        // The rock h higher was at the lower one's depth h / rate earlier.
        const double high = temperatureAtTime(placed.paths[1], timeMa + delayMyr);
        EXPECT_NEAR(high, low, 0.02) << timeMa << " Ma";
        EXPECT_NEAR(low, steady.temperatureC(timeMa * rateMmYr * 1000.0), 0.05) << timeMa << " Ma";
    }
}

TEST(PlacedRun, ABoreholeRockEndsOnTheColumnsTemperatureAtItsDepth)
{
    // The steady closed form of the rate is the column's state after a long phase, with heat
    // production and either base.
    for (const BaseCondition base : { BaseCondition::Temperature, BaseCondition::HeatFlow }) {
        ThermalParameters p;
        p.base = base;
        p.baseHeatFlowMWm2 = 40.0;
        p.heatProductionUWm3 = 2.0;
        // A held heat flow relaxes four times slower than a held temperature (its slowest mode
        // decays as exp(-pi^2 kappa t / 4 L^2), in 23 Myr): 250 Myr are eleven of those.
        const double rateMmYr = 0.15;
        const std::vector<double> depths { 0.0, 1234.0, 3000.0, 7654.0 };
        const PlacedRun placed = placedRun(p, { { 250, rateMmYr } }, { depths, 0.0065 });
        const SteadyGeotherm steady(p, rateMmYr);
        for (std::size_t k = 0; k < depths.size(); ++k) {
            EXPECT_NEAR(placed.paths[k].temperatureC.back(), steady.temperatureC(depths[k]), 0.05)
                << depths[k] << " m";
            EXPECT_DOUBLE_EQ(placed.paths[k].depthM.back(), depths[k]);
            EXPECT_DOUBLE_EQ(placed.paths[k].temperatureC.back(),
                geothermTemperatureC(placed.presentGeotherm, depths[k]));
        }
    }
}

TEST(PlacedRun, ARockInTheReliefTakesTheSurfaceTemperatureOfItsHeight)
{
    ThermalParameters p;
    p.surfaceTemperatureC = 12.0;
    // 1000 m above the mean surface, eroded at 0.1 mm/yr: 500 m up at 5 Ma, 1000 m up today.
    const PlacedRun placed = placedRun(p, { { 20, 0.1 } }, { { -1000.0 }, 0.006 });
    EXPECT_NEAR(temperatureAtTime(placed.paths[0], 5.0), 12.0 - 0.006 * 500.0, 1e-9);
    EXPECT_NEAR(placed.paths[0].temperatureC.back(), 12.0 - 6.0, 1e-9);
    EXPECT_NEAR(geothermTemperatureC(placed.presentGeotherm, -250.0, 0.006), 10.5, 1e-12);
}

TEST(PlacedRun, TheSurfaceHeatFlowIsTheSteadyClosedFormsGradientTimesK)
{
    const struct {
        double rateMmYr, productionUWm3;
    } cases[] = { { 1e-6, 0.0 }, { 1e-6, 2.5 }, { 0.3, 0.0 }, { 1.0, 1.5 } };
    for (const auto& c : cases) {
        ThermalParameters p;
        p.heatProductionUWm3 = c.productionUWm3;
        // As long as the column allows: some 8 of its slowest e-folding times (6 Myr) at least.
        const HistoryRun run
            = historyRun(p, { { std::min(200.0, 45.0 / c.rateMmYr), c.rateMmYr } });
        const double expected = p.conductivityWmK
            * SteadyGeotherm(p, c.rateMmYr).surfaceGradientCm() / wattsPerMilliwatt;
        EXPECT_NEAR(surfaceHeatFlowMWm2(p, run.presentGeotherm), expected, 5e-3 * expected)
            << c.rateMmYr << " mm/yr, " << c.productionUWm3 << " uW/m3";
    }
    // Without erosion or heat production, k G: 3 W/m/K x 25 C/km.
    ThermalParameters p;
    EXPECT_NEAR(
        surfaceHeatFlowMWm2(p, historyRun(p, { { 10, 1e-6 } }).presentGeotherm), 75.0, 0.01);
}

TEST(PlacedRun, RefusesARockThatWouldHaveStartedBelowTheBase)
{
    ThermalParameters p;
    const ErosionHistory history { { 40, 1.0 } }; // 40 km of erosion in a 50 km column
    EXPECT_FALSE(placedRunError(p, history, { { 9000.0 }, 0.0 }));
    const auto refused = placedRunError(p, history, { { -500.0, 11000.0 }, 0.0 });
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->find("the rock 11000 m below the mean surface today would have started "
                            "51000 m deep"),
        std::string::npos)
        << *refused;
    EXPECT_THROW(placedRun(p, history, { { 11000.0 }, 0.0 }), std::invalid_argument);
}

} // namespace

namespace {

// A ramp of the rate is the limit of many short constant phases at its midpoint rates: the
// column today and the path of the exposed rock converge on the ramp's as the phases shorten
// (the midpoint rule: the difference falls as the square of their length).
TEST(ShapedHistory, ARampIsTheLimitOfManyShortConstantPhases)
{
    ThermalParameters p;
    const double rampStartMa = 12.0, fromMmYr = 0.2, toMmYr = 1.0;
    const HistoryRun ramp = historyRun(p, parseErosionHistory("30:0.2,12:0.2~1.0"));
    const auto steppedRun = [&](int phases) {
        ErosionHistory history { { 30, fromMmYr } };
        for (int k = 0; k < phases; ++k) {
            const double startMa = rampStartMa * (1.0 - double(k) / phases);
            const double middle = (k + 0.5) / phases;
            history.push_back({ startMa, fromMmYr + (toMmYr - fromMmYr) * middle });
        }
        return historyRun(p, history);
    };
    double previous = 0.0;
    for (const int phases : { 6, 24 }) {
        const HistoryRun stepped = steppedRun(phases);
        double largest = 0.0;
        for (std::size_t i = 0; i < ramp.presentGeotherm.temperatureC.size(); ++i)
            largest = std::max(largest,
                std::abs(stepped.presentGeotherm.temperatureC[i]
                    - ramp.presentGeotherm.temperatureC[i]));
        for (const double timeMa : { 10.0, 6.0, 3.0, 1.0 })
            largest = std::max(largest,
                std::abs(temperatureAtTime(stepped.path, timeMa)
                    - temperatureAtTime(ramp.path, timeMa)));
        EXPECT_EQ(exhumationSinceM(parseErosionHistory("30:0.2,12:0.2~1.0"), 12.0), 7200.0);
        if (phases == 24) {
            EXPECT_LT(largest, 0.05);
            EXPECT_LT(largest, previous / 8.0); // second order: 16 in theory
        }
        previous = largest;
    }
}

// Burial then erosion: the rock goes down 1 km while the column is held, then comes back up; its
// depth is the integral of the rate and it ends at the surface on the geotherm.
TEST(ShapedHistory, BurialTakesTheRockDownAndItsDepthIsTheIntegralOfTheRate)
{
    ThermalParameters p;
    const ErosionHistory history = parseErosionHistory("20:0.3,10:-0.2/5,4:0,2:1.0");
    const HistoryRun run = historyRun(p, history);
    for (std::size_t i = 0; i < run.path.timeMa.size(); i += 37)
        EXPECT_NEAR(run.path.depthM[i], exhumationSinceM(history, run.path.timeMa[i]), 1e-6);
    EXPECT_NEAR(
        temperatureAtTime(run.path, 3.0), temperatureAtTime(run.path, 3.9), 2.0); // the pause
    EXPECT_GT(
        temperatureAtTime(run.path, 4.0), temperatureAtTime(run.path, 10.0)); // buried, warmer
    EXPECT_DOUBLE_EQ(run.path.temperatureC.back(), 0.0);
}

} // namespace

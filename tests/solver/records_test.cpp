#include "records.h"

#include "field.h"
#include "grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using erosion::interpl;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// The default run's grid and field.
struct DefaultRun {
    erosion::RunParameters p;
    erosion::DepthGrid grid
        = erosion::buildGrid(p.maxDepth, erosion::nodeSpacingFor(p.erosionRate));
    erosion::TemperatureField field { grid.nodeCount() };

    DefaultRun() { erosion::computeField(p, grid, field); }

    std::vector<double> isotherm(double temperature) const
    {
        std::vector<double> column, depths;
        erosion::isothermDepths(field, grid, temperature, column, depths);
        return depths;
    }
};

// Half a unit of the fourth significant digit of value: the rounding of a 4-digit reference.
double halfOfFourthDigit(double value)
{
    return 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 3);
}

} // namespace

TEST(Interpl, InterpolatesInTheFirstIntervalHoldingX)
{
    const double xs[] = { 0.0, 10.0, 20.0, 10.0, 0.0 };
    const double ys[] = { 0.0, -100.0, -200.0, -300.0, -400.0 };
    EXPECT_DOUBLE_EQ(interpl(xs, 5, ys, 5.0), -50.0);
    EXPECT_DOUBLE_EQ(interpl(xs, 5, ys, 15.0), -150.0); // the falling intervals come later
    EXPECT_EQ(interpl(xs, 5, ys, 0.0), 0.0); // x = xs[0] gives ys[0]
    EXPECT_EQ(interpl(xs, 5, ys, 10.0), -100.0); // a right end is taken first
    EXPECT_EQ(interpl(xs, 5, ys, 20.0), -200.0);
}

TEST(Interpl, NoIntervalOrTooFewPointsGiveZero)
{
    EXPECT_EQ(interpl(nullptr, 1, nullptr, 5.0), 0.0); // one point: arrays not read
    EXPECT_EQ(interpl(nullptr, 0, nullptr, 5.0), 0.0);
    const double xs[] = { 1.0, 2.0, 3.0 };
    const double ys[] = { 10.0, 20.0, 30.0 };
    EXPECT_EQ(interpl(xs, 3, ys, 0.5), 0.0);
    EXPECT_EQ(interpl(xs, 3, ys, 3.5), 0.0);
    EXPECT_EQ(interpl(xs, 3, ys, notANumber), 0.0);
}

TEST(Interpl, NotANumberEndIsNeverTakenAndFlatIntervalIsNotANumber)
{
    const double xs[] = { notANumber, 12.5, 25.0 };
    const double ys[] = { 0.0, -500.0, -1000.0 };
    EXPECT_EQ(interpl(xs, 3, ys, 5.0), 0.0);
    EXPECT_DOUBLE_EQ(interpl(xs, 3, ys, 20.0), -800.0);
    const double flat[] = { 7.0, 7.0 };
    EXPECT_TRUE(std::isnan(interpl(flat, 2, ys, 7.0)));
}

TEST(IsothermDepths, DefaultRunSixtyDegreesStartsAt2400Metres)
{
    const DefaultRun run;
    const auto depths = run.isotherm(60.0);
    ASSERT_EQ(depths.size(), 101u);
    // Nodes 4 (50 degrees) and 5 (62.5) enclose 60: -2000 + 10 x (-500 / 12.5).
    EXPECT_DOUBLE_EQ(depths[0], -2400.0);
    // Erosion brings hot rock up, so the isotherm rises with time.
    for (std::size_t i = 1; i < depths.size(); ++i)
        EXPECT_GT(depths[i], depths[i - 1]) << "level " << i;
}

TEST(IsothermDepths, IsothermAboveTheFirstNodeIsFoundAtTheStart)
{
    // The surface holds T0 at time 0, so 5 degrees lies between it and 12.5 at -500 m.
    EXPECT_DOUBLE_EQ(DefaultRun().isotherm(5.0)[0], -200.0);
}

TEST(IsothermDepths, IsothermOutsideTheColumnIsNotFound)
{
    const DefaultRun run;
    for (const double temperature : { 5000.0, -1.0 }) {
        for (const double depth : run.isotherm(temperature))
            EXPECT_EQ(depth, 0.0) << temperature;
    }
}

TEST(CoolingHistory, DefaultRunFollowsTheRockExposedAtTenMillionYears)
{
    const DefaultRun run;
    const auto history = erosion::coolingHistory(run.field, 10);
    const double expected[]
        = { 125.0, 119.8, 110.4, 99.40, 87.33, 74.41, 60.75, 46.43, 31.51, 16.02 };
    ASSERT_EQ(history.size(), 11u);
    EXPECT_EQ(history[0], 0.025 * 5000.0); // its initial temperature at 5 km
    for (int k = 0; k < 10; ++k)
        EXPECT_NEAR(history[k], expected[k], halfOfFourthDigit(expected[k])) << "k = " << k;
    EXPECT_NEAR(history[10], 0.0, 1e-9);
}

TEST(CoolingHistory, ExposureAtTheStartIsTheSurfaceTemperature)
{
    DefaultRun run;
    const auto history = erosion::coolingHistory(run.field, 0);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0], run.p.surfaceTemp);
}

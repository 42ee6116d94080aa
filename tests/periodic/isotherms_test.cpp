#include "isotherms.h"
#include "units.h"
#include "defaultproblem.h"

#include <gtest/gtest.h>

#include <cmath>

using periodic::isothermHeights;
using periodic::PeriodicSteadyState;

TEST(IsothermHeights, LieBelowTheSurfaceWhereTheTemperatureIsMet)
{
    const auto model = PeriodicSteadyState::solve(problemWithRelief(1000.0));
    const std::vector<double> temps { 60.0, 120.0, 250.0, 350.0 };
    for (const double x : { 0.0, 3000.0, 5000.0, 10000.0, -12000.0 }) {
        const auto heights = isothermHeights(model, x, temps);
        ASSERT_EQ(heights.size(), temps.size());
        double above = model.surfaceHeight(x);
        for (std::size_t j = 0; j < temps.size(); ++j) {
            EXPECT_NEAR(model.temperature(x, -heights[j]), temps[j], 1e-6) << "x = " << x;
            EXPECT_LT(heights[j], above) << "hotter isotherms lie deeper";
            above = heights[j];
        }
    }
}

TEST(IsothermHeights, FlatSurfaceGivesTheOneDimensionalDepth)
{
    // Tbar(z) = Tc  <=>  z = -(kappa / u) ln(1 - (Tc - Ts) / (TL - Ts) (1 - exp(-u L / kappa)))
    const auto problem = problemWithRelief(0.0);
    const auto model = PeriodicSteadyState::solve(problem);
    const double a = problem.velocity / problem.diffusivity;
    for (const double tc : { 60.0, 350.0, 1000.0 }) {
        const double depth = -std::log(1.0 - tc / 1250.0 * (1.0 - std::exp(-a * 50000.0))) / a;
        for (const double x : { 0.0, 7000.0 }) {
            EXPECT_NEAR(isothermHeights(model, x, { tc })[0], -depth, 1e-3) << "Tc = " << tc;
        }
    }
}

TEST(IsothermHeights, NaNWhereTheIsothermWouldLieInTheAir)
{
    // The surface runs from -6.5 C on the ridge to +6.5 C in the valley: 0 C is met below the
    // ridge, but the whole valley column is warmer than 0 C.
    const auto model = PeriodicSteadyState::solve(problemWithRelief(1000.0));
    const double underRidge = isothermHeights(model, 0.0, { 0.0 })[0];
    EXPECT_LT(underRidge, 1000.0);
    EXPECT_GT(underRidge, 0.0);
    EXPECT_TRUE(std::isnan(isothermHeights(model, 10000.0, { 0.0 })[0]));
}

TEST(IsothermHeights, NaNForATemperatureBeyondTheBase)
{
    const auto model = PeriodicSteadyState::solve(problemWithRelief(1000.0));
    const auto heights = isothermHeights(model, 2000.0, { 1300.0, 1250.0 });
    EXPECT_TRUE(std::isnan(heights[0]));
    EXPECT_NEAR(heights[1], -50000.0, 1e-6); // the basal temperature is met at the base
}

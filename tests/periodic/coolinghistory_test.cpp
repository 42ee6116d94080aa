#include "coolinghistory.h"
#include "units.h"
#include "defaultproblem.h"

#include <gtest/gtest.h>

#include <cmath>

using periodic::coolingHistory;
using periodic::PeriodicSteadyState;

TEST(CoolingHistory, RunsFromTheEarliestTimeToZeroAtTheSurfaceTemperatureOfItsSite)
{
    // A mean surface at 2 C, so that no site's surface temperature is 0.
    auto problem = problemWithRelief(1000.0);
    problem.surfaceTemp = 2.0;
    const auto model = PeriodicSteadyState::solve(problem);
    // Ridge, mid-valley and valley: surface temperatures 2 - 6.5, 2 and 2 + 6.5 C.
    const double sites[] = { 0.0, 5000.0, 10000.0 };
    const double surfaceTemps[] = { -4.5, 2.0, 8.5 };
    for (int s = 0; s < 3; ++s) {
        const auto history = coolingHistory(model, sites[s], 20.0, 81);
        ASSERT_EQ(history.size(), 81u);
        EXPECT_EQ(history.front().first, -20.0);
        EXPECT_EQ(history.back().first, 0.0);
        EXPECT_FALSE(std::signbit(history.back().first)) << "0, not -0";
        EXPECT_NEAR(history[40].first, -10.0, 1e-12);
        EXPECT_NEAR(history.back().second, surfaceTemps[s], 1e-6);
        for (std::size_t i = 1; i < history.size(); ++i) {
            EXPECT_GT(history[i].first, history[i - 1].first);
            EXPECT_LT(history[i].second, history[i - 1].second) << "the rock cools on its way up";
        }
    }
}

TEST(CoolingHistory, FlatSurfaceFollowsTheMeanGeotherm)
{
    // t Myr ago the rock was 500 t m deep: T = Ts + (TL - Ts)(1 - exp(-a z)) / (1 - exp(-a L)).
    auto problem = problemWithRelief(0.0);
    problem.surfaceTemp = 2.0;
    const auto model = PeriodicSteadyState::solve(problem);
    const double a = problem.velocity / problem.diffusivity;
    const auto history = coolingHistory(model, 3000.0, 20.0, 5);
    for (const auto& [time, temperature] : history) {
        const double depth = -time * 500.0;
        const double expected
            = 2.0 + 1248.0 * (1.0 - std::exp(-a * depth)) / (1.0 - std::exp(-a * 50000.0));
        EXPECT_NEAR(temperature, expected, 1e-6) << "t = " << time;
    }
}

// The cooling paths the models give the age predictions.

#include "periodicpaths.h"
#include "transientpath.h"

#include "coolinghistory.h"
#include "periodicparameters.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(TransientPath, FineEvenStepsFromTheStartOfErosionToExposure)
{
    erosion::RunParameters p;
    for (const double exposure : { 2.0, 10.5, 37.25 }) {
        const ages::SamplePath sample = ages::transientCoolingPath(p, exposure);
        const auto& path = sample.path;
        ASSERT_GE(path.size(), 1000u) << exposure;
        EXPECT_EQ(path.front().timeMa, exposure); // not rounded to whole Myr
        EXPECT_EQ(path.back().timeMa, 0.0);
        for (std::size_t k = 1; k < path.size(); ++k) {
            const double step = path[k - 1].timeMa - path[k].timeMa;
            ASSERT_GT(step, 0) << exposure << " at " << k;
            ASSERT_LE(step, 0.01 * (1 + 1e-12)) << exposure << " at " << k;
        }
    }
}

TEST(TransientPath, StartsOnTheInitialGeothermEndsAtTheSurfaceAndCoolsOnTheWay)
{
    erosion::RunParameters p;
    p.surfaceTemp = 5;
    p.setErosionRate(0.8);
    const double exposure = 12;
    const ages::SamplePath sample = ages::transientCoolingPath(p, exposure);
    const double risen = 0.8 * 1000 * exposure; // m: 0.8 mm/yr for 12 Myr
    EXPECT_DOUBLE_EQ(sample.depthM.front(), risen);
    EXPECT_NEAR(sample.path.front().temperatureC, 5 + 0.025 * risen, 1e-9);
    EXPECT_EQ(sample.depthM.back(), 0.0);
    EXPECT_NEAR(sample.path.back().temperatureC, 5.0, 1e-9);
    // Seen from the rock, heat only diffuses: the linear start has no curvature, and the cold
    // surface draws heat out of it from then on, so its temperature never rises.
    for (std::size_t k = 1; k < sample.path.size(); ++k)
        ASSERT_LE(sample.path[k].temperatureC, sample.path[k - 1].temperatureC + 1e-9) << k;
}

TEST(SamplePath, DepthAtInterpolatesInTimeAndIsUnknownOffThePath)
{
    ages::SamplePath sample { { { 10, 300 }, { 4, 100 }, { 0, 0 } }, { 5000, 2000, 0 } };
    EXPECT_DOUBLE_EQ(sample.depthAt(10), 5000);
    EXPECT_DOUBLE_EQ(sample.depthAt(7), 3500);
    EXPECT_DOUBLE_EQ(sample.depthAt(1), 500);
    EXPECT_DOUBLE_EQ(sample.depthAt(0), 0);
    EXPECT_TRUE(std::isnan(sample.depthAt(10.5)));
    EXPECT_TRUE(std::isnan(sample.depthAt(-1)));
    sample.depthM.clear(); // a path read from a file
    EXPECT_TRUE(std::isnan(sample.depthAt(7)));
}

periodic::PeriodicSteadyState defaultModel(const periodic::PeriodicParameters& parameters)
{
    return periodic::PeriodicSteadyState::solve(periodic::toProblem(parameters));
}

TEST(PeriodicPath, EndsAtTheLapseRateSurfaceTemperatureAndStartsDeeper)
{
    const periodic::PeriodicParameters parameters;
    const auto model = defaultModel(parameters);
    for (const double x : { 0.0, 5000.0, 10000.0 }) {
        const ages::SamplePath sample = ages::periodicCoolingPath(model, x, 20);
        ASSERT_GE(sample.path.size(), 2001u);
        EXPECT_EQ(sample.path.front().timeMa, 20);
        EXPECT_DOUBLE_EQ(sample.depthM.front(), 0.5 * 1000 * 20); // 0.5 mm/yr for 20 Myr
        // At the surface: Ts - beta h(x), 0 C minus 6.5 C/km at the height of the point.
        const double surface = -6.5e-3 * model.surfaceHeight(x);
        EXPECT_NEAR(sample.path.back().temperatureC, surface, 1e-5) << x;
        EXPECT_GT(sample.path.front().temperatureC, 200) << x;
        // The very path periodic_topography writes as the history of that rock.
        const periodic::Series history
            = periodic::coolingHistory(model, x, 20, static_cast<int>(sample.path.size()));
        for (std::size_t k = 0; k < history.size(); ++k) {
            ASSERT_EQ(history[k].first, -sample.path[k].timeMa + 0.0) << x << " at " << k;
            ASSERT_EQ(history[k].second, sample.path[k].temperatureC) << x << " at " << k;
        }
    }
}

} // namespace

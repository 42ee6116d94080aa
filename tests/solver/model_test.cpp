#include "model.h"

#include <gtest/gtest.h>

#include <cmath>

using erosion::RunParameters;
using units::secondsPerMyr;
using erosion::transientTemp;

TEST(TransientTemp, ReferenceValuesOfTheDefaultRun)
{
    const RunParameters p;
    EXPECT_NEAR(transientTemp(p, -500.0, 5 * secondsPerMyr), 15.05, 0.005);
    EXPECT_NEAR(transientTemp(p, -50000.0, 5 * secondsPerMyr), 1312.0, 0.5);
    EXPECT_EQ(transientTemp(p, -5000.0, 0.0), 125.0);
}

TEST(TransientTemp, StartIsTheInitialGeothermSurfaceIncluded)
{
    RunParameters p;
    p.surfaceTemp = 8.0;
    p.basalGradient = 0.03;
    EXPECT_EQ(transientTemp(p, 0.0, 0.0), 8.0); // the closed form alone gives 0/0 here
    EXPECT_EQ(transientTemp(p, -0.0, 0.0), 8.0);
    EXPECT_DOUBLE_EQ(transientTemp(p, -1000.0, 0.0), 38.0);
}

TEST(TransientTemp, SurfaceStaysAtTheSurfaceTemperature)
{
    RunParameters p;
    p.surfaceTemp = 15.0;
    for (const double myr : { 0.01, 1.0, 20.0, 100.0 })
        EXPECT_NEAR(transientTemp(p, 0.0, myr * secondsPerMyr), 15.0, 1e-9) << myr << " Myr";
}

TEST(TransientTemp, DeepRockKeepsItsInitialTemperatureWhileRising)
{
    // Far below the diffusion length the rock now at depth d came from d + u t unchanged.
    RunParameters p;
    p.setErosionRate(2.0);
    const double t = 3 * secondsPerMyr;
    const double risen = 2.0 / 3.1536e10 * t; // u t, metres
    EXPECT_NEAR(transientTemp(p, -200000.0, t), 0.025 * (200000.0 + risen), 1e-6);
}

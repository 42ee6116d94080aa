#include "grid.h"
#include "memory.h"

#include <gtest/gtest.h>

using erosion::buildGrid;
using erosion::nodeSpacingFor;

TEST(DepthGrid, DefaultsGive101NodesEvery500Metres)
{
    const double spacing = nodeSpacingFor(0.5);
    EXPECT_EQ(spacing, 500.0);
    const auto grid = buildGrid(50000.0, spacing);
    ASSERT_EQ(grid.nodeCount(), 101);
    for (int j = 0; j < grid.nodeCount(); ++j)
        EXPECT_EQ(grid.nodeZ[j], -500.0 * j) << "node " << j;
}

TEST(DepthGrid, RemainderIsTheIntervalBelowTheSurface)
{
    // 0.3 mm/yr: 300 m steps up from -50000 overshoot the surface by 100 m; that node is put at
    // the surface, leaving a 200 m top interval.
    const double spacing = nodeSpacingFor(0.3);
    EXPECT_EQ(spacing, 300.0);
    const auto grid = buildGrid(50000.0, spacing);
    ASSERT_EQ(grid.nodeCount(), 168);
    EXPECT_EQ(grid.nodeZ[0], 0.0);
    EXPECT_EQ(grid.nodeZ[1], -200.0);
    EXPECT_EQ(grid.nodeZ[2], -500.0);
    EXPECT_EQ(grid.nodeZ[167], -50000.0);
    for (int j = 2; j < grid.nodeCount(); ++j)
        EXPECT_DOUBLE_EQ(grid.nodeZ[j - 1] - grid.nodeZ[j], 300.0) << "node " << j;
}

TEST(DepthGrid, ShallowModelStillHasSurfaceAndBase)
{
    const auto grid = buildGrid(100.0, 500.0);
    ASSERT_EQ(grid.nodeCount(), 2);
    EXPECT_EQ(grid.nodeZ[0], 0.0);
    EXPECT_EQ(grid.nodeZ[1], -100.0);
}

TEST(DepthGrid, SpacingBelowTheResolutionOfTheDepthIsRefusedBeforeCounting)
{
    // Adding 1e-13 m to -50000 m never moves the sum; the bound, computed without the sums,
    // shows the grid cannot be held, so the run never starts the count.
    EXPECT_EQ(-50000.0 + 1e-13, -50000.0);
    EXPECT_FALSE(erosion::runFitsInMemory(erosion::nodeCountBound(50000.0, 1e-13)));
}

TEST(RunMemory, SmallGridsFitAndHugeOnesDoNot)
{
    EXPECT_EQ(erosion::runMemoryBytes(101), 8.0 * (101.0 * 101.0 + 6.0 * 101.0));
    EXPECT_TRUE(erosion::runFitsInMemory(101));
    EXPECT_FALSE(erosion::runFitsInMemory(5e7)); // 2e16 bytes
    EXPECT_FALSE(erosion::runFitsInMemory(3e9)); // beyond int indices
    EXPECT_FALSE(erosion::runFitsInMemory(1e300));
}

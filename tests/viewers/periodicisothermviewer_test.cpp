#include "periodicisothermviewer.h"

#include "fixturetree.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using Points = std::vector<double>;

const QStringList defaultArguments { "40000", "15000", "0.5", "100 C", "200 C", "300 C", "400 C" };

} // namespace

TEST(PeriodicDepthTicks, TwiceTheWindowHeightWithoutItsTrailingZeros)
{
    EXPECT_EQ(periodicDepthTicks(15000), 4); // R = 2: intervals of 5000 m
    EXPECT_EQ(periodicDepthTicks(10000), 30); // R = 15: intervals of 500 m
    EXPECT_EQ(periodicDepthTicks(45000), 10); // R = 5
    EXPECT_EQ(periodicDepthTicks(12345), 34690); // R = 17345
    EXPECT_EQ(periodicDepthTicks(0), 10);
}

TEST(PeriodicDepthTicks, FollowTheRuleForAnyDepthWithinTheIntRange)
{
    // The drawing, not the viewer, keeps so many intervals from stalling the window.
    EXPECT_EQ(periodicDepthTicks(1000001), 2010002);
    EXPECT_EQ(periodicDepthTicks(INT_MAX), INT_MAX);
    EXPECT_EQ(periodicDepthTicks(INT_MIN), INT_MIN);
}

TEST(PeriodicDepthTicks, AWindowWithoutHeightGetsNoTicksAndANegativeOneNegativeTicks)
{
    EXPECT_EQ(periodicDepthTicks(-5000), 0);
    EXPECT_EQ(periodicDepthTicks(-5010), -2);
    EXPECT_EQ(periodicDepthTicks(-6000), -2);
}

TEST(PeriodicIsothermViewer, TheWindowComesFromTheArgumentsAlone)
{
    FixtureTree tree;
    const FirstView view = startPeriodicIsotherms(defaultArguments, tree.runDir());
    EXPECT_EQ(view.bounds,
        (PlotBounds { .xMin = -20000,
            .xMax = 20000,
            .xTicks = 8,
            .yMin = -15000,
            .yMax = 5000,
            .yTicks = 4 }));
    EXPECT_EQ(view.labels, (std::array<QString, 5> { "0.5", "100 C", "200 C", "300 C", "400 C" }));
    ASSERT_EQ(view.curves.size(), 5u);
    for (const Points& curve : view.curves)
        EXPECT_TRUE(curve.empty());

    const FirstView odd
        = startPeriodicIsotherms({ "12.5", "0", "1", "a", "b", "c", "d" }, tree.runDir());
    EXPECT_EQ(odd.bounds.xMin, -6);
    EXPECT_EQ(odd.bounds.xMax, 6);
}

TEST(PeriodicIsothermViewer, TopographyFirstThenTheFourIsothermsNaNPairsLeftOut)
{
    FixtureTree tree;
    tree.write("periodic/isotherm/periodic_topoY.dat", "-100 900\n0 1200\n100 900");
    tree.write("periodic/isotherm/periodic_geo1.dat", "-100 -3000\n0 NaN\n100 -2900");
    tree.write("periodic/isotherm/periodic_geo2.dat", "0 NaN");
    tree.write("periodic/isotherm/periodic_geo4.dat", "5 -4");
    const FirstView view = startPeriodicIsotherms(defaultArguments, tree.runDir());
    EXPECT_EQ(view.curves[0], (Points { -100, 900, 0, 1200, 100, 900 }));
    EXPECT_EQ(view.curves[1], (Points { -100, -3000, 100, -2900 }));
    EXPECT_TRUE(view.curves[2].empty());
    EXPECT_TRUE(view.curves[3].empty());
    EXPECT_EQ(view.curves[4], (Points { 5, -4 }));
}

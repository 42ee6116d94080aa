#include "periodichistoryviewer.h"

#include "fixturetree.h"

#include <gtest/gtest.h>

namespace {

using Points = std::vector<double>;

const QString ridgeFile = QStringLiteral("periodic/temp_hist/periodic_ridge.dat");
const QString midValleyFile = QStringLiteral("periodic/temp_hist/periodic_midValley.dat");
const QString valleyFile = QStringLiteral("periodic/temp_hist/periodic_valley.dat");

} // namespace

TEST(PeriodicHistoryViewer, TheWindowComesFromThreeWordsOfTheRidgeAndValleyFiles)
{
    FixtureTree tree;
    tree.write(ridgeFile, "-20.7 310.4\n-10 150\n0 12.8");
    tree.write(midValleyFile, "-20.7 350\n0 14");
    tree.write(valleyFile, "-20.7 402.3\n0 16");
    const FirstView view = startPeriodicHistories({ "0.5" }, tree.runDir());
    EXPECT_EQ(view.bounds,
        (PlotBounds { .xMin = -20, .xMax = 0, .xTicks = 5, .yMin = 12, .yMax = 402, .yTicks = 5 }));
    EXPECT_EQ(view.labels,
        (std::array<QString, 5> { "0.5", "Ridge", "Mid-Valley", "Valley", QString() }));
    ASSERT_EQ(view.curves.size(), 3u);
    EXPECT_EQ(view.curves[0], (Points { -20.7, 310.4, -10, 150, 0, 12.8 }));
    EXPECT_EQ(view.curves[1], (Points { -20.7, 350, 0, 14 }));
    EXPECT_EQ(view.curves[2], (Points { -20.7, 402.3, 0, 16 }));
}

TEST(PeriodicHistoryViewer, TimesRunningDownToZeroGiveAFallingAxis)
{
    FixtureTree tree;
    tree.write(ridgeFile, "20 300 10 100 0 10");
    tree.write(valleyFile, "20 400 0 20");
    const FirstView view = startPeriodicHistories({ "1" }, tree.runDir());
    EXPECT_EQ(view.bounds.xMin, 20);
    EXPECT_EQ(view.bounds.xMax, 0);
    EXPECT_EQ(view.bounds.yMin, 10);
    EXPECT_EQ(view.bounds.yMax, 400);
}

TEST(PeriodicHistoryViewer, ALastRidgeRecordOfNaNIsNotDrawnButSetsTheBottomToZero)
{
    FixtureTree tree;
    tree.write(ridgeFile, "-20 300 0 NaN");
    tree.write(valleyFile, "-20 400 0 20");
    const FirstView view = startPeriodicHistories({ "1" }, tree.runDir());
    EXPECT_EQ(view.bounds.yMin, 0);
    EXPECT_EQ(view.curves[0], (Points { -20, 300 }));
}

TEST(PeriodicHistoryViewer, MissingFilesGiveAnEmptyWindowAndEmptyCurves)
{
    FixtureTree tree;
    tree.write(midValleyFile, "-20 350 0 14");
    const FirstView view = startPeriodicHistories({ "1" }, tree.runDir());
    EXPECT_EQ(view.bounds,
        (PlotBounds { .xMin = 0, .xMax = 0, .xTicks = 5, .yMin = 0, .yMax = 0, .yTicks = 5 }));
    EXPECT_TRUE(view.curves[0].empty());
    EXPECT_EQ(view.curves[1].size(), 4u);
    EXPECT_TRUE(view.curves[2].empty());
}

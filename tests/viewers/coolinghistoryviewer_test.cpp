#include "coolinghistoryviewer.h"

#include "fixturetree.h"

#include <gtest/gtest.h>

namespace {

using Points = std::vector<double>;

const QString historyFile = QStringLiteral("transient/temp_hist/transient_tempHist.dat");

double windowTopFor(const QByteArray& firstTemperature)
{
    FixtureTree tree;
    tree.write(historyFile, " 0 " + firstTemperature + " 1 119.8");
    return startCoolingHistory({ "10", "0" }, tree.runDir()).bounds.yMax;
}

} // namespace

TEST(CoolingHistoryViewer, TheTopIsTheIntegerPartOfTheFirstTemperaturePlusTen)
{
    EXPECT_EQ(windowTopFor("125.0"), 135);
    EXPECT_EQ(windowTopFor("125.9"), 135);
    EXPECT_EQ(windowTopFor("-3.5"), 7);
    EXPECT_EQ(windowTopFor("1.000e+04"), 11); // an integer reading stops at the point
}

TEST(CoolingHistoryViewer, WindowLabelAndCurveComeFromTheArgumentsAndTheFile)
{
    FixtureTree tree;
    tree.write(historyFile, " 0 125.0 1 119.8 2 110.4 3 NaN 4 90.00");
    const FirstView view = startCoolingHistory({ "10.5", "-20" }, tree.runDir());
    EXPECT_EQ(view.bounds,
        (PlotBounds { .xMin = 0, .xMax = 10, .xTicks = 5, .yMin = -20, .yMax = 135, .yTicks = 5 }));
    EXPECT_EQ(view.labels[0], "10.5");
    ASSERT_EQ(view.curves.size(), 1u);
    EXPECT_EQ(view.curves[0], (Points { 0, 125, 1, 119.8, 2, 110.4, 4, 90 }));
}

TEST(CoolingHistoryViewer, AMissingFileGivesATopOfTenAndNoCurve)
{
    FixtureTree tree;
    const FirstView view = startCoolingHistory({ "10", "0" }, tree.runDir());
    EXPECT_EQ(view.bounds.yMax, 10);
    ASSERT_EQ(view.curves.size(), 1u);
    EXPECT_TRUE(view.curves[0].empty());
}

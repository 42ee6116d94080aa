#include "geothermviewer.h"

#include "fixturetree.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Points = std::vector<double>;

const QStringList defaultArguments { "50000", "0.5", "0", "5", "10", "15", "0" };

QString geotherm(int n)
{
    return QStringLiteral("transient/geotherm/transient_T%1.dat").arg(n);
}

} // namespace

TEST(GeothermWindow, TheBottomTemperatureRoundsUpToWholeHundreds)
{
    EXPECT_EQ(geothermTemperatureTop(1312.0), 1400);
    EXPECT_EQ(geothermTemperatureTop(1300.0), 1300);
    EXPECT_EQ(geothermTemperatureTop(1300.01), 1400);
    EXPECT_EQ(geothermTemperatureTop(0.0), 0);
    EXPECT_EQ(geothermTemperatureTop(-50.0), 0);
}

TEST(GeothermViewer, WindowLabelsAndCurvesComeFromArgumentsAndTheFourFiles)
{
    FixtureTree tree;
    tree.write(geotherm(1), " 0.000 0.000 12.50 -500.0");
    tree.write(geotherm(2), " 0.000 0.000 15.05 -500.0");
    tree.write(geotherm(3), " 0.000 0.000 16.00 -500.0");
    tree.write(geotherm(4), " 0.000 0.000 1312. -5.000e+04");

    const FirstView view = startGeotherm(defaultArguments, tree.runDir());
    EXPECT_EQ(view.bounds,
        (PlotBounds {
            .xMin = 0, .xMax = 1400, .xTicks = 5, .yMin = -50000, .yMax = 0, .yTicks = 5 }));
    EXPECT_EQ(view.labels, (std::array<QString, 5> { "0.5", "0", "5", "10", "15" }));
    ASSERT_EQ(view.curves.size(), 4u);
    EXPECT_EQ(view.curves[0], (Points { 0, 0, 12.5, -500 }));
    EXPECT_EQ(view.curves[1], (Points { 0, 0, 15.05, -500 }));
    EXPECT_EQ(view.curves[2], (Points { 0, 0, 16, -500 }));
    EXPECT_EQ(view.curves[3], (Points { 0, 0, 1312, -50000 }));
}

TEST(GeothermViewer, NumericArgumentsAreReadAsIntegers)
{
    FixtureTree tree;
    tree.write(geotherm(4), " 1300. -5.000e+04");
    const FirstView view
        = startGeotherm({ "50000.5", "0.5", "0", "5", "10", "15", "12.9" }, tree.runDir());
    EXPECT_EQ(view.bounds.yMin, -50000);
    EXPECT_EQ(view.bounds.xMin, 12);
    EXPECT_EQ(view.bounds.xMax, 1300);
}

TEST(GeothermViewer, ASurfaceTemperatureThatIsNotANumberGivesAPointAtZero)
{
    FixtureTree tree;
    tree.write(geotherm(1), " -nan 0.000 12.50 -500.0");
    const FirstView view = startGeotherm(defaultArguments, tree.runDir());
    ASSERT_EQ(view.curves[0].size(), 4u);
    EXPECT_EQ(view.curves[0][0], 0.0);
    EXPECT_FALSE(std::isnan(view.curves[0][0]));
}

TEST(GeothermViewer, AMissingFourthFileTakesTheTopFromTheLastRecordOfTheThird)
{
    FixtureTree tree;
    tree.write(geotherm(3), " 0.000 0.000 1250. -5.000e+04");
    const FirstView view = startGeotherm(defaultArguments, tree.runDir());
    EXPECT_EQ(view.bounds.xMax, 1300);
    EXPECT_TRUE(view.curves[3].empty());
    EXPECT_TRUE(view.curves[0].empty());
}

TEST(GeothermViewer, WithoutAnyFileTheWindowHasNoWidth)
{
    FixtureTree tree;
    const FirstView view = startGeotherm(defaultArguments, tree.runDir());
    EXPECT_EQ(view.bounds.xMin, 0);
    EXPECT_EQ(view.bounds.xMax, 0);
    for (const Points& curve : view.curves)
        EXPECT_TRUE(curve.empty());
}

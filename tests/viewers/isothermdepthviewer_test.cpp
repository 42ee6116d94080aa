#include "isothermdepthviewer.h"

#include "fixturetree.h"

#include <gtest/gtest.h>

namespace {

using Points = std::vector<double>;

const QStringList defaultArguments { "0", "0.5", "60", "120", "250", "350" };

QString isotherm(int n)
{
    return QStringLiteral("transient/temp_time/transient_isotherm%1.dat").arg(n);
}

// A pair stream of time levels 0 .. levels - 1; the first notANumber of them read "NaN".
QByteArray isothermRecords(int levels, int notANumber, double firstCoordinate)
{
    QByteArray text;
    for (int level = 0; level < levels; ++level) {
        text += ' ' + QByteArray::number(level) + ' ';
        text += level < notANumber ? QByteArray("NaN")
                                   : QByteArray::number(firstCoordinate + 10 * level);
    }
    return text;
}

} // namespace

TEST(IsothermDepthWindow, TheBottomIsTwoKilometresBelowTheWholeKilometreAboveTheIsotherm)
{
    EXPECT_EQ(isothermDepthBottom(-2400), -5000);
    EXPECT_EQ(isothermDepthBottom(-5000), -7000);
    EXPECT_EQ(isothermDepthBottom(-1000), -3000);
    EXPECT_EQ(isothermDepthBottom(0), -2000);
}

TEST(IsothermDepthViewer, TheWindowSpansEveryTimeLevelOfTheFourthFileNaNIncluded)
{
    FixtureTree tree;
    for (int n = 1; n <= 3; ++n)
        tree.write(isotherm(n), isothermRecords(5, 0, -1000 * n));
    tree.write(isotherm(4), isothermRecords(101, 30, -2400));

    const FirstView view = startIsothermDepth(defaultArguments, tree.runDir());
    EXPECT_EQ(view.bounds,
        (PlotBounds {
            .xMin = 0, .xMax = 100, .xTicks = 5, .yMin = -2000, .yMax = 0, .yTicks = 5 }));
    ASSERT_EQ(view.curves.size(), 4u);
    EXPECT_EQ(view.curves[0], (Points { 0, -1000, 1, -990, 2, -980, 3, -970, 4, -960 }));
    EXPECT_EQ(view.curves[2].size(), 10u);
    // The 30 "NaN" time levels are not points; the line runs on from level 30.
    ASSERT_EQ(view.curves[3].size(), 2u * 71);
    EXPECT_EQ(view.curves[3][0], 30);
    EXPECT_EQ(view.labels, (std::array<QString, 5> { "0.5", "60", "120", "250", "350" }));
}

TEST(IsothermDepthViewer, TheDepthOfTheFourthIsothermAtTimeZeroSetsTheBottom)
{
    FixtureTree tree;
    tree.write(isotherm(4), " 0 -2400. 1 -2300. 2 NaN");
    const FirstView view = startIsothermDepth(defaultArguments, tree.runDir());
    EXPECT_EQ(view.bounds.yMin, -5000);
    EXPECT_EQ(view.bounds.xMax, 2);
    EXPECT_EQ(view.curves[3], (Points { 0, -2400, 1, -2300 }));
}

TEST(IsothermDepthViewer, ANaNAtTimeZeroReadsAsTheSurface)
{
    FixtureTree tree;
    tree.write(isotherm(4), " 0 NaN 1 -9000.");
    const FirstView view = startIsothermDepth(defaultArguments, tree.runDir());
    EXPECT_EQ(view.bounds.yMin, -2000);
    EXPECT_EQ(view.curves[3], (Points { 1, -9000 }));
}

TEST(IsothermDepthViewer, AMissingFourthFileGivesAWindowEndingAtMinusOne)
{
    FixtureTree tree;
    tree.write(isotherm(3), " 0 -8000. 1 -7000.");
    const FirstView view
        = startIsothermDepth({ "anything", "1", "a", "b", "c", "d" }, tree.runDir());
    EXPECT_EQ(view.bounds.xMax, -1);
    EXPECT_EQ(view.bounds.yMin, -2000);
    EXPECT_TRUE(view.curves[3].empty());
    EXPECT_EQ(view.curves[2].size(), 4u);
}

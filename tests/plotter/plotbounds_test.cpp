#include "plotbounds.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct SnapCase {
    double min, max;
    double snappedMin, snappedMax;
    int ticks;
};

void PrintTo(const SnapCase& c, std::ostream* os)
{
    *os << c.min << " to " << c.max;
}

class SnapAxisWorkedValues : public ::testing::TestWithParam<SnapCase> { };

} // namespace

TEST_P(SnapAxisWorkedValues, WidensToRoundStepsAndCountsTheIntervals)
{
    const SnapCase c = GetParam();
    double min = c.min, max = c.max;
    int ticks = -1;
    PlotBounds::snapAxis(min, max, ticks);
    EXPECT_DOUBLE_EQ(min, c.snappedMin);
    EXPECT_DOUBLE_EQ(max, c.snappedMax);
    EXPECT_EQ(ticks, c.ticks);
}

// Step 2, 2, 5, 1 (8 = 4 x 2 exactly keeps the smaller step), 0.2 (0.5 = 5 x 0.1 exactly),
// 10, 2, 5, 200.
INSTANTIATE_TEST_SUITE_P(Table, SnapAxisWorkedValues,
    ::testing::Values(SnapCase { 0, 10, 0, 10, 5 }, SnapCase { 0.3, 9.6, 0, 10, 5 },
        SnapCase { 0, 30, 0, 30, 6 }, SnapCase { 0, 8, 0, 8, 8 }, SnapCase { 0, 2, 0, 2, 10 },
        SnapCase { 0, 40, 0, 40, 4 }, SnapCase { -3.7, 12.2, -4, 14, 9 },
        SnapCase { -37.2, -1.5, -40, 0, 8 }, SnapCase { 0, 1200, 0, 1200, 6 }));

TEST(SnapAxis, AReversedAxisIsRoundedOutwardLikeANormalOneAndStaysReversed)
{
    for (const auto& [lo, hi] : { std::pair { 0.0, 20.0 }, std::pair { 2.1, 17.3 },
             std::pair { -37.2, -1.5 }, std::pair { 10.0109, 20.0 } }) {
        double min = lo, max = hi;
        int ticks = 0;
        PlotBounds::snapAxis(min, max, ticks);
        double reversedMin = hi, reversedMax = lo;
        int reversedTicks = 0;
        PlotBounds::snapAxis(reversedMin, reversedMax, reversedTicks);
        EXPECT_EQ(reversedMin, max) << lo << " to " << hi;
        EXPECT_EQ(reversedMax, min) << lo << " to " << hi;
        EXPECT_EQ(reversedTicks, ticks) << lo << " to " << hi;
    }
}

TEST(SnapAxis, LeavesEmptyAndNonFiniteRangesUnchanged)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, double> ranges[]
        = { { 3, 3 }, { nan, 1 }, { 0, nan }, { 0, inf }, { -inf, 0 }, { -1.7e308, 1.7e308 } };
    for (const auto& [lo, hi] : ranges) {
        double min = lo, max = hi;
        int ticks = 7;
        PlotBounds::snapAxis(min, max, ticks);
        EXPECT_EQ(ticks, 7) << lo << " to " << hi;
        EXPECT_TRUE(min == lo || (min != min && lo != lo));
        EXPECT_TRUE(max == hi || (max != max && hi != hi));
    }
}

TEST(SnapToTicks, SnapsBothAxesAndKeepsTheDefaultWindow)
{
    PlotBounds bounds;
    bounds.snapToTicks();
    EXPECT_EQ(bounds, PlotBounds {});

    bounds = { 0.3, 9.6, 1, -37.2, -1.5, 1 };
    bounds.snapToTicks();
    EXPECT_EQ(bounds, (PlotBounds { 0, 10, 5, -40, 0, 8 }));
}

TEST(Shift, MovesByWholeTickIntervals)
{
    PlotBounds bounds;
    bounds.shift(0, 0);
    EXPECT_EQ(bounds, PlotBounds {});

    bounds.shift(1, 0);
    EXPECT_EQ(bounds, (PlotBounds { 2, 12, 5, 0, 10, 5 }));

    bounds = PlotBounds {};
    bounds.shift(0, -1);
    EXPECT_EQ(bounds, (PlotBounds { 0, 10, 5, -2, 8, 5 }));

    PlotBounds quarters { 0, 100, 4, 0, 1, 1 };
    quarters.shift(-3, 2);
    EXPECT_EQ(quarters, (PlotBounds { -75, 25, 4, 2, 3, 1 }));
}

TEST(Shift, AnAxisWithoutIntervalsStaysWhereItIs)
{
    PlotBounds bounds { 0, 10, 0, 0, 10, 5 };
    bounds.shift(3, 1);
    EXPECT_EQ(bounds, (PlotBounds { 0, 10, 0, 2, 12, 5 }));

    bounds = { 0, 10, 5, 0, 10, 0 };
    bounds.shift(1, -4);
    EXPECT_EQ(bounds, (PlotBounds { 2, 12, 5, 0, 10, 0 }));
}

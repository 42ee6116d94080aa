// The logarithmic y axis: its rounding, moving, mapping and ticks, and the switch between the
// two scales that the L key makes.

#include "plotlayout.h"
#include "plotrenderer.h"
#include "plotstate.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(LogAxis, SnapsOutwardToWholeDecades)
{
    struct Case {
        double min, max;
        double snappedMin, snappedMax;
        int ticks;
    };
    for (Case c : std::vector<Case> { { 1.5, 45, 1, 100, 2 }, { 0.3, 0.7, 0.1, 1, 1 },
             { 100, 100, 100, 1000, 1 }, { 2e-3, 5e4, 1e-3, 1e5, 8 } }) {
        int ticks = 0;
        PlotBounds::snapLogAxis(c.min, c.max, ticks);
        EXPECT_DOUBLE_EQ(c.min, c.snappedMin);
        EXPECT_DOUBLE_EQ(c.max, c.snappedMax);
        EXPECT_EQ(ticks, c.ticks);
    }
}

TEST(LogAxis, MapsByTheLogarithmAndShiftsByDecades)
{
    const PlotLayout layout(QSize(1000, 600));
    PlotBounds bounds { .xMin = 0, .xMax = 10, .xTicks = 5, .yMin = 1, .yMax = 1000, .yTicks = 3,
        .yLog = true };
    // 10 lies a third of the way up from the bottom (559) to the top (40), and back.
    const QPointF p = layout.toPixel(bounds, 0, 10);
    EXPECT_DOUBLE_EQ(p.y(), 559 - 519.0 / 3);
    EXPECT_NEAR(layout.toData(bounds, p)->y(), 10.0, 1e-9);
    EXPECT_FALSE(std::isfinite(layout.toPixel(bounds, 0, 0).y())); // no place for 0
    bounds.shift(0, 1);
    EXPECT_DOUBLE_EQ(bounds.yMin, 10.0);
    EXPECT_DOUBLE_EQ(bounds.yMax, 10000.0);
}

TEST(LogAxis, TicksAtPowersOfTenWithTheStepsBetween)
{
    struct Case {
        double min, max;
        std::vector<QString> labels;
        std::size_t ticks;
    };
    const std::vector<Case> cases {
        { 1, 1000, { "1", "10", "100", "1000" }, 28 }, // 1 .. 9 in each of three decades, 1000
        { 1, 10, { "1", "2", "5", "10" }, 10 },
        { 3, 8, { "3", "4", "5", "6", "7", "8" }, 6 }, // under two labels: every tick labelled
        { 1e-10, 1e10, { "1e-10", "0.01", "1e+06" }, 21 }, // a label every second decade
    };
    for (const Case& c : cases) {
        const std::vector<AxisTick> ticks = PlotRenderer::logAxisTicks(559, 40, c.min, c.max);
        std::vector<QString> labels;
        for (const AxisTick& tick : ticks)
            if (!tick.label.isEmpty())
                labels.push_back(tick.label);
        if (c.max > 1e9)
            labels = { labels[0], labels[4], labels[8] };
        EXPECT_EQ(labels, c.labels);
        EXPECT_EQ(ticks.size(), c.ticks);
        EXPECT_EQ(ticks.front().position, 559); // the bottom edge holds the window's minimum
    }
}

TEST(LogAxis, TheSwitchSpansThePositiveDataShownAndZoomingOutReturns)
{
    PlotState state;
    state.curves[0] = { 0, -5, 1, 0.02, 2, 3, 3, 400, 50, 1e6 }; // x = 50 lies outside
    state.history.reset({ .xMin = 0, .xMax = 4, .xTicks = 4, .yMin = -10, .yMax = 500,
        .yTicks = 5 });
    ASSERT_TRUE(state.toggleYScale());
    const PlotBounds log = state.history.shown();
    EXPECT_TRUE(log.yLog);
    EXPECT_DOUBLE_EQ(log.yMin, 0.01);
    EXPECT_DOUBLE_EQ(log.yMax, 1000);
    EXPECT_EQ(log.xMax, 4);
    ASSERT_TRUE(state.toggleYScale());
    EXPECT_FALSE(state.history.shown().yLog);
    EXPECT_EQ(state.history.shown().yMin, -100); // -5 .. 400 rounded
    ASSERT_TRUE(state.history.zoomOut());
    EXPECT_EQ(state.history.shown(), log);
    ASSERT_TRUE(state.history.zoomOut()); // the first, linear window
    state.curves[0] = { 0, -1 };
    EXPECT_FALSE(state.toggleYScale()); // nothing to place on a logarithmic axis
    EXPECT_EQ(state.history.level(), 0);
}

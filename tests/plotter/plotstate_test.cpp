// The plot's state without any widget: the zoom history's rules and the rubber-band zoom (the
// Plotter's tests drive the same rules through the mouse, the keys and the buttons).

#include "plotstate.h"

#include <gtest/gtest.h>

namespace {

const PlotBounds first {};
const PlotBounds a { 0, 5, 5, 5, 10, 5 };
const PlotBounds b { 1, 2, 5, 6, 7, 5 };
const PlotBounds c { 2, 3, 4, 7, 8, 4 };

} // namespace

TEST(ZoomHistory, ANewEntryAfterZoomingOutReplacesTheWayBackIn)
{
    ZoomHistory history;
    history.push(a);
    history.push(b);
    history.zoomOut();
    history.push(c);
    EXPECT_EQ(history.entries(), (std::vector<PlotBounds> { first, a, c }));
    EXPECT_EQ(history.level(), 2);
    history.reset(b);
    EXPECT_EQ(history.entries(), std::vector<PlotBounds> { b });
    EXPECT_EQ(history.level(), 0);
}

TEST(ZoomHistory, AShiftMovesTheShownEntryInPlace)
{
    ZoomHistory history;
    history.push(a);
    history.shift(2, -1);
    EXPECT_EQ(history.shown(), (PlotBounds { 2, 7, 5, 4, 9, 5 }));
    history.zoomOut();
    EXPECT_EQ(history.shown(), first);
    history.zoomIn();
    EXPECT_EQ(history.shown(), (PlotBounds { 2, 7, 5, 4, 9, 5 }));
    EXPECT_EQ(history.size(), 2);
}

TEST(BandZoom, EitherDragDirectionSelectsTheSameSnappedWindow)
{
    const QSize surface(1000, 600);
    // Pixels 290 .. 519 and 170 .. 299 of the frame: x 2.5 .. 5, y 5 .. 7.5 of 0 .. 10.
    for (const auto& [from, to] : { std::pair { QPoint(290, 170), QPoint(519, 299) },
             std::pair { QPoint(519, 299), QPoint(290, 170) },
             std::pair { QPoint(290, 299), QPoint(519, 170) } }) {
        PlotState state;
        ASSERT_TRUE(state.zoomToBand(surface, from, to));
        EXPECT_EQ(state.history.shown(), (PlotBounds { 2.5, 5, 5, 5, 7.5, 5 }));
        EXPECT_EQ(state.history.level(), 1);
    }
}

TEST(BandZoom, AReversedAxisIsRoundedToTickStepsAndStaysReversed)
{
    // Time running from 20 on the left down to 0: the left half selects 20 .. 10.01.
    PlotState state;
    state.history.reset(PlotBounds { 20, 0, 5, 0, 10, 5 });
    ASSERT_TRUE(state.zoomToBand(QSize(1000, 600), QPoint(60, 40), QPoint(519, 299)));
    EXPECT_EQ(state.history.shown(), (PlotBounds { 20, 10, 5, 5, 10, 5 }));
}

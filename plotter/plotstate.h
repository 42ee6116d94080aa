#pragma once
// PlotState: everything a plot picture is drawn from, as a plain value with no widget in it.
//
// The viewer's style, the five label texts, the curves and the zoom history. The Plotter widget
// owns one and feeds it from the mouse, the keys and its buttons; the export tool and the tests
// build one directly and hand it to PlotRenderer::paint, so every picture of a plot is drawn
// from the same state by the same code.
//
//   PlotState state;
//   state.style = viewerStyle;
//   state.labels[0] = "0.5";             // label1, shown in the title
//   state.history.reset(firstWindow);
//   state.curves[0] = { x0, y0, x1, y1 };
//   state.zoomToBand(QSize(1000, 600), QPoint(60, 40), QPoint(519, 299));
//
// Curves are vectors of interleaved x, y values in data units, kept under small integer ids
// that also choose the pen.

#include "plotbounds.h"
#include "viewerstyle.h"
#include "zoomhistory.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <map>
#include <vector>

using CurveStore = std::map<int, std::vector<double>>;
using PlotLabels = std::array<QString, 5>; // label1 .. label5

struct PlotState {
    // A band narrower or lower than this, in pixels, selects nothing.
    static constexpr int minimumBand = 4;

    ViewerStyle style;
    PlotLabels labels;
    CurveStore curves;
    ZoomHistory history;

    // The band between two corner pixels, both included, whichever way it was dragged.
    static QRect bandBetween(QPoint from, QPoint to);

    // Zooms into the window that the band from one corner pixel to the other selects on a
    // surface of the given size: mapped through the plot rectangle as drawn (narrower where a
    // legend stands beside or under it, PlotRenderer::layoutOf), rounded outward to round tick
    // steps and pushed onto the history. False, and nothing changes, when the band is
    // under 4 pixels wide or high or the surface has no room for a plot.
    bool zoomToBand(QSize surface, QPoint from, QPoint to);

    // Switches the y axis of the shown window between linear and logarithmic and pushes the
    // result onto the history (zooming out returns to the window before): x stays as shown, y
    // spans the curves' values within the shown x range (all of them when none lies in it), and
    // their error bars, shaded areas and horizontal lines, positive ones only on a logarithmic
    // axis, rounded outward to round steps or whole decades. False, and nothing changes, when
    // there is no such value.
    bool toggleYScale();
};

#pragma once
// PlotLayout: where the parts of a plot sit on a W x H pixel surface.
//
// Every picture of every viewer uses one fixed pixel layout measured from the top-left corner:
// the plot rectangle inset 60 pixels on the left, 40 at the top, 20 on the right and 40 at the
// bottom, the title above it, the x caption below it and the y caption, turned, left of it.
// The layout also owns the mapping between data units and pixels, so that drawing a curve and
// selecting a window with the rubber band use the very same plot rectangle. A legend that stands
// beside or under the plot reserves room on the right or at the bottom: the plot rectangle (and
// the x caption under it) is that much narrower or higher up.

#include "plotbounds.h"

#include <QPointF>
#include <QRect>
#include <QSize>

#include <optional>

class PlotLayout {
public:
    static constexpr int plotLeft = 60; // x of the plot rectangle's left edge
    static constexpr int plotTop = 40; // y of its top edge
    static constexpr int rightGap = 20; // pixels right of the plot rectangle
    static constexpr int bottomGap = 40; // pixels below the plot rectangle
    static constexpr int tickLength = 5; // tick marks reach this far out of the frame
    static constexpr int legendWidth = 110;
    static constexpr int legendHeight = 80;

    explicit PlotLayout(QSize size, int rightReserve = 0, int bottomReserve = 0)
        : size_(size)
        , rightReserve_(rightReserve)
        , bottomReserve_(bottomReserve)
    {
    }

    QSize size() const { return size_; }
    int rightReserve() const { return rightReserve_; }
    int bottomReserve() const { return bottomReserve_; }

    // (60, 40, W - 80, H - 80): left 60, top 40, right W - 21, bottom H - 41, less the reserves
    // on the right and at the bottom. Grid, ticks and frame outline lie on it.
    QRect plotRect() const;
    // The plot rectangle less its one-pixel border: curves never cover the frame.
    QRect seriesClipRect() const;
    QRect titleRect() const; // (40, 10, W - 80, 20)
    QRect xCaptionRect() const; // (40, H - 25 - bottom reserve, W - 80 - right reserve, 20)
    // (-360, -3, H - 80, 20) in coordinates turned by -90 degrees: the caption reads upwards
    // from 360 pixels below the top edge with the foot of its letters towards the plot.
    QRect yCaptionRect() const;

    // Whether the plot rectangle has room for at least one pixel step on both axes; a smaller
    // surface shows the frame but maps nothing.
    bool hasPlotArea() const;

    // Data to pixel, in double precision:
    //   px = (x - xMin) (W - 81) / (xMax - xMin) + 60
    //   py = (H - 41) - (H - 81) (y - yMin) / (yMax - yMin)
    // so xMin lands on the left edge (60) and xMax on the right edge (W - 21), yMin on the
    // bottom edge (H - 41) and yMax on the top edge (40). On a logarithmic y axis y, yMin and
    // yMax stand for their decimal logarithms; a y <= 0 has no pixel (infinite or not a number).
    QPointF toPixel(const PlotBounds& bounds, double x, double y) const;

    // Pixel to data, the inverse of toPixel:
    //   x = xMin + (px - 60) (xMax - xMin) / (W - 81)
    //   y = yMin + (H - 41 - py) (yMax - yMin) / (H - 81)
    // (in logarithms on a logarithmic y axis). Empty when the surface has no plot area.
    std::optional<QPointF> toData(const PlotBounds& bounds, QPointF pixel) const;

    // The exact inverse of toPixel for a rubber band given in widget pixels (inclusive
    // corners): its left and right pixels become xMin and xMax, its bottom and top pixels yMin
    // and yMax. The tick counts are left at their defaults and the y axis keeps its scale; the
    // caller snaps the result.
    // Empty when the surface has no plot area.
    std::optional<PlotBounds> windowOfBand(const PlotBounds& shown, const QRect& band) const;

private:
    QSize size_;
    int rightReserve_;
    int bottomReserve_;
};

#include "plotlayout.h"

#include <cmath>

namespace {

// The y caption's rectangle in the turned coordinates: its left end 360 pixels below the top
// edge of the surface, its bottom 16 pixels right of the left edge.
constexpr int yCaptionStart = -360;
constexpr int yCaptionFoot = -3;
constexpr int textHeight = 20;
constexpr int textInset = 40; // title and x caption span W - 80 pixels from x = 40

// Where a y value stands on its axis: the value itself, or its decimal logarithm on a
// logarithmic axis (minus infinity for 0, not a number below it).
double yPosition(const PlotBounds& bounds, double y)
{
    return bounds.yLog ? std::log10(y) : y;
}

double yValue(const PlotBounds& bounds, double position)
{
    return bounds.yLog ? std::pow(10.0, position) : position;
}

} // namespace

QRect PlotLayout::plotRect() const
{
    return { plotLeft, plotTop, size_.width() - plotLeft - rightGap - rightReserve_,
        size_.height() - plotTop - bottomGap - bottomReserve_ };
}

QRect PlotLayout::seriesClipRect() const
{
    return plotRect().adjusted(1, 1, -1, -1);
}

QRect PlotLayout::titleRect() const
{
    return { textInset, 10, size_.width() - 2 * textInset, textHeight };
}

QRect PlotLayout::xCaptionRect() const
{
    return { textInset, size_.height() - 25 - bottomReserve_,
        size_.width() - 2 * textInset - rightReserve_, textHeight };
}

QRect PlotLayout::yCaptionRect() const
{
    return { yCaptionStart, yCaptionFoot, size_.height() - 2 * textInset, textHeight };
}

bool PlotLayout::hasPlotArea() const
{
    // The mapping divides by W - 81 and H - 81, the pixel distances between the frame's edges.
    const QRect plot = plotRect();
    return plot.width() > 1 && plot.height() > 1;
}

QPointF PlotLayout::toPixel(const PlotBounds& bounds, double x, double y) const
{
    const QRect plot = plotRect();
    const double xPixels = plot.right() - plot.left(); // W - 81
    const double yPixels = plot.bottom() - plot.top(); // H - 81
    const double px = (x - bounds.xMin) * xPixels / (bounds.xMax - bounds.xMin) + plot.left();
    const double yMin = yPosition(bounds, bounds.yMin);
    const double yMax = yPosition(bounds, bounds.yMax);
    const double py = plot.bottom() - yPixels * (yPosition(bounds, y) - yMin) / (yMax - yMin);
    return { px, py };
}

std::optional<PlotBounds> PlotLayout::windowOfBand(const PlotBounds& shown, const QRect& band) const
{
    if (!hasPlotArea())
        return std::nullopt;
    const QRect plot = plotRect();
    // Data units per pixel, so that pixel plot.left() is xMin and plot.right() is xMax, pixel
    // plot.top() is yMax and plot.bottom() is yMin, as in toPixel.
    const double dx = (shown.xMax - shown.xMin) / (plot.right() - plot.left());
    const double yMin = yPosition(shown, shown.yMin);
    const double yMax = yPosition(shown, shown.yMax);
    const double dy = (yMax - yMin) / (plot.bottom() - plot.top());
    PlotBounds next;
    next.xMin = shown.xMin + dx * (band.left() - plot.left());
    next.xMax = shown.xMin + dx * (band.right() - plot.left());
    next.yLog = shown.yLog;
    next.yMin = yValue(shown, yMax - dy * (band.bottom() - plot.top()));
    next.yMax = yValue(shown, yMax - dy * (band.top() - plot.top()));
    return next;
}

std::optional<QPointF> PlotLayout::toData(const PlotBounds& bounds, QPointF pixel) const
{
    if (!hasPlotArea())
        return std::nullopt;
    const QRect plot = plotRect();
    const double xPixels = plot.right() - plot.left(); // W - 81
    const double yPixels = plot.bottom() - plot.top(); // H - 81
    const double yMin = yPosition(bounds, bounds.yMin);
    const double yMax = yPosition(bounds, bounds.yMax);
    return QPointF(bounds.xMin + (pixel.x() - plot.left()) * (bounds.xMax - bounds.xMin) / xPixels,
        yValue(bounds, yMin + (plot.bottom() - pixel.y()) * (yMax - yMin) / yPixels));
}

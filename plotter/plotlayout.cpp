#include "plotlayout.h"

namespace {

// The y caption's rectangle in the turned coordinates: its left end 360 pixels below the top
// edge of the surface, its bottom 16 pixels right of the left edge.
constexpr int yCaptionStart = -360;
constexpr int yCaptionFoot = -3;
constexpr int textHeight = 20;
constexpr int textInset = 40; // title and x caption span W - 80 pixels from x = 40

} // namespace

QRect PlotLayout::plotRect() const
{
    return { plotLeft, plotTop, size_.width() - plotLeft - rightGap,
        size_.height() - plotTop - bottomGap };
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
    return { textInset, size_.height() - 25, size_.width() - 2 * textInset, textHeight };
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
    const double py = plot.bottom() - yPixels * (y - bounds.yMin) / (bounds.yMax - bounds.yMin);
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
    const double dy = (shown.yMax - shown.yMin) / (plot.bottom() - plot.top());
    PlotBounds next;
    next.xMin = shown.xMin + dx * (band.left() - plot.left());
    next.xMax = shown.xMin + dx * (band.right() - plot.left());
    next.yMin = shown.yMax - dy * (band.bottom() - plot.top());
    next.yMax = shown.yMax - dy * (band.top() - plot.top());
    return next;
}

std::optional<QPointF> PlotLayout::toData(const PlotBounds& bounds, QPointF pixel) const
{
    if (!hasPlotArea())
        return std::nullopt;
    const QRect plot = plotRect();
    const double xPixels = plot.right() - plot.left(); // W - 81
    const double yPixels = plot.bottom() - plot.top(); // H - 81
    return QPointF(bounds.xMin + (pixel.x() - plot.left()) * (bounds.xMax - bounds.xMin) / xPixels,
        bounds.yMin + (plot.bottom() - pixel.y()) * (bounds.yMax - bounds.yMin) / yPixels);
}

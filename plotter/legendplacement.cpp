#include "legendplacement.h"

#include <QLineF>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double pixelLimit = 32768.0; // points mapped this far away are not drawn

std::optional<QPointF> pixelOf(
    const PlotLayout& layout, const PlotBounds& bounds, double x, double y)
{
    const QPointF p = layout.toPixel(bounds, x, y);
    if (!(std::fabs(p.x()) < pixelLimit && std::fabs(p.y()) < pixelLimit))
        return std::nullopt;
    return p;
}

// The length of the segment from a to b inside area (Liang-Barsky clipping).
double lengthInside(const QRectF& area, const QPointF& a, const QPointF& b)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double enter = 0.0;
    double leave = 1.0;
    const double p[4] = { -dx, dx, -dy, dy };
    const double q[4] = { a.x() - area.left(), area.right() - a.x(), a.y() - area.top(),
        area.bottom() - a.y() };
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return 0.0; // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    return leave > enter ? (leave - enter) * std::hypot(dx, dy) : 0.0;
}

double valueAt(const std::vector<double>& values, std::size_t k)
{
    return k < values.size() && std::isfinite(values[k]) ? std::fabs(values[k]) : 0.0;
}

} // namespace

double hiddenData(const QRect& area, const PlotLayout& layout, const PlotBounds& bounds,
    const std::map<int, std::vector<double>>& curves, const std::map<int, CurveStyle>& styles)
{
    const QRectF box(area);
    const QRect plot = layout.plotRect();
    double hidden = 0.0;
    for (const auto& [id, points] : curves) {
        const auto styled = styles.find(id);
        const CurveStyle* style = styled != styles.end() ? &styled->second : nullptr;
        const bool joined = !style || style->lineStyle != Qt::NoPen;
        std::optional<QPointF> previous;
        for (std::size_t k = 0; k + 1 < points.size(); k += 2) {
            const double x = points[k];
            const double y = points[k + 1];
            std::optional<QPointF> at = pixelOf(layout, bounds, x, y);
            if (!at)
                continue;
            const double shift
                = style && k / 2 < style->xPixelOffsets.size() ? style->xPixelOffsets[k / 2] : 0.0;
            at->rx() += shift;
            if (joined && previous)
                hidden += lengthInside(box, *previous, *at);
            previous = at;
            if (!style)
                continue;
            if (style->marker != MarkerShape::None) {
                const double r = style->markerSize / 2.0;
                if (box.adjusted(-r, -r, r, r).contains(*at))
                    hidden += style->markerSize;
            }
            if (const double e = valueAt(style->xErrors, k / 2); e > 0.0) {
                const auto left = pixelOf(layout, bounds, x - e, y);
                const auto right = pixelOf(layout, bounds, x + e, y);
                if (left && right)
                    hidden += lengthInside(box, *left + QPointF(shift, 0), *right + QPointF(shift, 0));
            }
            if (const double e = valueAt(style->yErrors, k / 2); e > 0.0) {
                const auto low = pixelOf(layout, bounds, x, y - e);
                const auto high = pixelOf(layout, bounds, x, y + e);
                if (low && high)
                    hidden += lengthInside(box, *low + QPointF(shift, 0), *high + QPointF(shift, 0));
            }
        }
        if (!style)
            continue;
        // A shaded area's edges: its upper one is the curve's line (counted above when drawn),
        // its lower one the style's values at the same x.
        std::optional<QPointF> upper;
        std::optional<QPointF> lower;
        for (std::size_t k = 0; k + 1 < points.size() && k / 2 < style->areaLower.size(); k += 2) {
            const auto top = pixelOf(layout, bounds, points[k], points[k + 1]);
            const auto bottom = pixelOf(layout, bounds, points[k], style->areaLower[k / 2]);
            if (!top || !bottom)
                continue;
            if (upper && !joined)
                hidden += lengthInside(box, *upper, *top);
            if (lower)
                hidden += lengthInside(box, *lower, *bottom);
            upper = top;
            lower = bottom;
        }
        for (const double x : style->verticalLines)
            if (const auto at = pixelOf(layout, bounds, x, bounds.yMax))
                hidden += lengthInside(
                    box, QPointF(at->x(), plot.top()), QPointF(at->x(), plot.bottom()));
        for (const double y : style->horizontalLines)
            if (const auto at = pixelOf(layout, bounds, bounds.xMin, y))
                hidden += lengthInside(
                    box, QPointF(plot.left(), at->y()), QPointF(plot.right(), at->y()));
    }
    return hidden;
}

QRect placeLegend(const QRect& preferred, const PlotLayout& layout, const PlotBounds& bounds,
    const std::map<int, std::vector<double>>& curves, const std::map<int, CurveStyle>& styles)
{
    const QRect plot = layout.plotRect();
    // The preferred box's distances from the frame, kept at every candidate place.
    const int side = std::max(0, plot.right() - preferred.right());
    const int gap = std::max(0, preferred.top() - plot.top());
    const int left = plot.left() + side;
    const int right = plot.right() - side - preferred.width() + 1;
    const int centre = (plot.left() + plot.right() + 1 - preferred.width()) / 2;
    const int top = plot.top() + gap;
    const int bottom = plot.bottom() - gap - preferred.height() + 1;
    const std::vector<QPoint> corners { preferred.topLeft(), { left, top }, { right, bottom },
        { left, bottom }, { centre, top }, { centre, bottom } };

    QRect best = preferred;
    double least = hiddenData(preferred, layout, bounds, curves, styles);
    for (const QPoint& corner : corners) {
        const QRect candidate(corner, preferred.size());
        const double hidden = hiddenData(candidate, layout, bounds, curves, styles);
        if (hidden < least) {
            least = hidden;
            best = candidate;
        }
    }
    return best;
}

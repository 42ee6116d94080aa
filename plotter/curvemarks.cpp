#include "curvemarks.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

// Points that map this far from the origin have no pixel the painter can take (the same limit
// as for plain curves).
constexpr double pixelLimit = 32768.0;
constexpr double markerOutlineWidth = 1.5;
constexpr int legendBandHalfHeight = 4;

// A pixel coordinate truncated to a whole pixel, pulled in to just beyond the surface when it
// lies further out (a bar or band that reaches far outside a zoomed window still reaches the
// frame); nothing when it is not a number.
std::optional<int> wholePixel(double coordinate, int extent)
{
    if (std::isnan(coordinate))
        return std::nullopt;
    return static_cast<int>(std::trunc(std::clamp(coordinate, -2.0, extent + 2.0)));
}

double valueAt(const std::vector<double>& values, std::size_t k)
{
    return k < values.size() ? values[k] : 0.0;
}

bool hasLength(double halfLength)
{
    return std::isfinite(halfLength) && halfLength > 0.0;
}

} // namespace

CurveMarks::CurveMarks(const PlotLayout& layout, const PlotBounds& bounds, double devicePixelRatio)
    : m_layout(layout)
    , m_bounds(bounds)
    , m_ratio(devicePixelRatio > 0.0 ? devicePixelRatio : 1.0)
{
}

std::optional<QPointF> CurveMarks::vertexOf(double x, double y) const
{
    const QPointF p = m_layout.toPixel(m_bounds, x, y);
    if (!(std::fabs(p.x()) < pixelLimit && std::fabs(p.y()) < pixelLimit))
        return std::nullopt;
    // Truncated toward zero to a whole device pixel, at its centre, as plain curve vertices.
    return QPointF(std::trunc(p.x() * m_ratio) / m_ratio + 0.5 / m_ratio,
        std::trunc(p.y() * m_ratio) / m_ratio + 0.5 / m_ratio);
}

std::optional<QPointF> CurveMarks::pointVertex(
    const std::vector<double>& points, std::size_t k, const CurveStyle& style) const
{
    std::optional<QPointF> v = vertexOf(points[2 * k], points[2 * k + 1]);
    if (v && k < style.xPixelOffsets.size())
        v->rx() += style.xPixelOffsets[k];
    return v;
}

QPolygonF CurveMarks::markerOutline(MarkerShape shape, const QPointF& centre, int size)
{
    const double r = size / 2.0;
    switch (shape) {
    case MarkerShape::None:
        return {};
    case MarkerShape::Circle: // the square the circle is inscribed in
    case MarkerShape::Square:
        return QPolygonF(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
    case MarkerShape::Triangle:
    case MarkerShape::TriangleDown: {
        // Equilateral, as high as the marker's size, its centroid on centre (two thirds of the
        // height from the apex): it looks as large as a circle of that size.
        const double height = size;
        const double halfBase = height / std::numbers::sqrt3;
        const double up = shape == MarkerShape::Triangle ? 1.0 : -1.0;
        return QPolygonF({ QPointF(centre.x(), centre.y() - up * 2.0 * height / 3.0),
            QPointF(centre.x() + halfBase, centre.y() + up * height / 3.0),
            QPointF(centre.x() - halfBase, centre.y() + up * height / 3.0) });
    }
    case MarkerShape::Diamond: {
        // A square on its corner covers half its bounding square: a little larger, it looks as
        // large as the other shapes.
        const double half = r + 1.0;
        return QPolygonF({ QPointF(centre.x(), centre.y() - half),
            QPointF(centre.x() + half, centre.y()), QPointF(centre.x(), centre.y() + half),
            QPointF(centre.x() - half, centre.y()) });
    }
    }
    return {};
}

void CurveMarks::drawBands(QPainter& painter, const CurveStyle& style) const
{
    const QRect plot = m_layout.plotRect();
    const int height = m_layout.size().height();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const HorizontalBand& band : style.bands) {
        const QPointF upper = m_layout.toPixel(m_bounds, m_bounds.xMin, band.upper);
        const QPointF lower = m_layout.toPixel(m_bounds, m_bounds.xMin, band.lower);
        std::optional<int> top = wholePixel(upper.y(), height);
        std::optional<int> bottom = wholePixel(lower.y(), height);
        if (!top || !bottom)
            continue;
        if (*top > *bottom)
            std::swap(top, bottom);
        const QRect area(plot.left(), *top, plot.width(), *bottom - *top + 1);
        painter.fillRect(area, style.bandFill);
        painter.fillRect(QRect(area.left(), area.top(), area.width(), 1), style.colour);
        painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), style.colour);
    }
    painter.restore();
}

void CurveMarks::drawArea(
    QPainter& painter, const std::vector<double>& points, const CurveStyle& style) const
{
    if (style.areaLower.empty())
        return;
    // Upper edge forwards, lower edge backwards: one closed outline, filled without a pen.
    QPolygonF upper;
    QPolygonF lower;
    const std::size_t pairs = std::min(points.size() / 2, style.areaLower.size());
    for (std::size_t k = 0; k < pairs; ++k) {
        const QPointF top = m_layout.toPixel(m_bounds, points[2 * k], points[2 * k + 1]);
        const QPointF bottom = m_layout.toPixel(m_bounds, points[2 * k], style.areaLower[k]);
        const auto mapped = [](const QPointF& p) {
            return std::fabs(p.x()) < pixelLimit && std::fabs(p.y()) < pixelLimit;
        };
        if (!mapped(top) || !mapped(bottom))
            continue;
        upper << top;
        lower.prepend(bottom);
    }
    if (upper.size() < 2)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(style.areaFill);
    painter.drawPolygon(upper + lower);
    painter.restore();
}

void CurveMarks::drawCurve(
    QPainter& painter, const std::vector<double>& points, const CurveStyle& style) const
{
    const std::size_t pairs = points.size() / 2;
    std::vector<QPointF> vertices;
    vertices.reserve(pairs);
    for (std::size_t k = 0; k < pairs; ++k)
        if (const std::optional<QPointF> v = pointVertex(points, k, style))
            vertices.push_back(*v);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (style.lineStyle != Qt::NoPen && vertices.size() > 1) {
        painter.setPen(QPen(style.colour, style.lineWidth, style.lineStyle));
        painter.drawPolyline(vertices.data(), static_cast<int>(vertices.size()));
    }
    drawErrorBars(painter, points, style);
    if (style.marker != MarkerShape::None)
        for (const QPointF& centre : vertices)
            drawMarker(painter, centre, style);
    drawVerticalLines(painter, style);
    drawHorizontalLines(painter, style);
    painter.restore();
}

void CurveMarks::drawErrorBars(
    QPainter& painter, const std::vector<double>& points, const CurveStyle& style) const
{
    // Bars lie on whole pixels: one pixel thick through the point's pixel, from the pixel of
    // x - e to the pixel of x + e, with a cap errorBarCap pixels either side of each end.
    const QSize size = m_layout.size();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (std::size_t k = 0; k < points.size() / 2; ++k) {
        const double x = points[2 * k];
        const double y = points[2 * k + 1];
        const std::optional<QPointF> centre = pointVertex(points, k, style);
        if (!centre)
            continue;
        const int column = static_cast<int>(std::floor(centre->x()));
        const int row = static_cast<int>(std::floor(centre->y()));
        const double shift = k < style.xPixelOffsets.size() ? style.xPixelOffsets[k] : 0.0;
        if (const double e = valueAt(style.xErrors, k); hasLength(e)) {
            const std::optional<int> left
                = wholePixel(m_layout.toPixel(m_bounds, x - e, y).x() + shift, size.width());
            const std::optional<int> right
                = wholePixel(m_layout.toPixel(m_bounds, x + e, y).x() + shift, size.width());
            if (left && right) {
                const auto [a, b] = std::minmax(*left, *right);
                painter.fillRect(QRect(a, row, b - a + 1, 1), style.colour);
                for (const int end : { a, b })
                    painter.fillRect(
                        QRect(end, row - errorBarCap, 1, 2 * errorBarCap + 1), style.colour);
            }
        }
        if (const double e = valueAt(style.yErrors, k); hasLength(e)) {
            const std::optional<int> low
                = wholePixel(m_layout.toPixel(m_bounds, x, y - e).y(), size.height());
            const std::optional<int> high
                = wholePixel(m_layout.toPixel(m_bounds, x, y + e).y(), size.height());
            if (low && high) {
                const auto [a, b] = std::minmax(*low, *high);
                painter.fillRect(QRect(column, a, 1, b - a + 1), style.colour);
                for (const int end : { a, b })
                    painter.fillRect(
                        QRect(column - errorBarCap, end, 2 * errorBarCap + 1, 1), style.colour);
            }
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
}

void CurveMarks::drawMarker(QPainter& painter, const QPointF& centre, const CurveStyle& style)
{
    painter.setPen(QPen(style.colour, markerOutlineWidth, Qt::SolidLine));
    painter.setBrush(style.markerFill);
    const QPolygonF outline = markerOutline(style.marker, centre, style.markerSize);
    if (style.marker == MarkerShape::Circle)
        painter.drawEllipse(outline.boundingRect());
    else
        painter.drawPolygon(outline);
    painter.setBrush(Qt::NoBrush);
}

void CurveMarks::drawVerticalLines(QPainter& painter, const CurveStyle& style) const
{
    const QRect plot = m_layout.plotRect();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // A two-pixel pen centred on the boundary between the line's column and the next covers
    // exactly those two columns.
    painter.setPen(QPen(style.colour, verticalLineWidth, style.verticalLineStyle, Qt::FlatCap));
    for (const double x : style.verticalLines) {
        const std::optional<QPointF> v = vertexOf(x, m_bounds.yMin);
        if (!v)
            continue;
        const double edge = std::floor(v->x()) + 1.0;
        painter.drawLine(QPointF(edge, plot.top()), QPointF(edge, plot.bottom() + 1));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
}

void CurveMarks::drawHorizontalLines(QPainter& painter, const CurveStyle& style) const
{
    const QRect plot = m_layout.plotRect();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // As a vertical line: two pixels, the line's row and the next.
    painter.setPen(QPen(style.colour, verticalLineWidth, style.horizontalLineStyle, Qt::FlatCap));
    for (const double y : style.horizontalLines) {
        const std::optional<QPointF> v = vertexOf(m_bounds.xMin, y);
        if (!v)
            continue;
        const double edge = std::floor(v->y()) + 1.0;
        painter.drawLine(QPointF(plot.left(), edge), QPointF(plot.right() + 1, edge));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
}

void CurveMarks::drawLegendSample(
    QPainter& painter, const QPointF& start, const QPointF& end, const CurveStyle& style)
{
    painter.save();
    const QRectF strip(start.x(), start.y() - legendBandHalfHeight, end.x() - start.x(),
        2 * legendBandHalfHeight);
    if (!style.bands.empty()) {
        painter.fillRect(strip, style.bandFill);
        painter.setPen(QPen(style.colour, 1));
        painter.drawLine(strip.topLeft(), strip.topRight());
        painter.drawLine(strip.bottomLeft(), strip.bottomRight());
    }
    if (!style.areaLower.empty())
        painter.fillRect(strip, style.areaFill);
    if (style.lineStyle != Qt::NoPen) {
        painter.setPen(QPen(style.colour, style.lineWidth, style.lineStyle));
        painter.drawLine(start, end);
    } else if (!style.verticalLines.empty()) {
        painter.setPen(QPen(style.colour, verticalLineWidth, style.verticalLineStyle));
        painter.drawLine(start, end);
    } else if (!style.horizontalLines.empty()) {
        painter.setPen(QPen(style.colour, verticalLineWidth, style.horizontalLineStyle));
        painter.drawLine(start, end);
    }
    if (!style.xErrors.empty()) {
        painter.setPen(QPen(style.colour, 1));
        painter.drawLine(start, end);
    }
    if (style.marker != MarkerShape::None) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        drawMarker(painter, (start + end) / 2.0, style);
    }
    painter.restore();
}

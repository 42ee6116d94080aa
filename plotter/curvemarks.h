#pragma once
// CurveMarks: draws a curve that has a CurveStyle, in the pixel mapping of one picture.
//
// The renderer uses it for every curve the viewer's style describes: first the bands and shaded
// areas of all such curves (so that a translucent fill never hides a line drawn before it), then
// each curve's line, error bars, markers and vertical and horizontal lines. Legend rows draw a small sample of the same
// style. Points are mapped exactly as plain curves are (PlotLayout::toPixel, truncated to a
// whole pixel, left out beyond 32768 pixels), so a marker sits on the vertex a line would pass.
//
//   const CurveMarks marks(layout, bounds, painter.device()->devicePixelRatioF());
//   marks.drawBands(painter, style);
//   marks.drawCurve(painter, points, style);

#include "curvestyle.h"
#include "plotbounds.h"
#include "plotlayout.h"

#include <QPointF>
#include <QPolygonF>

#include <optional>
#include <vector>

class QPainter;

class CurveMarks {
public:
    static constexpr int errorBarCap = 3; // pixels either side of a bar's end
    static constexpr int verticalLineWidth = 2; // also of horizontal lines

    CurveMarks(const PlotLayout& layout, const PlotBounds& bounds, double devicePixelRatio = 1.0);

    // The style's horizontal bands, filled across the plot, each with a one-pixel edge in the
    // curve's colour on its first and last row.
    void drawBands(QPainter& painter, const CurveStyle& style) const;
    // The shaded area between the points (x0, y0, x1, y1, ...) and the style's lower edge, with
    // no outline. Points that have no pixel are left out of both edges.
    void drawArea(
        QPainter& painter, const std::vector<double>& points, const CurveStyle& style) const;
    // The line through points (x0, y0, x1, y1, ...) unless the style has none, then the error
    // bars, the markers over them, and the vertical and horizontal lines.
    void drawCurve(
        QPainter& painter, const std::vector<double>& points, const CurveStyle& style) const;

    // The legend's sample of style on the row from start to end (pixel centres of one row): a
    // band as a filled strip, the line, and a marker in the middle.
    static void drawLegendSample(
        QPainter& painter, const QPointF& start, const QPointF& end, const CurveStyle& style);

    // The outline of a marker of the given size (pixels across) centred on centre: a circle's
    // bounding square, a square, an upward or downward triangle as high as size with its
    // centroid on centre, or a diamond (a square on its corner) as wide and high as size + 2.
    static QPolygonF markerOutline(MarkerShape shape, const QPointF& centre, int size);

    // The pixel centre where the point (x, y) is drawn, or nothing when it maps too far away (or
    // not at all, in a window of zero span).
    std::optional<QPointF> vertexOf(double x, double y) const;
    // The pixel centre where point k of a curve is drawn: vertexOf moved by its pixel offset.
    std::optional<QPointF> pointVertex(
        const std::vector<double>& points, std::size_t k, const CurveStyle& style) const;

private:
    void drawErrorBars(
        QPainter& painter, const std::vector<double>& points, const CurveStyle& style) const;
    void drawVerticalLines(QPainter& painter, const CurveStyle& style) const;
    void drawHorizontalLines(QPainter& painter, const CurveStyle& style) const;
    static void drawMarker(QPainter& painter, const QPointF& centre, const CurveStyle& style);

    PlotLayout m_layout;
    PlotBounds m_bounds;
    double m_ratio;
};

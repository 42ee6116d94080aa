// The marks a curve's style adds, checked at a few pixels each: where a marker's centre lies and
// what fills it, where error bars end, where bands begin and end, where a vertical line stands,
// and how a legend box sized to its rows grows with its texts.
//
// On a 1000 x 600 surface showing 0 .. 10 on both axes, x maps to 60 + 91.9 x and y to
// 559 - 51.9 y (then truncated to a whole pixel), so the point (5, 5) is pixel (519, 299).

#include "curvemarks.h"
#include "plotrenderer.h"

#include "teststyle.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QSize surface(1000, 600);
const QRgb paper = qRgb(255, 255, 255);
const QRgb ink = qRgb(200, 0, 0);
const QRgb fill = qRgb(0, 0, 220);

// Column and row of a data point on the surface, as the renderer truncates them.
int column(double x)
{
    return static_cast<int>(60 + 919 * x / 10);
}
int row(double y)
{
    return static_cast<int>(559 - 519 * y / 10);
}

QImage drawn(const ViewerStyle& style, const CurveStore& curves)
{
    PlotState state;
    state.style = style;
    state.labels = { "0.5" };
    state.curves = curves;
    QImage image(surface, QImage::Format_RGB32);
    QPainter painter(&image);
    PlotRenderer::paint(painter, state, surface, QColor(paper));
    return image;
}

// The legend box of style as the picture draws it, with the plot's font.
QRect legendBoxOf(const ViewerStyle& style)
{
    QImage image(surface, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setFont(PlotRenderer::plotFont());
    return PlotRenderer(style, surface, PlotBounds {}, {}, QColor(paper)).legendBoxFor(painter);
}

// One curve with the given style, no legend, no grid lines in the way of the probes.
QImage drawnCurve(const CurveStyle& curveStyle, const std::vector<double>& points)
{
    ViewerStyle style = plainStyle();
    style.curveStyles[0] = curveStyle;
    return drawn(style, { { 0, points } });
}

CurveStyle inkStyle()
{
    return CurveStyle { .colour = QColor(ink), .lineStyle = Qt::NoPen, .markerFill = QColor(fill) };
}

} // namespace

TEST(CurveMarks, EachMarkerIsFilledAtTheCurvesVertexAndEndsWithinItsSize)
{
    for (const MarkerShape shape : { MarkerShape::Circle, MarkerShape::Square,
             MarkerShape::Triangle, MarkerShape::Diamond, MarkerShape::TriangleDown }) {
        SCOPED_TRACE(static_cast<int>(shape));
        CurveStyle style = inkStyle();
        style.marker = shape;
        style.markerSize = 15;
        const QImage image = drawnCurve(style, { 5, 5 });
        const int cx = column(5);
        const int cy = row(5);
        EXPECT_EQ(image.pixel(cx, cy), fill);
        EXPECT_EQ(image.pixel(cx, cy - 3), fill);
        // The outline is in the curve's colour, and nothing reaches 12 pixels out (a circle or
        // square ends 7.5 pixels out, a diamond 8.5, a triangle's apex two thirds of its height,
        // 10 pixels, from its centroid).
        bool outlined = false;
        for (int y = cy; y <= cy + 10; ++y)
            outlined |= qRed(image.pixel(cx, y)) > 150 && qBlue(image.pixel(cx, y)) < 100;
        EXPECT_TRUE(outlined);
        for (const QPoint& outside :
            { QPoint(cx + 12, cy), QPoint(cx - 12, cy), QPoint(cx, cy - 12), QPoint(cx, cy + 12) })
            EXPECT_EQ(image.pixel(outside), paper) << outside.x() << ", " << outside.y();
    }
}

TEST(CurveMarks, ErrorBarsEndOnThePixelsOfTheValuePlusAndMinusItsError)
{
    CurveStyle style = inkStyle();
    style.xErrors = { 1.0 };
    style.yErrors = { 2.0 };
    const QImage image = drawnCurve(style, { 5, 5 });
    const int cx = column(5);
    const int cy = row(5);

    // Horizontal bar from x = 4 to x = 6 through the point's row, with caps at both ends.
    EXPECT_EQ(image.pixel(column(4), cy), ink);
    EXPECT_EQ(image.pixel(column(6), cy), ink);
    EXPECT_EQ(image.pixel(column(4) - 1, cy), paper);
    EXPECT_EQ(image.pixel(column(6) + 1, cy), paper);
    EXPECT_EQ(image.pixel(column(6), cy + CurveMarks::errorBarCap), ink);
    EXPECT_EQ(image.pixel(column(6), cy + CurveMarks::errorBarCap + 1), paper);

    // Vertical bar from y = 3 to y = 7 through the point's column.
    EXPECT_EQ(image.pixel(cx, row(7)), ink);
    EXPECT_EQ(image.pixel(cx, row(3)), ink);
    EXPECT_EQ(image.pixel(cx, row(7) - 1), paper);
    EXPECT_EQ(image.pixel(cx, row(3) + 1), paper);
}

TEST(CurveMarks, ABandFillsTheRowsBetweenItsEdgesAcrossThePlot)
{
    CurveStyle style = inkStyle();
    style.bands = { { 2.5, 3.5 } }; // clear of the grid rows
    style.bandFill = QColor(fill);
    const QImage image = drawnCurve(style, {});
    for (const int x : { 61, 500, 978 }) {
        SCOPED_TRACE(x);
        EXPECT_EQ(image.pixel(x, row(3.5)), ink); // upper edge
        EXPECT_EQ(image.pixel(x, row(2.5)), ink); // lower edge
        EXPECT_EQ(image.pixel(x, (row(2.5) + row(3.5)) / 2), fill);
        EXPECT_EQ(image.pixel(x, row(3.5) - 1), paper);
        EXPECT_EQ(image.pixel(x, row(2.5) + 1), paper);
    }
    EXPECT_EQ(image.pixel(59, (row(2.5) + row(3.5)) / 2), paper); // not beyond the frame
}

TEST(CurveMarks, AVerticalLineCoversTheColumnOfItsXOverThePlotsHeight)
{
    CurveStyle style = inkStyle();
    style.verticalLines = { 5.0 };
    style.verticalLineStyle = Qt::SolidLine;
    const QImage image = drawnCurve(style, {});
    const int x = column(5);
    for (const int y : { 41, 300, 558 }) {
        SCOPED_TRACE(y);
        EXPECT_EQ(image.pixel(x, y), ink);
        EXPECT_EQ(image.pixel(x - 1, y), paper);
        EXPECT_EQ(image.pixel(x + CurveMarks::verticalLineWidth, y), paper);
    }
}

TEST(CurveMarks, MarksOfAPointFarOutsideTheWindowAreLeftOut)
{
    CurveStyle style = inkStyle();
    style.marker = MarkerShape::Square;
    style.xErrors = { 1.0 };
    const QImage image = drawnCurve(style, { 1e9, 5 });
    for (int x = 61; x < 979; ++x)
        ASSERT_EQ(image.pixel(x, row(5)), paper) << x;
}

TEST(LegendSizedToRows, KeepsTheRightEdgeAndGrowsWithTheRowsAndTheLongestText)
{
    const auto boxWith = [](const std::vector<QString>& texts) {
        ViewerStyle style = plainStyle();
        style.legend = LegendAnchor { .fromRight = 135, .top = 45, .sizedToRows = true };
        for (const QString& text : texts)
            style.legendRows.push_back({ .label = 0, .text = text });
        return legendBoxOf(style);
    };
    const QRect fixedBox(1000 - 135, 45, 110, 80);
    const QRect small = boxWith({ "AHe" });
    const QRect wide
        = boxWith({ "AHe", "ZHe dodson", "best rate 0.731 mm/yr, range 0.702 to 0.760" });
    for (const QRect& box : { small, wide }) {
        EXPECT_EQ(box.right(), fixedBox.right());
        EXPECT_EQ(box.top(), fixedBox.top());
    }
    EXPECT_LT(small.width(), fixedBox.width());
    EXPECT_GT(wide.width(), fixedBox.width());
    EXPECT_EQ(wide.height() - small.height(), 2 * 15); // one row spacing per row
}

TEST(LegendSizedToRows, ARowShowsTheMarkerAndBandOfItsCurve)
{
    ViewerStyle style = plainStyle();
    style.legend = LegendAnchor { .fromRight = 135, .top = 45, .sizedToRows = true };
    CurveStyle marked = inkStyle();
    marked.marker = MarkerShape::Square;
    marked.markerSize = 9;
    CurveStyle banded = inkStyle();
    banded.bands = { { 1.0, 2.0 } };
    banded.bandFill = QColor(fill);
    style.curveStyles = { { 0, marked }, { 1, banded } };
    style.legendRows = { { .label = 0, .text = "marked", .curve = 0 },
        { .label = 0, .text = "band", .curve = 1 } };
    const QImage image = drawn(style, { { 0, {} }, { 1, {} } });

    // Row 0 at top + 11 has a filled marker in the middle of its sample (box left + 6 to
    // + 36), row 1 a filled band strip along it.
    const int boxLeft = legendBoxOf(style).left();
    EXPECT_EQ(image.pixel(boxLeft, 60), qRgb(0, 0, 0)); // the box's left edge
    EXPECT_EQ(image.pixel(boxLeft + 21, 45 + 11), fill);
    EXPECT_EQ(image.pixel(boxLeft + 10, 45 + 11), paper);
    EXPECT_EQ(image.pixel(boxLeft + 10, 45 + 26), fill);
}

TEST(CurveMarks, HorizontalLinesAreasAndPixelOffsetsLieWhereTheirValuesMap)
{
    CurveStyle style = inkStyle();
    style.horizontalLines = { 5.0 };
    style.horizontalLineStyle = Qt::SolidLine;
    style.areaLower = { 1.0, 1.0 };
    style.areaFill = QColor(fill);
    // The area's upper edge at y = 3 from x = 2 to 8; a square marker at (5, 3) drawn 40 pixels
    // right of its place, the other one in place.
    style.marker = MarkerShape::Square;
    style.xPixelOffsets = { 0, 40 };
    const QImage image = drawnCurve(style, { 2, 3, 8, 3 });
    EXPECT_EQ(image.pixel(300, row(5)), ink); // the line's row and the next
    EXPECT_EQ(image.pixel(300, row(5) + 1), ink);
    EXPECT_EQ(image.pixel(300, row(5) - 1), paper);
    EXPECT_EQ(image.pixel(column(5), row(2.5)), fill); // inside the area
    EXPECT_EQ(image.pixel(column(5), row(0.5)), paper); // below it
    EXPECT_EQ(image.pixel(column(1), row(2.5)), paper); // left of it
    EXPECT_EQ(image.pixel(column(8) + 40, row(3)), fill); // the moved marker's inside
    EXPECT_EQ(image.pixel(column(8) + 40, row(3) - 8), paper);
    EXPECT_EQ(image.pixel(column(2), row(3)), fill); // the one in place
}

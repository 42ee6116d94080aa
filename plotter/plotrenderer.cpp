#include "plotrenderer.h"

#include "curvemarks.h"
#include "legendplacement.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

constexpr std::array<Qt::GlobalColor, 6> seriesColours { Qt::black, Qt::blue, Qt::darkGreen,
    Qt::green, Qt::red, Qt::darkRed };
constexpr std::array<Qt::PenStyle, 5> seriesLineStyles { Qt::SolidLine, Qt::DashLine, Qt::DotLine,
    Qt::DashDotLine, Qt::DashDotDotLine };

// The plot's layout was made for a sans-serif font with Helvetica's widths: at 11 pixels a
// six-character tick label such as -50000 fits between the turned y caption and the frame, and
// a ten-letter legend text such as "Topography" fits its box. Liberation Sans has those widths;
// DejaVu Sans, wider by about a tenth, stands in where it is missing.
constexpr int plotTextPixels = 11;
const QStringList plotFontFamilies { QStringLiteral("Liberation Sans"),
    QStringLiteral("DejaVu Sans") };

constexpr int gridDarkening = 200; // QColor::darker factor: half the brightness
constexpr int textPenWidth = 3;
constexpr double zeroLabelTolerance = 1e-6; // of a tick step

// A logarithmic axis: at most this many labelled powers of ten; unlabelled ticks at 2 .. 9 times
// each power up to this many decades; labels also at 2 and 5 times each power up to this many.
constexpr double maxLogLabels = 10.0;
constexpr double maxMinorTickDecades = 6.0;
constexpr double maxOneTwoFiveDecades = 1.5;

// Tick labels: under the x ticks, centred on a 100-pixel wide, 15-pixel high box; left of the
// y ticks, right-aligned in a 35 x 20 box that ends 5 pixels short of the frame.
// A label wider than its box (a long negative number) runs out of it rather than losing its
// leading digits or its minus sign.
constexpr int xLabelHalfWidth = 50;
constexpr int xLabelWidth = 100;
constexpr int xLabelHeight = 15;
constexpr int yLabelGap = 40;
constexpr int yLabelWidth = 35;
constexpr int yLabelHalfHeight = 10;
constexpr int yLabelHeight = 20;
// Tick labels closer than this (pixels between their texts) are thinned out.
constexpr int minimumLabelGap = 8;
// A title or caption too long for its picture is set smaller, to this share of its size at
// least (then cut short).
constexpr double smallestTextScale = 0.6;

// Legend rows: the first 11 pixels below the box top, then one every 15 pixels; a 30-pixel line
// sample 6 pixels in from the box's left edge, the text's baseline 46 pixels in and 5 below.
constexpr int legendFirstRow = 11;
constexpr int legendRowSpacing = 15;
constexpr int legendSampleStart = 6;
constexpr int legendSampleEnd = 36;
constexpr int legendTextStart = 46;
constexpr int legendTextDrop = 5;
// A legend box sized to its rows: below the last row's text a margin as deep as a row's text
// reaches below its line sample, and right of the longest text a margin of a few pixels.
constexpr int legendBottomMargin = 9;
constexpr int legendRightMargin = 8;
// A legend beside the plot stands this far right of the frame; one under the plot ends this far
// above the picture's bottom edge.
constexpr int legendOutsideGap = 10;
constexpr int legendUnderGap = 4;

// Index into a table of n entries by id mod n, also for negative ids.
int cyclicIndex(int id, int n)
{
    return ((id % n) + n) % n;
}

// The centre of pixel (x, y). A smooth line through pixel centres covers whole pixels where it
// runs straight: a 3-pixel pen on row y fills rows y - 1 .. y + 1, as an aliased one would.
QPointF pixelCentre(int x, int y)
{
    return { x + 0.5, y + 0.5 };
}

// A curve vertex: the mapped position truncated toward zero to a whole device pixel, at its
// centre. At one device pixel per widget pixel that is the widget pixel (int) px, (int) py; on a
// denser screen the finer pixels keep the curve smooth.
QPointF vertexAt(const QPointF& mapped, double ratio)
{
    return { std::trunc(mapped.x() * ratio) / ratio + 0.5 / ratio,
        std::trunc(mapped.y() * ratio) / ratio + 0.5 / ratio };
}

// The frame's lines are one window pixel wide and run through pixel centres, with square ends:
// the line through the pixels (x, y0) .. (x, y1) covers exactly the squares x .. x + 1 by
// y0 .. y1 + 1. Pixel fills (the legend's white interior) cover whole squares too, so the two
// meet edge to edge at any resolution, on paper and in vector files as on the screen.
constexpr qreal framePenWidth = 1.0;

QPen framePen(const QColor& colour, Qt::PenStyle style)
{
    return QPen(colour, framePenWidth, style, Qt::SquareCap, Qt::MiterJoin);
}

void drawPixelLine(QPainter& painter, int x0, int y0, int x1, int y1)
{
    painter.drawLine(pixelCentre(x0, y0), pixelCentre(x1, y1));
}

// The outline through the border pixels of rect: its left, top, right and bottom pixels.
QRectF outline(const QRect& rect)
{
    return QRectF(pixelCentre(rect.left(), rect.top()), pixelCentre(rect.right(), rect.bottom()));
}

} // namespace

PlotRenderer::PlotRenderer(
    ViewerStyle style, QSize size, const PlotBounds& bounds, PlotLabels labels, QColor background)
    : style_(std::move(style))
    , layout_(size)
    , bounds_(bounds)
    , labels_(std::move(labels))
    , background_(background)
{
}

PlotRenderer::PlotRenderer(const PlotState& state, QSize size, QColor background)
    : PlotRenderer(state.style, size, state.history.shown(), state.labels, background)
{
    if (!style_.legend || !style_.legend->sizedToRows || !style_.legend->clearOfData)
        return;
    // The place of a legend that keeps clear of the data: inside the plot where it hides none of
    // it; else beside the plot, or else under it in as many columns as the picture's width
    // holds, where the plot keeps at least half its width or height; else inside where it hides
    // the least.
    const QFontMetrics metrics(plotFont());
    const QRect box = sizedLegendBox(metrics);
    const QRect inside = placeLegend(box, layout_, bounds_, state.curves, style_.curveStyles);
    legendPlace_ = inside;
    if (hiddenData(inside, layout_, bounds_, state.curves, style_.curveStyles) <= 0.0)
        return;
    const QRect plot = layout_.plotRect();
    const PlotLayout beside(size, box.width() + legendOutsideGap, 0);
    if (beside.hasPlotArea() && 2 * beside.plotRect().width() >= plot.width()) {
        layout_ = beside;
        legendPlace_ = QRect(QPoint(beside.plotRect().right() + legendOutsideGap,
                                 PlotLayout::plotTop),
            box.size());
        legendOutside_ = true;
        return;
    }
    // Under the plot: as many columns as fit in the picture's width, each as wide as its rows.
    const int rows = std::max(1, static_cast<int>(style_.legendRows.size()));
    int rowsPerColumn = rows;
    std::vector<int> columnWidths { box.width() };
    for (int columns = rows; columns > 1; --columns) {
        const int perColumn = (rows + columns - 1) / columns;
        std::vector<int> widths = legendColumnWidths(metrics, perColumn);
        if (std::accumulate(widths.begin(), widths.end(), 0)
            <= size.width() - 2 * legendOutsideGap) {
            rowsPerColumn = perColumn;
            columnWidths = std::move(widths);
            break;
        }
    }
    const QSize under(std::accumulate(columnWidths.begin(), columnWidths.end(), 0),
        legendFirstRow + legendRowSpacing * (rowsPerColumn - 1) + legendBottomMargin);
    const PlotLayout above(size, 0, under.height() + legendUnderGap);
    if (above.hasPlotArea() && 2 * above.plotRect().height() >= plot.height()) {
        layout_ = above;
        legendPlace_ = QRect(QPoint((size.width() - under.width()) / 2,
                                 size.height() - under.height() - legendUnderGap + 1),
            under);
        legendOutside_ = true;
        legendRowsPerColumn_ = rowsPerColumn;
        legendColumnWidths_ = std::move(columnWidths);
    }
}

std::vector<int> PlotRenderer::legendColumnWidths(
    const QFontMetrics& metrics, int rowsPerColumn) const
{
    std::vector<int> widths;
    for (std::size_t i = 0; i < style_.legendRows.size(); ++i) {
        if (i % static_cast<std::size_t>(rowsPerColumn) == 0)
            widths.push_back(0);
        widths.back() = std::max(widths.back(),
            legendTextStart + metrics.horizontalAdvance(legendText(style_.legendRows[i]))
                + legendRightMargin);
    }
    return widths;
}

PlotLayout PlotRenderer::layoutOf(const PlotState& state, QSize size)
{
    return PlotRenderer(state, size, QColor()).layout();
}

void PlotRenderer::paint(
    QPainter& painter, const PlotState& state, QSize size, QColor background, Background fill)
{
    if (fill == Background::Fill)
        painter.fillRect(QRect(QPoint(0, 0), size), background);
    painter.setFont(plotFont());
    painter.setPen(QPen(Qt::black));
    painter.setBrush(Qt::NoBrush);
    const PlotRenderer renderer(state, size, background);
    renderer.drawFrame(painter);
    renderer.drawSeries(painter, state.curves);
}

QFont PlotRenderer::plotFont()
{
    QFont font;
    font.setFamilies(plotFontFamilies);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(plotTextPixels);
    return font;
}

QString PlotRenderer::tickLabel(double value, double step)
{
    if (std::fabs(value) < zeroLabelTolerance * std::fabs(step))
        value = 0.0;
    return QString::number(value, 'g', 6);
}

std::vector<AxisTick> PlotRenderer::axisTicks(
    int first, int last, double min, double max, int ticks)
{
    std::vector<AxisTick> result;
    if (ticks < 1) // no intervals: no ticks, and nothing to divide by
        return result;
    const double step = (max - min) / ticks;
    // The smallest stride that leaves at most one tick per pixel step (pixelSteps + 1 pixels).
    const long long pixelSteps = std::max(1, std::abs(last - first));
    const long long stride = (ticks + pixelSteps - 1) / pixelSteps;
    result.reserve(static_cast<std::size_t>(ticks / stride + 1));
    for (long long i = 0; i <= ticks; i += stride) {
        const int offset = static_cast<int>(static_cast<long long>(last - first) * i / ticks);
        const double value = i * (max - min) / ticks + min; // multiplied, divided, then added
        result.push_back({ static_cast<int>(i), first + offset, tickLabel(value, step) });
    }
    return result;
}

std::vector<AxisTick> PlotRenderer::logAxisTicks(int first, int last, double min, double max)
{
    if (max < min) {
        std::swap(min, max);
        std::swap(first, last);
    }
    if (!(min > 0.0) || !std::isfinite(max) || !(max > min))
        return {};
    const double low = std::log10(min);
    const double high = std::log10(max);
    const double decades = high - low;
    // Powers of ten labelled at every n-th decade, so that at most ten of them carry a label.
    const int decadeStride = std::max(1, static_cast<int>(std::ceil(decades / maxLogLabels)));
    const bool minorTicks = decades <= maxMinorTickDecades;
    const bool labelOneTwoFive = decades <= maxOneTwoFiveDecades;
    const double tolerance = 1e-9 * std::max(1.0, decades); // rounding at the window's ends

    struct LogTick {
        double value;
        bool labelled;
    };
    std::vector<LogTick> ticks;
    const int lowestPower = static_cast<int>(std::floor(low));
    const int highestPower = static_cast<int>(std::ceil(high));
    for (int power = lowestPower; power <= highestPower; ++power) {
        for (int mantissa = 1; mantissa <= (minorTicks ? 9 : 1); ++mantissa) {
            const double value = mantissa * std::pow(10.0, power);
            const double at = std::log10(value);
            if (at < low - tolerance || at > high + tolerance)
                continue;
            const bool labelled = mantissa == 1 ? power % decadeStride == 0
                                                : labelOneTwoFive && (mantissa == 2 || mantissa == 5);
            ticks.push_back({ value, labelled });
        }
    }
    if (std::ranges::count_if(ticks, &LogTick::labelled) < 2)
        for (LogTick& tick : ticks)
            tick.labelled = true;

    std::vector<AxisTick> result;
    result.reserve(ticks.size());
    for (const LogTick& tick : ticks) {
        const double fraction = (std::log10(tick.value) - low) / decades;
        result.push_back({ static_cast<int>(result.size()),
            first + static_cast<int>((last - first) * fraction),
            tick.labelled ? QString::number(tick.value, 'g', 6) : QString() });
    }
    return result;
}

QColor PlotRenderer::seriesColour(int id)
{
    return seriesColours[cyclicIndex(id, static_cast<int>(seriesColours.size()))];
}

Qt::PenStyle PlotRenderer::seriesLineStyle(int id)
{
    return seriesLineStyles[cyclicIndex(id, static_cast<int>(seriesLineStyles.size()))];
}

int PlotRenderer::seriesPenWidthOf(int id) const
{
    if (id >= 0 && static_cast<std::size_t>(id) < style_.curvePenWidths.size())
        return style_.curvePenWidths[static_cast<std::size_t>(id)];
    return seriesPenWidth;
}

QRect PlotRenderer::legendBox() const
{
    if (!style_.legend)
        return {};
    return { layout_.size().width() - style_.legend->fromRight, style_.legend->top,
        PlotLayout::legendWidth, PlotLayout::legendHeight };
}

QRect PlotRenderer::legendBoxFor(const QPainter& painter) const
{
    if (legendPlace_)
        return *legendPlace_;
    return sizedLegendBox(painter.fontMetrics());
}

QRect PlotRenderer::sizedLegendBox(const QFontMetrics& metrics) const
{
    QRect box = legendBox();
    if (!style_.legend || !style_.legend->sizedToRows)
        return box;
    // The fixed box's right edge and top stay; the rows and the widest text set the size.
    int widest = 0;
    for (const LegendRow& row : style_.legendRows)
        widest = std::max(widest, metrics.horizontalAdvance(legendText(row)));
    const int rows = std::max(1, static_cast<int>(style_.legendRows.size())); // never collapsed
    const int width = legendTextStart + widest + legendRightMargin;
    const int height = legendFirstRow + legendRowSpacing * (rows - 1) + legendBottomMargin;
    box.setLeft(box.right() + 1 - width);
    box.setHeight(height);
    return box;
}

QString PlotRenderer::legendText(const LegendRow& row) const
{
    if (row.label >= 1 && row.label <= static_cast<int>(labels_.size()))
        return labels_[static_cast<std::size_t>(row.label - 1)] + row.text;
    return row.text;
}

void PlotRenderer::drawFrame(QPainter& painter) const
{
    // The frame lies on whole pixels: one-pixel lines exactly on the computed rows and columns.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    drawXAxis(painter);
    drawYAxis(painter);

    painter.setPen(framePen(Qt::black, Qt::SolidLine));
    painter.drawRect(outline(layout_.plotRect()));
    if (style_.legend)
        painter.drawRect(outline(legendBoxFor(painter)));
    drawTexts(painter);
}

void PlotRenderer::drawXAxis(QPainter& painter) const
{
    const QRect plot = layout_.plotRect();
    const QPen gridPen = framePen(background_.darker(gridDarkening), Qt::DotLine);
    const QPen blackPen = framePen(Qt::black, Qt::SolidLine);
    const std::vector<AxisTick> ticks
        = axisTicks(plot.left(), plot.right(), bounds_.xMin, bounds_.xMax, bounds_.xTicks);
    // Labels that would run into each other (long numbers on a narrow picture) are drawn at
    // every n-th tick only, with the smallest n that leaves a gap between them.
    int widest = 0;
    for (const AxisTick& tick : ticks)
        widest = std::max(widest, painter.fontMetrics().horizontalAdvance(tick.label));
    const int labelEvery = labelStride(ticks, widest + minimumLabelGap);
    for (const AxisTick& tick : ticks) {
        const int x = tick.position;
        painter.setPen(gridPen);
        drawPixelLine(painter, x, plot.top(), x, plot.bottom());
        painter.setPen(blackPen);
        drawPixelLine(painter, x, plot.bottom(), x, plot.bottom() + PlotLayout::tickLength);
        if (tick.index % labelEvery == 0)
            painter.drawText(QRect(x - xLabelHalfWidth, plot.bottom() + PlotLayout::tickLength,
                                 xLabelWidth, xLabelHeight),
                Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, tick.label);
    }
}

void PlotRenderer::drawYAxis(QPainter& painter) const
{
    const QRect plot = layout_.plotRect();
    const QPen gridPen = framePen(background_.darker(gridDarkening), Qt::DotLine);
    const QPen blackPen = framePen(Qt::black, Qt::SolidLine);
    const int gridEvery = style_.yGridEvery > 0 ? style_.yGridEvery : 1;
    // Tick 0 is the bottom edge (the smallest value), the last one the top edge. A logarithmic
    // axis has its own ticks, and a grid line and a label at the labelled ones.
    const std::vector<AxisTick> ticks = bounds_.yLog
        ? logAxisTicks(plot.bottom(), plot.top(), bounds_.yMin, bounds_.yMax)
        : axisTicks(plot.bottom(), plot.top(), bounds_.yMin, bounds_.yMax, bounds_.yTicks);
    // On a short picture, labels closer than a line of text are drawn at every n-th tick.
    const int labelEvery
        = bounds_.yLog ? 1 : labelStride(ticks, painter.fontMetrics().height() + minimumLabelGap);
    for (const AxisTick& tick : ticks) {
        const int y = tick.position;
        const bool annotated
            = bounds_.yLog ? !tick.label.isEmpty() : tick.index % gridEvery == 0;
        if (annotated) {
            painter.setPen(gridPen);
            drawPixelLine(painter, plot.left(), y, plot.right(), y);
        }
        painter.setPen(blackPen);
        drawPixelLine(painter, plot.left() - PlotLayout::tickLength, y, plot.left(), y);
        if (annotated && tick.index % labelEvery == 0)
            painter.drawText(
                QRect(plot.left() - yLabelGap, y - yLabelHalfHeight, yLabelWidth, yLabelHeight),
                Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, tick.label);
    }
}

void PlotRenderer::drawTexts(QPainter& painter) const
{
    painter.setPen(QPen(Qt::black, textPenWidth, Qt::SolidLine));
    drawTitle(painter, style_.titlePrefix + labels_[0] + style_.titleSuffix);
    painter.drawText(layout_.xCaptionRect(), Qt::AlignHCenter | Qt::AlignBottom, style_.xCaption);

    // Turned by -90 degrees the caption reads from bottom to top along the left edge, from 360
    // pixels below the top. On a picture too short for that it is centred on the plot instead.
    // A caption longer than the plot is high is set smaller, or cut short, to fit along it.
    painter.save();
    const QRect plot = layout_.plotRect();
    const QString caption = fitText(painter, style_.yCaption, plot.height());
    QRect rect = layout_.yCaptionRect();
    const int length = painter.fontMetrics().horizontalAdvance(caption);
    const int start = -rect.left(); // pixels below the top edge
    if (start > plot.bottom() + 1 || start - length < 0)
        rect.moveLeft(-((plot.top() + plot.bottom() + 1 + length) / 2));
    painter.rotate(-90.0);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignBottom, caption);
    painter.restore();
}

void PlotRenderer::drawTitle(QPainter& painter, const QString& title) const
{
    const QRect rect = layout_.titleRect();
    painter.save();
    painter.drawText(rect, Qt::AlignHCenter | Qt::AlignTop, fitText(painter, title, rect.width()));
    painter.restore();
}

QString PlotRenderer::fitText(QPainter& painter, const QString& text, int room)
{
    const int width = painter.fontMetrics().horizontalAdvance(text);
    if (width <= room || width <= 0 || room <= 0)
        return text;
    // Set smaller, down to a limit, then cut short.
    QFont font = painter.font();
    const double shrink = std::max(smallestTextScale, static_cast<double>(room) / width);
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * shrink)));
    else
        font.setPointSizeF(font.pointSizeF() * shrink);
    painter.setFont(font);
    return painter.fontMetrics().elidedText(text, Qt::ElideRight, room);
}

int PlotRenderer::labelStride(const std::vector<AxisTick>& ticks, int room)
{
    if (ticks.size() < 2)
        return 1;
    const int spacing = std::max(1, std::abs(ticks[1].position - ticks[0].position));
    const int gaps = std::max(1, ticks[1].index - ticks[0].index);
    // In tick indices: the ticks given may already be every gaps-th of the axis.
    return std::max(1, (room + spacing - 1) / spacing) * gaps;
}

void PlotRenderer::drawSeries(QPainter& painter, const CurveStore& curves) const
{
    const QRect clip = layout_.seriesClipRect();
    if (clip.width() <= 0 || clip.height() <= 0)
        return; // no room inside the frame for a single pixel of a curve
    painter.setClipRect(clip);
    // Thick curves are drawn smooth; their vertices stay on the whole pixels of the mapping.
    painter.setRenderHint(QPainter::Antialiasing, true);
    const CurveMarks marks(
        layout_, bounds_, painter.device() ? painter.device()->devicePixelRatioF() : 1.0);
    for (const auto& [id, points] : curves) // pictures under everything
        if (const auto styled = style_.curveStyles.find(id); styled != style_.curveStyles.end()) {
            const PlacedImage& underlay = styled->second.underlay;
            if (underlay.image.isNull())
                continue;
            const QRectF target(layout_.toPixel(bounds_, underlay.left, underlay.top),
                layout_.toPixel(bounds_, underlay.right, underlay.bottom));
            // Each cell of the picture a block of its own colour, as a map's cells are.
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(target.normalized(), underlay.image);
        }
    for (const auto& [id, points] : curves) // bands and areas behind every line
        if (const auto styled = style_.curveStyles.find(id); styled != style_.curveStyles.end()) {
            marks.drawBands(painter, styled->second);
            marks.drawArea(painter, points, styled->second);
        }
    for (const auto& [id, points] : curves) {
        if (const auto styled = style_.curveStyles.find(id); styled != style_.curveStyles.end())
            marks.drawCurve(painter, points, styled->second);
        else
            drawCurve(painter, id, points);
    }
    if (style_.legend)
        drawLegendRows(painter);
}

void PlotRenderer::drawCurve(QPainter& painter, int id, const std::vector<double>& points) const
{
    const std::size_t pairs = points.size() / 2; // a trailing odd value is ignored
    std::vector<QPointF> polyline;
    polyline.reserve(pairs);
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    for (std::size_t k = 0; k < pairs; ++k) {
        const QPointF p = layout_.toPixel(bounds_, points[2 * k], points[2 * k + 1]);
        // Far outside a zoomed window (or in a window of zero span) a point has no pixel the
        // painter can take; it is left out and the line joins its neighbours.
        if (!(std::fabs(p.x()) < pixelLimit && std::fabs(p.y()) < pixelLimit))
            continue;
        polyline.push_back(vertexAt(p, ratio));
    }
    painter.setPen(QPen(seriesColour(id), seriesPenWidthOf(id), seriesLineStyle(id)));
    painter.drawPolyline(polyline.data(), static_cast<int>(polyline.size()));
}

void PlotRenderer::drawLegendRows(QPainter& painter) const
{
    const QRect box = legendBoxFor(painter);
    if (legendOutside_) // beside the plot, outside the clip of the curves
        painter.setClipRect(box);
    painter.fillRect(box.adjusted(1, 1, -1, -1), QBrush(Qt::white, Qt::SolidPattern));
    for (std::size_t i = 0; i < style_.legendRows.size(); ++i) {
        const LegendRow& row = style_.legendRows[i];
        // Rows run down the first column, then down the next (one column in most legends).
        const auto column = i / static_cast<std::size_t>(legendRowsPerColumn_);
        int left = box.left();
        for (std::size_t c = 0; c < column && c < legendColumnWidths_.size(); ++c)
            left += legendColumnWidths_[c];
        const int y = box.top() + legendFirstRow
            + legendRowSpacing * (static_cast<int>(i) % legendRowsPerColumn_);
        QPen pen(row.colour, row.penWidth, row.lineStyle);
        painter.setPen(pen);
        const QPointF sampleStart = pixelCentre(left + legendSampleStart, y);
        const QPointF sampleEnd = pixelCentre(left + legendSampleEnd, y);
        if (const auto styled = style_.curveStyles.find(row.curve);
            row.curve >= 0 && styled != style_.curveStyles.end())
            CurveMarks::drawLegendSample(painter, sampleStart, sampleEnd, styled->second);
        else
            painter.drawLine(sampleStart, sampleEnd);
        pen.setColor(Qt::black);
        painter.setPen(pen);
        painter.drawText(QPoint(left + legendTextStart, y + legendTextDrop), legendText(row));
    }
}

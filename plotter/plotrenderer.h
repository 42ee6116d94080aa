#pragma once
// PlotRenderer: draws one plot picture onto any QPainter.
//
// The renderer knows nothing of widgets: it draws from a surface size, the shown window, the
// five viewer labels, the curves and a ViewerStyle, onto whatever the painter paints on. The
// Plotter's canvas, the printer, the export tool and the tests all draw through paint(), so the
// screen, the PNG file, the vector files and the printed page always agree.
//
//   PlotRenderer::paint(painter, state, QSize(1000, 600), background); // the whole picture
//
// or in its two halves, as the Plotter's drawFrame and drawSeries do:
//
//   PlotRenderer renderer(style, size, bounds, labels, background);
//   renderer.drawFrame(painter);          // grid, ticks, labels, frame, legend box, texts
//   renderer.drawSeries(painter, curves); // curves, clipped to the plot, then the legend rows
//
// Curves are vectors of interleaved x, y values in data units, kept under small integer ids
// that also choose the pen: colour by id mod 6, line style by id mod 5.

#include "plotbounds.h"
#include "plotlayout.h"
#include "plotstate.h"
#include "viewerstyle.h"

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

#include <limits>
#include <optional>
#include <vector>

class QFontMetrics;
class QPainter;

// One tick of an axis: which of the axis's ticks it is (0 at the first end), where it sits in
// pixels, and what its label says.
struct AxisTick {
    int index;
    int position;
    QString label;
    bool operator==(const AxisTick&) const = default;
};

class PlotRenderer {
public:
    // Points whose pixel coordinates reach this far from the origin are left out of a curve.
    static constexpr double pixelLimit = 32768.0;
    static constexpr int seriesPenWidth = 3;

    // background: the colour the surface is filled with; the dotted grid is drawn in it at half
    // its brightness.
    PlotRenderer(ViewerStyle style, QSize size, const PlotBounds& bounds, PlotLabels labels,
        QColor background);
    // The renderer of the window that state shows; a legend that keeps clear of the data is
    // placed here, by state's curves.
    PlotRenderer(const PlotState& state, QSize size, QColor background);

    // Whether paint() covers the surface with the background colour first (screen and files)
    // or leaves it as it is (paper).
    enum class Background { Fill, Keep };

    // The whole picture of state on a surface of the given size, in its pixel coordinates:
    // the background, then the frame, the curves and the legend, with the plot's font. The one
    // place where a painter is prepared for a plot, whatever it paints on.
    static void paint(QPainter& painter, const PlotState& state, QSize size, QColor background,
        Background fill = Background::Fill);

    // The font of every text of a plot, at a fixed pixel size on every surface.
    static QFont plotFont();

    // Dotted grid, tick marks and tick labels of both axes, the outlines of the plot rectangle
    // and of the legend box, the title and both axis captions.
    void drawFrame(QPainter& painter) const;
    // Every curve in ascending id, clipped to the inside of the plot rectangle, then the legend
    // box's white interior and its rows. Leaves the clip in force.
    void drawSeries(QPainter& painter, const CurveStore& curves) const;

    const PlotLayout& layout() const { return layout_; }
    // The layout state is drawn in on a surface of size: the fixed one, or with room kept on
    // the right or at the bottom where its legend stands beside or under the plot. The rubber
    // band and the pointer's coordinates map through it, so that they agree with the picture.
    static PlotLayout layoutOf(const PlotState& state, QSize size);

    // A tick value as the axis shows it: 'g' format with 6 significant digits, and exactly 0
    // for a value within a millionth of the tick step of zero (rounding leaves 5.55112e-17
    // where an axis crosses zero).
    static QString tickLabel(double value, double step);
    // The ticks + 1 ticks of an axis from pixel first (value min) to pixel last (value max);
    // none for a tick count below 1. Positions in integer arithmetic, so that the last tick
    // lands exactly on last:  position_i = first + ((last - first) i) / ticks, truncated;
    // values:  value_i = i (max - min) / ticks + min.
    // Never more ticks than the axis has pixels: with more intervals than pixel steps, only
    // every n-th tick (i = 0, n, 2n, ...), with the smallest n that leaves at most one per
    // pixel step, is returned; the others would only pile up on the same pixels.
    static std::vector<AxisTick> axisTicks(int first, int last, double min, double max, int ticks);
    // The ticks of a logarithmic axis from pixel first (value min) to pixel last (value max),
    // placed by log10 of their value, whatever the window's tick count: labelled ticks at the
    // powers of ten (every n-th power when there are more than ten decades), and between them
    // unlabelled ones at 2 .. 9 times each power when the axis spans at most six decades. An
    // axis of at most one and a half decades labels 1, 2 and 5 times each power, and one with
    // fewer than two labelled ticks labels every tick. Unlabelled ticks have an empty label;
    // index counts the ticks from min. None when min or max is not positive.
    static std::vector<AxisTick> logAxisTicks(int first, int last, double min, double max);
    static QColor seriesColour(int id); // by id mod 6
    static Qt::PenStyle seriesLineStyle(int id); // by id mod 5
    int seriesPenWidthOf(int id) const; // the style's width for id, else 3

    // The legend box (110 x 80) for this surface; invalid when the style has no legend.
    QRect legendBox() const;
    // The complete text of a legend row: the label it names, then its own text.
    QString legendText(const LegendRow& row) const;
    // The legend box as drawn with painter's font: the fixed box, or for a style whose box is
    // sized to its rows, as high as the rows and as wide as the longest text needs. A legend
    // that keeps clear of the data (the renderer of a state only) stands where it hides the least
    // of the curves, or, where it would hide some wherever it stood inside the plot, beside or
    // under the plot (in columns), in the room the layout then keeps on the right or below.
    QRect legendBoxFor(const QPainter& painter) const;

private:
    void drawXAxis(QPainter& painter) const;
    void drawYAxis(QPainter& painter) const;
    void drawTexts(QPainter& painter) const;
    void drawTitle(QPainter& painter, const QString& title) const;
    // text as it fits in room pixels: itself, or with painter's font set smaller (to six tenths
    // at least) and the text cut short. The caller saves and restores the painter's font.
    static QString fitText(QPainter& painter, const QString& text, int room);
    // Every how many ticks a label fits, given the room (pixels) a label needs along the axis.
    static int labelStride(const std::vector<AxisTick>& ticks, int room);
    void drawCurve(QPainter& painter, int id, const std::vector<double>& points) const;
    void drawLegendRows(QPainter& painter) const;
    QRect sizedLegendBox(const QFontMetrics& metrics) const;
    // The width of each column of the legend's rows, rowsPerColumn rows a column.
    std::vector<int> legendColumnWidths(const QFontMetrics& metrics, int rowsPerColumn) const;

    ViewerStyle style_;
    PlotLayout layout_;
    PlotBounds bounds_;
    PlotLabels labels_;
    QColor background_;
    std::optional<QRect> legendPlace_; // a legend placed by the data, see legendBoxFor
    bool legendOutside_ = false; // beside or under the plot
    // Rows of a legend in columns (under the plot): how many rows a column holds, how wide each
    // column is.
    int legendRowsPerColumn_ = std::numeric_limits<int>::max();
    std::vector<int> legendColumnWidths_;
};

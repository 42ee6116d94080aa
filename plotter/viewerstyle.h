#pragma once
// ViewerStyle: everything in which the pictures of the viewers differ, as one plain value.
//
// The frame, grid, ticks, labels, curves and legend rows are drawn by one renderer for all
// viewers; a viewer only describes its texts, where its legend box sits and what its rows say,
// which y ticks carry a grid line and a label, how wide each curve's pen is or which marks a
// curve carries (CurveStyle), and where the save button writes its PNG file. A new viewer is a
// new ViewerStyle plus a start-up function.

#include "curvestyle.h"

#include <QColor>
#include <QString>
#include <Qt>

#include <map>
#include <optional>
#include <vector>

// One row of a legend box: a short sample of the curve's line, then a text in black.
struct LegendRow {
    int label = 0;       // 1..5: the text starts with that label (label1 .. label5); 0: it does not
    QString text;        // appended after the label, or the whole text when label is 0
    QColor colour = Qt::black;
    Qt::PenStyle lineStyle = Qt::SolidLine;
    int penWidth = 3;
    // >= 0: the sample is drawn in the style of that curve (ViewerStyle::curveStyles), markers
    // and bands included, instead of the line above.
    int curve = -1;
};

// Where the 110 x 80 pixel legend box sits: its left edge a fixed distance from the widget's
// right edge, its top edge a fixed distance below the widget's top edge. A box sized to its
// rows keeps the same right edge and top, and takes the height of its rows and the width of
// its longest text.
struct LegendAnchor {
    int fromRight = 135; // box left = W - fromRight
    int top = 45;        // box top
    bool sizedToRows = false;
    // A box sized to its rows may move from its anchor to another corner of the plot, or the
    // middle of its top or bottom edge, where it hides less of the curves (legendplacement.h).
    bool clearOfData = false;
};

struct ViewerStyle {
    QString titlePrefix;          // title = titlePrefix + label1 + titleSuffix
    QString titleSuffix;
    QString xCaption;             // under the plot
    QString yCaption;             // left of the plot, turned by -90 degrees
    std::optional<LegendAnchor> legend; // no legend box when empty
    std::vector<LegendRow> legendRows;
    int yGridEvery = 1;           // y grid line and label at every n-th tick (tick marks at all)
    std::vector<int> curvePenWidths; // pen width of curve id i; ids past the end draw 3 wide
    QString pngPath;              // where save() writes, relative to the working directory
    // Curves drawn with markers, error bars, bands or vertical lines, by curve id; the others
    // keep the pen chosen by their id.
    std::map<int, CurveStyle> curveStyles {};
    // The key L switches the y axis between linear and logarithmic (PlotState::toggleYScale).
    bool logYKey = false;
};

#pragma once
// CurveStyle: how one curve of a plot is drawn, when the plain id-chosen pen is not enough.
//
// A curve is a list of x, y points in data units (the Plotter's curve store). Its style says
// whether the points are joined by a line, whether each carries a marker, and which marks
// travel with it: error bars around each point, horizontal bands across the whole plot (a
// measured value plus or minus its uncertainty), vertical lines at given x, horizontal lines at
// given y, and a shaded area between the curve and a lower edge (an envelope). The data of bars,
// bands, lines and areas belong to the curve, so a viewer describes its picture as data and the
// renderer draws every viewer's marks the same way.
//
//   CurveStyle observed { .colour = Qt::red, .lineStyle = Qt::NoPen,
//       .marker = MarkerShape::Circle, .markerFill = Qt::white };
//   observed.xErrors = { 0.4, 0.6 }; // one half-length per point, in x units

#include <QColor>
#include <QImage>
#include <Qt>

#include <vector>

enum class MarkerShape { None, Circle, Square, Triangle, Diamond, TriangleDown };

// A horizontal band across the whole width of the plot, from lower to upper in y units.
struct HorizontalBand {
    double lower = 0.0;
    double upper = 0.0;
};

// A picture laid under the plot with its edges at these data coordinates (an age map over the
// shaded relief of its DEM): drawn first, behind every band, area and line, scaled with the
// window. A null image: none.
struct PlacedImage {
    QImage image;
    double left = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double top = 0.0;
};

struct CurveStyle {
    QColor colour = Qt::black; // line, marker outline, error bars, band edges, vertical lines
    Qt::PenStyle lineStyle = Qt::SolidLine; // Qt::NoPen: the points are not joined
    int lineWidth = 3; // pixels
    MarkerShape marker = MarkerShape::None;
    int markerSize = 9; // pixels across the marker's outline
    QColor markerFill = Qt::white;
    // Error bars: the half-length of point k's bar in x units and in y units; points past the end
    // of a list, and zero or non-finite lengths, have no bar in that direction.
    std::vector<double> xErrors {};
    std::vector<double> yErrors {};
    // Point k (its marker, bars and line vertex) drawn this many pixels right of where it maps
    // (left when negative), whatever the window: markers of one x spread so that they do not
    // hide each other. Points past the end of the list stay in place.
    std::vector<int> xPixelOffsets {};
    std::vector<HorizontalBand> bands {};
    QColor bandFill = QColor(0, 0, 0, 40); // translucent, so that bands that overlap both show
    std::vector<double> verticalLines {}; // x positions of lines over the whole height of the plot
    Qt::PenStyle verticalLineStyle = Qt::DashLine;
    std::vector<double> horizontalLines {}; // y positions of lines over the whole width
    Qt::PenStyle horizontalLineStyle = Qt::DashLine;
    // A shaded area from the curve down to these y values, one per point (the same x): the
    // curve's points are its upper edge. Empty: no area.
    std::vector<double> areaLower {};
    QColor areaFill = QColor(0, 0, 0, 40);
    PlacedImage underlay {};
};

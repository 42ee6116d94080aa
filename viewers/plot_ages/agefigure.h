#pragma once
// AgeFigure: collects the curves of one plot_ages picture and makes its first view from them.
//
// Each curve comes with its CurveStyle and its legend text; the legend gets one row per curve,
// in a box sized to its texts. The first window spans every point, error bar, band and
// vertical line of the curves, each axis rounded outward to round tick steps (the rule the
// rubber band zoom uses), so that the picture opens on all of the data with round ticks.
//
//   AgeFigure figure(style);               // texts, legend anchor and PNG path of the kind
//   figure.addCurve(points, curveStyle, QStringLiteral("AHe diffusion"));
//   return figure.firstView(titleValue);

#include "viewerstartup.h"
#include "viewerstyle.h"

#include <QString>

#include <limits>
#include <vector>

class AgeFigure {
public:
    explicit AgeFigure(ViewerStyle style);

    // Adds a curve (x0, y0, x1, y1, ...) drawn in style, with its legend row; returns its id.
    int addCurve(std::vector<double> points, CurveStyle style, const QString& legendText);
    // Draws the x axis from the larger value on the left to the smaller on the right (time
    // before present, which runs towards 0 at the right edge).
    void reverseX() { m_reversedX = true; }

    int curveCount() const { return static_cast<int>(m_curves.size()); }
    // The view: label1 (shown in the title), the rounded window, the curves and the style.
    FirstView firstView(const QString& titleValue) const;

    // One axis from the data's lowest to highest value, rounded outward to tick steps. A span of
    // zero (one rate, one value) is widened first so that the axis still has a length.
    struct Axis {
        double min;
        double max;
        int ticks;
    };
    static Axis roundedAxis(double lowest, double highest);

private:
    struct Extent {
        double lowest = std::numeric_limits<double>::infinity();
        double highest = -std::numeric_limits<double>::infinity();
        void include(double value);
    };

    ViewerStyle m_style;
    std::vector<std::vector<double>> m_curves;
    Extent m_x;
    Extent m_y;
    bool m_reversedX = false;
};

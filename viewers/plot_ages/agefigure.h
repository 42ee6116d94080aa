#pragma once
// AgeFigure: collects the curves of one plot_ages picture and makes its first view from them.
//
// Each curve comes with its CurveStyle and its legend text; the legend gets one row per curve,
// in a box sized to its texts and placed where it hides the least of the data. The first window
// spans every point, error bar, band, shaded area and vertical or horizontal line of the curves,
// each axis rounded outward to round tick steps (the rule the rubber band zoom uses), so that
// the picture opens on all of the data with round ticks. A figure may instead open on an x range
// of its own (limitX: y then spans only what lies in it), with a logarithmic y axis (logY:
// positive values, whole decades), or with room above the data (headroom) for its legend.
//
//   AgeFigure figure(style);               // texts, legend anchor and PNG path of the kind
//   figure.addCurve(points, curveStyle, QStringLiteral("AHe diffusion"));
//   return figure.firstView(titleValue);

#include "viewerstartup.h"
#include "viewerstyle.h"

#include <QString>

#include <optional>
#include <vector>

class AgeFigure {
public:
    explicit AgeFigure(ViewerStyle style);

    // Adds a curve (x0, y0, x1, y1, ...) drawn in style, with its legend row; returns its id.
    int addCurve(std::vector<double> points, CurveStyle style, const QString& legendText);
    // The same without a legend row: a further piece of a mark that has its row (an outline in
    // several closed lines).
    int addUnlistedCurve(std::vector<double> points, CurveStyle style);
    // Draws the x axis from the larger value on the left to the smaller on the right (time
    // before present, which runs towards 0 at the right edge).
    void reverseX() { m_reversedX = true; }
    // Opens on x from low to high (either order) rather than on all of the data; y spans the
    // marks that lie in that range (all of them when none does).
    void limitX(double low, double high);
    // A logarithmic y axis: the window spans the positive values, rounded outward to decades.
    void logY() { m_logY = true; }
    // Widens the y window upward by this share of the data's span before rounding.
    void headroom(double share) { m_headroom = share; }
    // A y value the window must hold besides the data (such as 0 on a rate axis).
    void includeY(double y) { m_extraY.push_back(y); }

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
    ViewerStyle m_style;
    std::vector<std::vector<double>> m_curves;
    bool m_reversedX = false;
    bool m_logY = false;
    double m_headroom = 0.0;
    std::optional<std::pair<double, double>> m_xLimit;
    std::vector<double> m_extraY;
};

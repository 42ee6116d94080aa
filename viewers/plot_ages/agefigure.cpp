#include "agefigure.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// The window of a plot without data: the default PlotBounds axis.
constexpr double emptyAxisMin = 0.0;
constexpr double emptyAxisMax = 10.0;
// A single value is shown in a window this fraction of its size either side (or one unit
// either side of zero).
constexpr double singleValueMargin = 0.1;
// Markers keep this share of the window's span from its edges: five pixels, a little more than
// half a marker, of the 919 x 519 pixel plot of the 1000 x 600 window.
constexpr double markerPaddingX = 5.0 / 919.0;
constexpr double markerPaddingY = 5.0 / 519.0;

double errorAt(const std::vector<double>& errors, std::size_t k)
{
    return k < errors.size() && std::isfinite(errors[k]) ? std::fabs(errors[k]) : 0.0;
}

// The lowest and highest of the values included; positive ones only on a logarithmic axis.
class Extent {
public:
    explicit Extent(bool positiveOnly = false)
        : m_positiveOnly(positiveOnly)
    {
    }
    void include(double value)
    {
        if (!std::isfinite(value) || (m_positiveOnly && !(value > 0.0)))
            return;
        m_lowest = std::min(m_lowest, value);
        m_highest = std::max(m_highest, value);
    }
    bool empty() const { return !(m_lowest <= m_highest); }
    double lowest() const { return m_lowest; }
    double highest() const { return m_highest; }

private:
    bool m_positiveOnly;
    double m_lowest = std::numeric_limits<double>::infinity();
    double m_highest = -std::numeric_limits<double>::infinity();
};

} // namespace

AgeFigure::AgeFigure(ViewerStyle style)
    : m_style(std::move(style))
{
    m_style.legendRows.clear();
    m_style.curveStyles.clear();
}

int AgeFigure::addCurve(std::vector<double> points, CurveStyle style, const QString& legendText)
{
    const int id = curveCount();
    // The row's sample is drawn in the curve's own style; its pen writes the text.
    m_style.legendRows.push_back({ .label = 0,
        .text = legendText,
        .colour = style.colour,
        .lineStyle = Qt::SolidLine,
        .penWidth = 1,
        .curve = id });
    m_style.curveStyles.emplace(id, std::move(style));
    m_curves.push_back(std::move(points));
    return id;
}

int AgeFigure::addUnlistedCurve(std::vector<double> points, CurveStyle style)
{
    const int id = curveCount();
    m_style.curveStyles.emplace(id, std::move(style));
    m_curves.push_back(std::move(points));
    return id;
}

void AgeFigure::limitX(double low, double high)
{
    m_xLimit = std::minmax(low, high);
}

AgeFigure::Axis AgeFigure::roundedAxis(double lowest, double highest)
{
    if (!(lowest <= highest))
        return { emptyAxisMin, emptyAxisMax, 5 };
    if (lowest == highest) {
        const double margin = lowest == 0.0 ? 1.0 : std::fabs(lowest) * singleValueMargin;
        lowest -= margin;
        highest += margin;
    }
    Axis axis { lowest, highest, 0 };
    PlotBounds::snapAxis(axis.min, axis.max, axis.ticks);
    return axis;
}

FirstView AgeFigure::firstView(const QString& titleValue) const
{
    // x: every point with its bars, and the vertical lines; or the limit given.
    Extent x;
    for (std::size_t i = 0; i < m_curves.size(); ++i) {
        const CurveStyle& style = m_style.curveStyles.at(static_cast<int>(i));
        const std::vector<double>& points = m_curves[i];
        for (std::size_t k = 0; k + 1 < points.size(); k += 2) {
            x.include(points[k] - errorAt(style.xErrors, k / 2));
            x.include(points[k] + errorAt(style.xErrors, k / 2));
        }
        for (const double line : style.verticalLines)
            x.include(line);
    }
    if (m_xLimit) {
        x = Extent();
        x.include(m_xLimit->first);
        x.include(m_xLimit->second);
    }

    // y: the marks at an x inside the window's x range (all of them when none is).
    const auto yExtent = [&](bool insideOnly) {
        Extent y(m_logY);
        const auto inside = [&](double value) {
            return !insideOnly || (value >= x.lowest() && value <= x.highest());
        };
        for (std::size_t i = 0; i < m_curves.size(); ++i) {
            const CurveStyle& style = m_style.curveStyles.at(static_cast<int>(i));
            const std::vector<double>& points = m_curves[i];
            for (std::size_t k = 0; k + 1 < points.size(); k += 2) {
                if (!inside(points[k]))
                    continue;
                const double error = errorAt(style.yErrors, k / 2);
                y.include(points[k + 1] - error);
                y.include(points[k + 1] + error);
                if (k / 2 < style.areaLower.size())
                    y.include(style.areaLower[k / 2]);
            }
            for (const HorizontalBand& band : style.bands) {
                y.include(band.lower);
                y.include(band.upper);
            }
            for (const double line : style.horizontalLines)
                y.include(line);
        }
        for (const double extra : m_extraY)
            y.include(extra);
        return y;
    };
    Extent y = yExtent(true);
    if (y.empty())
        y = yExtent(false);
    // A marker within half its size of the window's edge would be cut by the frame: the window
    // then reaches a little further (a round step further, once rounded).
    const Axis firstX = roundedAxis(x.lowest(), x.highest());
    const Axis firstY = roundedAxis(y.lowest(), y.highest());
    const double xPad = markerPaddingX * (firstX.max - firstX.min);
    const double yPad = markerPaddingY * (firstY.max - firstY.min);
    for (std::size_t i = 0; i < m_curves.size(); ++i) {
        const CurveStyle& style = m_style.curveStyles.at(static_cast<int>(i));
        if (style.marker == MarkerShape::None)
            continue;
        const std::vector<double>& points = m_curves[i];
        for (std::size_t k = 0; k + 1 < points.size(); k += 2) {
            const double px = points[k];
            const double py = points[k + 1];
            if (px < x.lowest() || px > x.highest() || py < y.lowest() || py > y.highest())
                continue; // outside the window that the data ask for
            if (!m_xLimit && (px - firstX.min < xPad || firstX.max - px < xPad)) {
                x.include(px - xPad);
                x.include(px + xPad);
            }
            if (!m_logY && (py - firstY.min < yPad || firstY.max - py < yPad)) {
                y.include(py - yPad);
                y.include(py + yPad);
            }
        }
    }

    FirstView view;
    view.labels[0] = titleValue;
    const Axis xAxis = roundedAxis(x.lowest(), x.highest());
    view.bounds.xMin = m_reversedX ? xAxis.max : xAxis.min;
    view.bounds.xMax = m_reversedX ? xAxis.min : xAxis.max;
    view.bounds.xTicks = xAxis.ticks;
    if (m_logY && !y.empty()) {
        view.bounds.yLog = true;
        view.bounds.yMin = y.lowest();
        view.bounds.yMax = y.highest() * std::pow(y.highest() / y.lowest(), m_headroom);
        PlotBounds::snapLogAxis(view.bounds.yMin, view.bounds.yMax, view.bounds.yTicks);
    } else {
        const double top = y.empty() ? y.highest()
                                     : y.highest() + m_headroom * (y.highest() - y.lowest());
        const Axis yAxis = roundedAxis(y.lowest(), top);
        view.bounds.yMin = yAxis.min;
        view.bounds.yMax = yAxis.max;
        view.bounds.yTicks = yAxis.ticks;
    }
    view.curves = m_curves;
    view.style = m_style;
    return view;
}

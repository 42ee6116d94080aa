#include "agefigure.h"

#include <cmath>
#include <utility>

namespace {

// The window of a plot without data: the default PlotBounds axis.
constexpr double emptyAxisMin = 0.0;
constexpr double emptyAxisMax = 10.0;
// A single value is shown in a window this fraction of its size either side (or one unit
// either side of zero).
constexpr double singleValueMargin = 0.1;

double errorAt(const std::vector<double>& errors, std::size_t k)
{
    return k < errors.size() && std::isfinite(errors[k]) ? std::fabs(errors[k]) : 0.0;
}

} // namespace

void AgeFigure::Extent::include(double value)
{
    if (!std::isfinite(value))
        return;
    lowest = std::min(lowest, value);
    highest = std::max(highest, value);
}

AgeFigure::AgeFigure(ViewerStyle style)
    : m_style(std::move(style))
{
    m_style.legendRows.clear();
    m_style.curveStyles.clear();
}

int AgeFigure::addCurve(std::vector<double> points, CurveStyle style, const QString& legendText)
{
    const int id = curveCount();
    for (std::size_t k = 0; k + 1 < points.size(); k += 2) {
        const double x = points[k];
        const double y = points[k + 1];
        const double xError = errorAt(style.xErrors, k / 2);
        const double yError = errorAt(style.yErrors, k / 2);
        m_x.include(x - xError);
        m_x.include(x + xError);
        m_y.include(y - yError);
        m_y.include(y + yError);
    }
    for (const HorizontalBand& band : style.bands) {
        m_y.include(band.lower);
        m_y.include(band.upper);
    }
    for (const double x : style.verticalLines)
        m_x.include(x);

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
    FirstView view;
    view.labels[0] = titleValue;
    const Axis x = roundedAxis(m_x.lowest, m_x.highest);
    const Axis y = roundedAxis(m_y.lowest, m_y.highest);
    view.bounds.xMin = m_reversedX ? x.max : x.min;
    view.bounds.xMax = m_reversedX ? x.min : x.max;
    view.bounds.xTicks = x.ticks;
    view.bounds.yMin = y.min;
    view.bounds.yMax = y.max;
    view.bounds.yTicks = y.ticks;
    view.curves = m_curves;
    view.style = m_style;
    return view;
}

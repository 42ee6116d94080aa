#include "plotstate.h"

#include "plotlayout.h"
#include "plotrenderer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace {

// The lowest and highest y of the curves' marks at x within [xLow, xHigh] (every x when
// wholeCurves), positive values only when positiveOnly.
class YExtent {
public:
    YExtent(double xLow, double xHigh, bool wholeCurves, bool positiveOnly)
        : m_xLow(xLow)
        , m_xHigh(xHigh)
        , m_wholeCurves(wholeCurves)
        , m_positiveOnly(positiveOnly)
    {
    }

    void addCurve(const std::vector<double>& points, const CurveStyle* style)
    {
        for (std::size_t k = 0; k + 1 < points.size(); k += 2) {
            if (!m_wholeCurves && !(points[k] >= m_xLow && points[k] <= m_xHigh))
                continue;
            const double y = points[k + 1];
            include(y);
            if (!style)
                continue;
            const std::size_t i = k / 2;
            if (i < style->yErrors.size() && std::isfinite(style->yErrors[i])) {
                include(y - std::fabs(style->yErrors[i]));
                include(y + std::fabs(style->yErrors[i]));
            }
            if (i < style->areaLower.size())
                include(style->areaLower[i]);
        }
        if (style)
            for (const double y : style->horizontalLines)
                include(y);
    }

    bool empty() const { return !(m_lowest <= m_highest); }
    double lowest() const { return m_lowest; }
    double highest() const { return m_highest; }

private:
    void include(double y)
    {
        if (!std::isfinite(y) || (m_positiveOnly && !(y > 0.0)))
            return;
        m_lowest = std::min(m_lowest, y);
        m_highest = std::max(m_highest, y);
    }

    double m_xLow;
    double m_xHigh;
    bool m_wholeCurves;
    bool m_positiveOnly;
    double m_lowest = std::numeric_limits<double>::infinity();
    double m_highest = -std::numeric_limits<double>::infinity();
};

YExtent yExtentOf(const PlotState& state, const PlotBounds& shown, bool wholeCurves, bool log)
{
    YExtent extent(std::min(shown.xMin, shown.xMax), std::max(shown.xMin, shown.xMax),
        wholeCurves, log);
    for (const auto& [id, points] : state.curves) {
        const auto styled = state.style.curveStyles.find(id);
        extent.addCurve(
            points, styled != state.style.curveStyles.end() ? &styled->second : nullptr);
    }
    return extent;
}

} // namespace

QRect PlotState::bandBetween(QPoint from, QPoint to)
{
    return { QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
        QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())) };
}

bool PlotState::zoomToBand(QSize surface, QPoint from, QPoint to)
{
    const QRect selected = bandBetween(from, to);
    if (selected.width() < minimumBand || selected.height() < minimumBand)
        return false;
    std::optional<PlotBounds> next
        = PlotRenderer::layoutOf(*this, surface).windowOfBand(history.shown(), selected);
    if (!next)
        return false; // no plot rectangle on so small a surface: nothing was selected
    next->snapToTicks();
    history.push(*next);
    return true;
}

bool PlotState::toggleYScale()
{
    PlotBounds next = history.shown();
    next.yLog = !next.yLog;
    YExtent extent = yExtentOf(*this, next, false, next.yLog);
    if (extent.empty())
        extent = yExtentOf(*this, next, true, next.yLog);
    if (extent.empty())
        return false;
    next.yMin = extent.lowest();
    next.yMax = extent.highest();
    if (next.yLog) {
        PlotBounds::snapLogAxis(next.yMin, next.yMax, next.yTicks);
    } else {
        if (next.yMin == next.yMax) { // one value: a window around it
            const double margin = next.yMin == 0.0 ? 1.0 : std::fabs(next.yMin) * 0.1;
            next.yMin -= margin;
            next.yMax += margin;
        }
        PlotBounds::snapAxis(next.yMin, next.yMax, next.yTicks);
    }
    history.push(next);
    return true;
}

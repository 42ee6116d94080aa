#include "plotstate.h"

#include "plotlayout.h"

#include <algorithm>
#include <optional>

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
    std::optional<PlotBounds> next = PlotLayout(surface).windowOfBand(history.shown(), selected);
    if (!next)
        return false; // no plot rectangle on so small a surface: nothing was selected
    next->snapToTicks();
    history.push(*next);
    return true;
}

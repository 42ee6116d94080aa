#include "zoomhistory.h"

void ZoomHistory::reset(const PlotBounds& first)
{
    m_entries.assign(1, first);
    m_level = 0;
}

bool ZoomHistory::zoomIn()
{
    if (!canZoomIn())
        return false;
    ++m_level;
    return true;
}

bool ZoomHistory::zoomOut()
{
    if (!canZoomOut())
        return false;
    --m_level;
    return true;
}

void ZoomHistory::push(const PlotBounds& next)
{
    // Entries beyond the shown one are the way back in from an earlier zoom out; a new
    // selection replaces them.
    m_entries.resize(static_cast<std::size_t>(m_level) + 1);
    m_entries.push_back(next);
    ++m_level;
}

void ZoomHistory::shift(int xSteps, int ySteps)
{
    m_entries[static_cast<std::size_t>(m_level)].shift(xSteps, ySteps);
}

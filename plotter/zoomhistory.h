#pragma once
// ZoomHistory: the windows a plot has shown, and which of them it shows now.
//
// A plot starts with one window (reset). Every rubber-band zoom keeps the windows up to the
// shown one, appends the new one and moves to it (push); zooming out and back in moves through
// the list one entry at a time; the arrow keys and the wheel move the shown entry itself by
// whole tick intervals (shift), so that zooming out and back in returns to the moved window.
// It is never empty.
//
//   ZoomHistory history;            // the default window 0..10 x 0..10
//   history.push(zoomed);           // level 1 of 2
//   history.zoomOut();              // level 0, the way back in kept
//   history.push(other);            // the way back in is replaced: still 2 entries

#include "plotbounds.h"

#include <vector>

class ZoomHistory {
public:
    ZoomHistory() = default;

    // Makes first the only entry and shows it, exactly as given.
    void reset(const PlotBounds& first);

    const PlotBounds& shown() const { return m_entries[static_cast<std::size_t>(m_level)]; }
    int level() const { return m_level; }
    int size() const { return static_cast<int>(m_entries.size()); }
    const std::vector<PlotBounds>& entries() const { return m_entries; }

    bool canZoomIn() const { return m_level < size() - 1; } // an entry after the shown one
    bool canZoomOut() const { return m_level > 0; } // an entry before it

    // Move to the next or previous entry; false (and nothing changes) at either end.
    bool zoomIn();
    bool zoomOut();

    // Discards every entry after the shown one, appends next and shows it.
    void push(const PlotBounds& next);

    // Moves the shown window by whole tick intervals (PlotBounds::shift).
    void shift(int xSteps, int ySteps);

    bool operator==(const ZoomHistory&) const = default;

private:
    std::vector<PlotBounds> m_entries { PlotBounds {} };
    int m_level = 0;
};

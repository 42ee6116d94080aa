#pragma once
// plot_2D_temp_hist: three cooling histories of the two-dimensional periodic topography model,
// temperature (y, C) against time (x, Myr) of the rock that reaches the surface under a ridge,
// halfway down the slope and in a valley.
//
//   plot_2D_temp_hist EROSION_RATE
//
// The histories end at time 0, the right edge of the window. The window's left edge is the
// starting time (first record of the ridge file), its bottom the ridge rock's final temperature
// (last record of the ridge file) and its top the valley rock's starting temperature (first
// record of the valley file), each cut to its integer part.

#include "viewerstartup.h"

const ViewerDefinition& periodicHistoryViewer();

// The first view from the argument and the three periodic history files below runDir.
FirstView startPeriodicHistories(const QStringList& arguments, const QDir& runDir);

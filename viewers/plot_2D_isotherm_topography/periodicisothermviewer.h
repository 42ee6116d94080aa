#pragma once
// plot_2D_isotherm_topography: the steady-state result of the two-dimensional periodic
// topography model, the surface topography and four isotherms as vertical position (y, m)
// against horizontal distance across the profile (x, m).
//
//   plot_2D_isotherm_topography PROFILE_WIDTH WINDOW_DEPTH EXHUMATION_RATE LABEL1 .. LABEL4
//
// The window spans PROFILE_WIDTH metres centred on 0 in 8 intervals, and runs from WINDOW_DEPTH
// metres below the zero level up to 5000 m above it. The window does not depend on the data.

#include "viewerstartup.h"

const ViewerDefinition& periodicIsothermViewer();

// The first view from the arguments and the five periodic isotherm files below runDir.
FirstView startPeriodicIsotherms(const QStringList& arguments, const QDir& runDir);

// The number of y intervals for a window from -depth up to 5000 m: 2 x R, where R is the
// height depth + 5000 with its trailing decimal zeros removed (15000 m gives 4 intervals of
// 5000 m, 10000 m gives 30 of 500 m). A window without height (depth -5000) gets 0 intervals;
// a count beyond the int range is clamped to it. However many there are, the axis draws no
// more tick marks than it has pixels.
int periodicDepthTicks(int depth);

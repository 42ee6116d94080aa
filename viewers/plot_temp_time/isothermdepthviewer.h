#pragma once
// plot_temp_time: how deep four isotherms (closure temperatures) lie at every time level of a
// transient run, time (x, Myr) against the depth coordinate (y, m), one curve per isotherm.
//
//   plot_temp_time ANY EROSION_RATE ISOTHERM1 ISOTHERM2 ISOTHERM3 ISOTHERM4
//
// The first argument is not used. The window runs over all time levels of the fourth isotherm
// file, and from two kilometres below the fourth isotherm's depth at time 0 up to the surface.

#include "viewerstartup.h"

const ViewerDefinition& isothermDepthViewer();

// The first view from the arguments and the four isotherm files below runDir.
FirstView startIsothermDepth(const QStringList& arguments, const QDir& runDir);

// The bottom of the first window: the coordinate z (m) rounded down to whole kilometres, less
// two kilometres, (floor(z x 0.001) - 2) x 1000, truncated to an integer.
int isothermDepthBottom(double coordinate);

#pragma once
// plot_temp_hist: the cooling history of a transient run, the temperature (y, C) against time
// (x, Myr) of the rock that reaches the surface at the exposure time. No legend.
//
//   plot_temp_hist EXPOSURE_TIME MIN_TEMPERATURE
//
// The window runs from time 0 to EXPOSURE_TIME and from MIN_TEMPERATURE to 10 degrees above the
// integer part of the temperature at time 0 (the first record of the file).

#include "viewerstartup.h"

const ViewerDefinition& coolingHistoryViewer();

// The first view from the arguments and the cooling history file below runDir.
FirstView startCoolingHistory(const QStringList& arguments, const QDir& runDir);

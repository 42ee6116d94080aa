#pragma once
// plot_geotherm: the four geotherms of a transient run, temperature (x) against the depth
// coordinate (y, 0 at the surface and negative below), one curve per output time.
//
//   plot_geotherm MODEL_DEPTH EROSION_RATE TIME1 TIME2 TIME3 TIME4 MIN_TEMPERATURE
//
// The window runs from -MODEL_DEPTH to 0 m and from MIN_TEMPERATURE to the bottom temperature of
// the last geotherm read, rounded up to a hundred degrees.

#include "viewerstartup.h"

const ViewerDefinition& geothermViewer();

// The first view from the arguments and the four geotherm files below runDir.
FirstView startGeotherm(const QStringList& arguments, const QDir& runDir);

// The right edge of the first window: the temperature v (C) rounded up to whole hundreds,
// ceil(v x 0.01) x 100, truncated to an integer.
int geothermTemperatureTop(double temperature);

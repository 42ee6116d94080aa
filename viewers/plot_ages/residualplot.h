#pragma once
// The residuals picture of plot_ages: how far each measured age lies from its prediction.
//
//   residuals  RESIDUALS_CSV   residual_sigma, (observed - predicted) / sigma, against the
//              sample's elevation (against the sample's place in the file when the file has no
//              elevations), each system in its colour and marker shape; lines at 0 (solid) and
//              at -2 and +2 (dashed), the band a good fit keeps about 95 % of its samples in
//
// The file is the one `cooling_ages --residuals` writes; its columns are found by name and the
// ones not needed here are ignored. A prediction that is only a minimum age (reset = no) is
// drawn hollow, in a legend row of its own. Two systems of one sample (the same elevation or
// place) stand a few pixels apart in x (markerspread.h), whatever the window.

#include "viewerstartup.h"

#include <QString>

FirstView residualFigure(const QString& residualsPath);

#pragma once
// The pictures of plot_ages for a fit of an erosion history (rates that change with time).
//
//   history  FIT_OR_POSTERIOR  erosion rate against time before present (the present at the
//            right): the best history (lowest chi2) as a staircase; with a fit file, the
//            envelope of the histories within the fit's range (in_range = yes) as a shaded band;
//            with a posterior file, the 68 % and 95 % envelopes of the samples' rates at each
//            time as two shaded bands (historyenvelope.h)
//   profile  PROFILE_CSV       chi2, minimised over the other parameters, against each change
//            time (one curve per change, in two colours), the level the fit read the ranges at
//            (chi2_level, the program's chi2_min + max(1, reduced chi2)) as a dashed line, and
//            for each change its best time and the range where its curve stays below the level
//            (interpolated linearly between the profile's times) as vertical lines; optionally on
//            a logarithmic chi2 axis
//
// A history is written as the program takes it: START:RATE pairs, oldest first (the path start,
// then each change time in Ma with two decimals, each rate in mm/yr with three).

#include "historytables.h"
#include "viewerstartup.h"

#include <QString>

FirstView historyFigure(const QString& historiesPath);
FirstView profileFigure(const QString& profilePath, bool logY = false);

// "20:0.300,5.50:0.570"
QString historyText(const ErosionHistory& history);

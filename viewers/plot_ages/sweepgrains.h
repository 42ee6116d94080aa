#pragma once
// The rate plot's curves of the measured samples' own grains: for each distinct grain of a
// system (cooling_ages --predictions: system, method, grain values, and in a periodic fit the
// sample's elevation), its predicted age at every rate of the sweep, so that each measured age
// at the best rate stands on the curve of the grain it was fitted with, not on the options'.
//
//   const std::set<QString> curved = addSweepGrainCurves(figure, predictionsPath, fitPath,
//       sweep, residuals);     // the systems drawn as curves; the others' points are the caller's
//
// A system of more than maxGrainCurves grains gets no curves, which would no longer read apart,
// but a legend row that says so; its samples' predictions stand at the best rate as points.

#include "agefigure.h"
#include "agetables.h"

#include <QString>

#include <set>
#include <vector>

// Throws ViewerStartError when the file is not of the fit whose misfit curve (sweep, read from
// fitPath) and residuals are given: a rate of the sweep it lacks, more rates than the sweep and
// its best rate, or a sample's grain it does not hold.
std::set<QString> addSweepGrainCurves(AgeFigure& figure, const QString& predictionsPath,
    const QString& fitPath, const std::vector<MisfitPoint>& sweep,
    const std::vector<Residual>& residuals);

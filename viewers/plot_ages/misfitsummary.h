#pragma once
// MisfitSummary: the best erosion rate and its range, read off a misfit curve.
//
// The misfit file holds chi2 at the rates of a sweep; the plots also need the best rate between
// grid points and the range of rates that fit the data about as well. Both come from the fit's
// own analysis of the curve (ages::fitMisfitCurveAtLevel): the vertex of the parabola through the
// lowest point and its two neighbours, and the range where chi2 lies at or below the level the
// program read it at: the file's chi2_level column (chi2_min + max(1, reduced chi2)), or, in a
// file without it, chi2_min + 1, the one-sigma interval of a single fitted parameter.

#include "agetables.h"

#include <vector>

struct MisfitSummary {
    double bestRate = 0.0; // mm/yr
    double minimumChi2 = 0.0;
    double rangeLow = 0.0; // mm/yr, where chi2 first rises above the level to the left
    double rangeHigh = 0.0;
    bool lowAtSweepStart = false; // chi2 stays within the level down to the first rate
    bool highAtSweepEnd = false;
    double rangeLevel = 1.0; // the chi2 the range is read at
    bool scaled = false; // the level lies more than 1 above the minimum: widened by reduced chi2

    double level() const { return rangeLevel; }
    // The level's legend: "chi2_min + 1 = 3.2", or "chi2_min + reduced chi2 = 41.7" when scaled.
    QString levelCaption() const;
};

// The summary of a curve sorted by rate; the curve must have at least one point.
MisfitSummary summariseMisfit(const std::vector<MisfitPoint>& curve);

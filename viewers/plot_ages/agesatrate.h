#pragma once
// One run of the model out of an ages table that may hold a whole sweep of erosion rates.
//
// A sweep (cooling_ages --rates) holds one run per rate: for the periodic model each run is the
// whole profile, every system and method at every profile point, in the same order at every
// rate. A plot of one run takes either the table's first rate or the best rate of a fit, which
// lies between two rates of the sweep: each age is then interpolated linearly in rate between
// the ages of the same row of the two runs around it,
//
//     age(r) = age(r0) + (age(r1) - age(r0)) (r - r0) / (r1 - r0),   r0 <= r <= r1,
//
// which errs by less than the sweep's own resolution where the age varies smoothly with the
// rate. Interpolation rather than the nearest rate keeps the drawn profile continuous in the
// best rate, so that it agrees with the fit's refined minimum rather than with a grid point.

#include "agetables.h"

#include <vector>

// The rows at the table's first rate (all rows when the table carries no rates).
std::vector<PredictedAge> firstRun(const std::vector<PredictedAge>& ages);

// The run at rate (mm/yr): a rate of the sweep gives its rows; a rate between two gives the rows
// interpolated between them (closure temperatures too; an age is reset only when both are); a
// rate outside the sweep, or between two runs whose rows do not match (system, method, profile
// point), gives the nearest rate's rows.
std::vector<PredictedAge> runAtRate(const std::vector<PredictedAge>& ages, double rate);

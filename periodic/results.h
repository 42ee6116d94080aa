#pragma once
// Everything periodic_topography writes, computed from the fitted model: the topography and four
// isotherms across two wavelengths, and the cooling histories of a ridge, a mid-slope point and
// a valley.

#include "periodicparameters.h"
#include "steadystate.h"
#include "wordpair.h"

#include <array>

namespace periodic {

struct PeriodicResults {
    Series topography; // (x m, surface height m)
    std::array<Series, 4> isotherms; // (x m, isotherm height m or NaN)
    Series ridge; // (time Myr, temperature C) at x = 0
    Series midValley; // at x = lambda / 4: half-way down the slope, at the mean elevation
    Series valley; // at x = lambda / 2
};

// Profiles at pointCount equally spaced x from -lambda to lambda: a ridge in the middle and at
// both ends, valleys at +-lambda / 2. Histories with pointCount times from -duration to 0.
PeriodicResults computeResults(
    const PeriodicSteadyState& model, const PeriodicParameters& parameters);

} // namespace periodic

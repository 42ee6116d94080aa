#pragma once
// A cooling history as periodic_topography writes it: the rising path of the rock that reaches
// the surface today at x (risingpath.h) as pairs of time and temperature, time counted negative
// before the present.

#include "steadystate.h"
#include "wordpair.h"

namespace periodic {

// Pairs (time in Myr, temperature in C) at `count` (>= 2) equally spaced times from -duration
// (the earliest, first in the series) to 0 (never -0); T(x, -h(x) + u t) at t Myr ago. The
// caller keeps the starting depth, h0 + u duration at most, above the base.
Series coolingHistory(const PeriodicSteadyState& model, double x, double durationMyr, int count);

} // namespace periodic

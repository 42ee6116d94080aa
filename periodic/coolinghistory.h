#pragma once
// Cooling history of a rock that reaches the surface today at a given x of the steady periodic
// model: it has risen at the erosion velocity along a vertical line, so t million years ago it
// was u t below its present surface point.

#include "steadystate.h"
#include "wordpair.h"

namespace periodic {

// Pairs (time in Myr, temperature in C) at `count` (>= 2) equally spaced times from -duration
// (the earliest, first in the series) to 0; T(x, -h(x) + u t) at t Myr ago. The caller keeps the
// starting depth, h0 + u duration at most, above the base.
Series coolingHistory(const PeriodicSteadyState& model, double x, double durationMyr, int count);

} // namespace periodic

#pragma once
// The path of a rock that reaches the surface today at a given x of the steady periodic model.
// The surface keeps its shape while rock rises through it at the erosion velocity u, so the rock
// rose along a vertical line: t million years ago it lay u t below its present surface point,
// at the temperature T(x, -h(x) + u t) of the steady field.
//
// periodic_topography writes these paths as its ridge, mid-slope and valley histories;
// cooling_ages dates the rock of every profile point along them.

#include "steadystate.h"

#include <vector>

namespace periodic {

struct RisingPoint {
    double timeMa = 0; // time before present, Myr
    double depthM = 0; // depth below the rock's present surface point, u t, m
    double temperatureC = 0;
};

// The path at intervals (>= 1) equal time steps from durationMyr ago (first) to the present
// (last, exactly 0). The caller keeps the starting depth, h0 + u durationMyr at most, above the
// base.
std::vector<RisingPoint> risingPath(
    const PeriodicSteadyState& model, double xM, double durationMyr, int intervals);

} // namespace periodic

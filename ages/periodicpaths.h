#pragma once
// Cooling paths of the rocks now exposed along the profile of the steady periodic topography
// model: the profile points of periodic_topography (two wavelengths, ridge in the middle), with
// the ridge, mid-slope and valley points whose histories that program writes named.

#include "samplepath.h"
#include "steadystate.h"

#include <string_view>
#include <vector>

namespace periodic {
struct PeriodicParameters;
}

namespace ages {

// One surface point of the profile: where it lies and how it is named.
struct ProfilePoint {
    double xM = 0; // horizontal position, m; ridges at 0 and +-lambda
    double elevationM = 0; // surface height above the mean level, h(x), m
    std::string_view site; // "ridge" (x = 0), "mid_slope" (lambda / 4), "valley" (lambda / 2), or
                           // empty
};

// The pointCount points from -lambda to lambda (the x of periodic_topography's profile files),
// with the three named sites added in their place where the spacing misses them.
std::vector<ProfilePoint> profilePoints(
    const periodic::PeriodicSteadyState& model, const periodic::PeriodicParameters& parameters);

// The path is sampled at least this finely (Myr) and with at least this many points.
inline constexpr double periodicPathStepMyr = 0.01;
inline constexpr int periodicPathMinPoints = 1000;

// The rock exposed at x rose vertically at the erosion velocity u through the steady field, so
// t Myr ago it lay u t below its present surface point: T(x, -h(x) + u t). Times from durationMyr
// (> 0) down to 0; depths below the surface point, u t.
SamplePath periodicCoolingPath(
    const periodic::PeriodicSteadyState& model, double xM, double durationMyr);
// The same path at `intervals` (>= 1) equal time steps.
SamplePath periodicCoolingPath(
    const periodic::PeriodicSteadyState& model, double xM, double durationMyr, int intervals);

} // namespace ages

#pragma once
// The cooling paths that cooling_ages dates along the profile of the steady periodic topography
// model: periodic/risingpath.h's path of the rock exposed at x, sampled finely enough for the
// kinetic models and given as the SamplePath every age prediction takes. The profile and its
// named sites are periodic/profile.h's.

#include "samplepath.h"
#include "steadystate.h"

namespace ages {

// The path is sampled at least this finely (Myr) and with at least this many points.
inline constexpr double periodicPathStepMyr = 0.01;
inline constexpr int periodicPathMinPoints = 1000;

// The rock exposed at x, from durationMyr (> 0) ago to the present; depths below its surface
// point.
SamplePath periodicCoolingPath(
    const periodic::PeriodicSteadyState& model, double xM, double durationMyr);
// The same path at `intervals` (>= 1) equal time steps.
SamplePath periodicCoolingPath(
    const periodic::PeriodicSteadyState& model, double xM, double durationMyr, int intervals);

} // namespace ages

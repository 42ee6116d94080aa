#pragma once
// The cooling path of the rock that the transient erosion model brings to the surface at the
// exposure time, evaluated with the model's own closed form at fine, even time steps.

#include "runparameters.h"
#include "samplepath.h"

namespace ages {

// The path is sampled at least this finely (Myr) and with at least this many points, so that
// a kinetic model sees the temperature change smoothly however short the path is.
inline constexpr double transientPathStepMyr = 0.01;
inline constexpr int transientPathMinPoints = 1000;

// The rock exposed exposureMyr (> 0, not rounded) after erosion began was u t' below the surface
// t' Myr before its exposure, u = rate x 1000 m/Myr. Its temperature there is the closed form at
// node coordinate -u t' and elapsed time exposureMyr - t'. Times before present run from
// exposureMyr (the start of erosion, on the initial geotherm) down to 0 (at the surface).
SamplePath transientCoolingPath(const erosion::RunParameters& parameters, double exposureMyr);

} // namespace ages

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

// The rock exposed at exposureMyr heightM above the model's surface (a sample in the relief of a
// mean surface the 1D model stands for): t' Myr before its exposure it lay u t' - h below that
// surface, at the closed form's temperature there while the depth is positive. Once it is
// negative the rock stands in the relief, at the surface temperature of its height,
// T0 - lapse x height (lapseRateCkm in C/km; flat isotherms, as the history model places its
// samples). A rock h higher thus follows the surface rock's path h / u earlier and is that much
// older once the column is steady. depthM holds u t' - h. heightM = 0 is the path above.
SamplePath transientCoolingPath(const erosion::RunParameters& parameters, double exposureMyr,
    double heightM, double lapseRateCkm);

} // namespace ages

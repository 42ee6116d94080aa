#pragma once
// Isotherm heights of the steady periodic model: where, on a vertical line through x, the
// temperature equals a given value.

#include "steadystate.h"

#include <vector>

namespace periodic {

// Heights y = -z (m, positive up) at which T(x, z) = temps[j], one per temperature, searched from
// the surface down to the base: the shallowest crossing is taken. NaN where the temperature is
// not met below the surface at x (colder than the surface or hotter than the base).
std::vector<double> isothermHeights(
    const PeriodicSteadyState& model, double x, const std::vector<double>& temps);

} // namespace periodic

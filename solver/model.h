#pragma once
// The closed-form temperature of a crust whose surface is eroded at a constant rate.

#include "runparameters.h"

namespace erosion {

// Temperature (degrees Celsius) at node coordinate z (m, 0 at the eroding surface, negative
// below it) and time t (s, >= 0) after erosion starts. Closed form of
//     dT/dt = kappa d2T/dd2 + u dT/dd   on the half-space d = -z >= 0,
// with T(0, t) = T0 for t > 0 and T(d, 0) = T0 + G d, where u = -erosionVelocity > 0 is the
// speed at which rock rises towards the surface.
double transientTemp(const RunParameters& p, double z, double t);

} // namespace erosion

#pragma once
// The closed-form temperature of a crust whose surface is eroded at a constant rate.

#include "runparameters.h"

#include <cmath>

namespace erosion {

// Temperature (degrees Celsius) at node coordinate z (m, 0 at the eroding surface, negative
// below it) and time t (s, >= 0) after erosion starts. Closed form of
//     dT/dt = kappa d2T/dd2 + u dT/dd   on the half-space d = -z >= 0,
// with T(0, t) = T0 for t > 0 and T(d, 0) = T0 + G d, where u = -erosionVelocity > 0 is the
// speed at which rock rises towards the surface.
double transientTemp(const RunParameters& p, double z, double t);

// The pieces of transientTemp. The fast field computes the factors that depend on the node alone
// or on the time alone once and passes them in; because both go through these very expressions,
// its values are transientTemp's to the last bit.
namespace closedform {

// The initial linear geotherm, T0 - G z: the state at t = 0.
inline double initialTemp(double T0, double G, double z)
{
    return T0 - G * z;
}

// v t (m): minus the distance the rock has risen by time t.
inline double risenBy(double v, double t)
{
    return v * t;
}

// 2 sqrt(kappa t) (m): the diffusion length at time t.
inline double diffusionLength(double kappa, double t)
{
    return 2.0 * std::sqrt(kappa * t);
}

// exp(-v z / kappa): the advective factor of node z.
inline double advectionFactor(double v, double z, double kappa)
{
    return std::exp(-v * z / kappa);
}

// T = T0 + G b + G/2 [ a exp(-v z / kappa) erfc(a / s) - b erfc(b / s) ] with a = v t - z and
// b = -z - v t, for t > 0, from vt = v t, s = 2 sqrt(kappa t) and factor = exp(-v z / kappa).
inline double temperature(double T0, double G, double z, double vt, double s, double factor)
{
    const double a = vt - z; // d - u t
    const double b = -z - vt; // d + u t
    return T0 + G * b + (G / 2.0) * (a * factor * std::erfc(a / s) - b * std::erfc(b / s));
}

} // namespace closedform

} // namespace erosion

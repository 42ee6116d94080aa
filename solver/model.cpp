#include "model.h"

#include <cmath>

namespace erosion {

double transientTemp(const RunParameters& p, double z, double t)
{
    const double T0 = p.surfaceTemp;
    const double G = p.basalGradient;

    // At the start the crust holds its initial linear geotherm. The closed form below gives this
    // too wherever z < 0 (both erfc terms vanish), but 0/0 at the surface itself.
    if (t == 0.0)
        return T0 - G * z;

    const double kappa = p.diffusivity;
    const double v = p.erosionVelocity;
    const double a = v * t - z; // d - u t
    const double b = -z - v * t; // d + u t
    const double s = 2.0 * std::sqrt(kappa * t);
    // T = T0 + G b + G/2 [ a exp(-v z / kappa) erfc(a / s) - b erfc(b / s) ]
    return T0 + G * b
        + (G / 2.0) * (a * std::exp(-v * z / kappa) * std::erfc(a / s) - b * std::erfc(b / s));
}

} // namespace erosion

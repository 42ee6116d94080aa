#include "model.h"

namespace erosion {

double transientTemp(const RunParameters& p, double z, double t)
{
    const double T0 = p.surfaceTemp;
    const double G = p.basalGradient;

    // At the start the crust holds its initial linear geotherm. The closed form gives this too
    // wherever z < 0 (both erfc terms vanish), but 0/0 at the surface itself.
    if (t == 0.0)
        return closedform::initialTemp(T0, G, z);

    const double kappa = p.diffusivity;
    const double v = p.erosionVelocity;
    return closedform::temperature(T0, G, z, closedform::risenBy(v, t),
        closedform::diffusionLength(kappa, t), closedform::advectionFactor(v, z, kappa));
}

} // namespace erosion

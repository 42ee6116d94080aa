#pragma once
// The exact integral over the cohorts of an isothermal hold, which the annealing tests share.

#include "fanningannealing.h"
#include "physicalconstants.h"

#include <boost/math/quadrature/gauss_kronrod.hpp>

#include <algorithm>

namespace testintegrals {

// Held at temperatureC for holdMyr, every cohort anneals as its age t alone says: the integral
// of weight(t) rho(r(t, T)) dt from t = 0 to the hold, by adaptive quadrature up to the time that
// erases a track (beyond it rho is 0).
template <class Weight>
double holdIntegral(const thermochron::AnnealingLaw& law, double temperatureC, double holdMyr,
    Weight weight)
{
    using namespace thermochron;
    const double kelvin = temperatureC + zeroCelsiusInKelvin;
    const auto integrand = [&](double ageMyr) {
        const double length = ageMyr <= 0
            ? 1.0
            : reducedLength(law, fittedLength(law.fit, ageMyr * secondsPerMyr, kelvin));
        return weight(ageMyr) * law.reducedDensity(length);
    };
    const double end = std::min(holdMyr, erasureTimeSeconds(law, kelvin) / secondsPerMyr);
    return boost::math::quadrature::gauss_kronrod<double, 31>::integrate(
        integrand, 0, end, 20, 1e-10);
}

} // namespace testintegrals

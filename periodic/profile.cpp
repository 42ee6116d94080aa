#include "profile.h"

#include <algorithm>
#include <cmath>

namespace periodic {

namespace {

// Relative size of the rounding error in a surface height.
constexpr double roundingNoise = 1e-12;

} // namespace

double profileX(const double wavelength, const int pointCount, const int i)
{
    const int last = pointCount - 1;
    return (wavelength * (2 * i - last)) / last;
}

std::vector<ProfilePoint> profilePoints(
    const PeriodicSteadyState& model, const PeriodicParameters& parameters)
{
    const double lambda = parameters.wavelength;
    std::vector<double> xs;
    xs.reserve(parameters.pointCount + namedSites.size());
    for (int i = 0; i < parameters.pointCount; ++i)
        xs.push_back(profileX(lambda, parameters.pointCount, i));
    for (const NamedSite& site : namedSites) {
        const double x = site.xM(lambda);
        const auto at = std::lower_bound(xs.begin(), xs.end(), x);
        if (at == xs.end() || *at != x)
            xs.insert(at, x);
    }

    std::vector<ProfilePoint> points;
    points.reserve(xs.size());
    for (const double x : xs) {
        const double height = model.surfaceHeight(x);
        const bool meanLevel = std::abs(height) <= roundingNoise * parameters.reliefAmplitude;
        ProfilePoint point { .xM = x, .elevationM = meanLevel ? 0.0 : height, .site = {} };
        for (const NamedSite& site : namedSites)
            if (x == site.xM(lambda))
                point.site = site.name;
        points.push_back(point);
    }
    return points;
}

} // namespace periodic

#include "periodicpaths.h"

#include "units.h"
#include "periodicparameters.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ages {

namespace {

struct NamedSite {
    double wavelengths; // x / lambda
    std::string_view name;
};

// The points whose histories periodic_topography writes: ridge crest, half-way down, valley floor.
constexpr std::array<NamedSite, 3> namedSites { { { 0.0, "ridge" }, { 0.25, "mid_slope" },
    { 0.5, "valley" } } };

// Relative size of the rounding error in a surface height.
constexpr double roundingNoise = 1e-12;

} // namespace

std::vector<ProfilePoint> profilePoints(
    const periodic::PeriodicSteadyState& model, const periodic::PeriodicParameters& parameters)
{
    const double lambda = parameters.wavelength;
    const int last = parameters.pointCount - 1;
    std::vector<double> xs;
    xs.reserve(last + 1 + namedSites.size());
    for (int i = 0; i <= last; ++i)
        // The same exact products as periodic_topography's profile: 0 and +-lambda come out exact.
        xs.push_back((lambda * (2 * i - last)) / last);
    for (const NamedSite& site : namedSites) {
        const double x = site.wavelengths * lambda;
        const auto at = std::lower_bound(xs.begin(), xs.end(), x);
        if (at == xs.end() || *at != x)
            xs.insert(at, x);
    }

    std::vector<ProfilePoint> points;
    points.reserve(xs.size());
    for (const double x : xs) {
        // cos(k x) at a quarter wavelength comes out as 6e-17 rather than 0: an elevation that
        // small beside the relief is the mean level itself.
        const double height = model.surfaceHeight(x);
        const double relief = parameters.reliefAmplitude;
        const bool meanLevel = std::abs(height) <= roundingNoise * relief;
        ProfilePoint point { .xM = x, .elevationM = meanLevel ? 0.0 : height, .site = {} };
        for (const NamedSite& site : namedSites)
            if (x == site.wavelengths * lambda)
                point.site = site.name;
        points.push_back(point);
    }
    return points;
}

SamplePath periodicCoolingPath(
    const periodic::PeriodicSteadyState& model, const double xM, const double durationMyr)
{
    const int intervals = std::max(
        periodicPathMinPoints - 1, static_cast<int>(std::ceil(durationMyr / periodicPathStepMyr)));
    return periodicCoolingPath(model, xM, durationMyr, intervals);
}

SamplePath periodicCoolingPath(const periodic::PeriodicSteadyState& model, const double xM,
    const double durationMyr, const int intervals)
{
    const double metresPerMyr = model.problem().velocity * units::secondsPerMyr;
    const periodic::VerticalProfile column = model.column(xM);
    const double surfaceDepth = -model.surfaceHeight(xM); // depth of the surface point below the
                                                          // mean level, m

    SamplePath sample;
    sample.path.reserve(intervals + 1);
    sample.depthM.reserve(intervals + 1);
    for (int k = 0; k <= intervals; ++k) {
        const double timeMa = durationMyr * (intervals - k) / intervals;
        const double depth = metresPerMyr * timeMa;
        sample.path.push_back({ timeMa, column.temperature(surfaceDepth + depth) });
        sample.depthM.push_back(depth);
    }
    return sample;
}

} // namespace ages

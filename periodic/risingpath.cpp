#include "risingpath.h"

#include "units.h"

namespace periodic {

std::vector<RisingPoint> risingPath(const PeriodicSteadyState& model, const double xM,
    const double durationMyr, const int intervals)
{
    const VerticalProfile column = model.column(xM);
    const double surfaceDepth = -model.surfaceHeight(xM); // of the surface point below the mean
                                                          // level, m
    const double metresPerMyr = model.problem().velocity * units::secondsPerMyr;

    std::vector<RisingPoint> path;
    path.reserve(intervals + 1);
    for (int k = 0; k <= intervals; ++k) {
        // Exactly durationMyr at the start and exactly 0 at the surface.
        const double timeMa = durationMyr * (intervals - k) / intervals;
        const double depth = metresPerMyr * timeMa;
        path.push_back({ timeMa, depth, column.temperature(surfaceDepth + depth) });
    }
    return path;
}

} // namespace periodic

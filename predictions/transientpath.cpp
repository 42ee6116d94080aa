#include "transientpath.h"

#include "model.h"
#include "units.h"

#include <algorithm>
#include <cmath>

namespace ages {

SamplePath transientCoolingPath(const erosion::RunParameters& p, const double exposureMyr)
{
    return transientCoolingPath(p, exposureMyr, 0.0, 0.0);
}

SamplePath transientCoolingPath(const erosion::RunParameters& p, const double exposureMyr,
    const double heightM, const double lapseRateCkm)
{
    // Intervals: no longer than the step, and enough of them for the least number of points.
    const int intervals = std::max(transientPathMinPoints - 1,
        static_cast<int>(std::ceil(exposureMyr / transientPathStepMyr)));
    const double metresPerMyr = p.erosionRate * units::metresPerMyrPerMmPerYear;

    SamplePath sample;
    sample.path.reserve(intervals + 1);
    sample.depthM.reserve(intervals + 1);
    for (int k = 0; k <= intervals; ++k) {
        // Ma before exposure: exactly exposureMyr at k = 0 and exactly 0 at the last point.
        const double timeMa = exposureMyr * (intervals - k) / intervals;
        const double elapsedSeconds = (exposureMyr - timeMa) * units::secondsPerMyr;
        const double depth = metresPerMyr * timeMa - heightM;
        // In the relief: the air's temperature at the rock's height -depth above the surface.
        const double temperature = depth >= 0
            ? erosion::transientTemp(p, -depth, elapsedSeconds)
            : p.surfaceTemp + lapseRateCkm * depth / 1000.0;
        sample.path.push_back({ timeMa, temperature });
        sample.depthM.push_back(depth);
    }
    return sample;
}

} // namespace ages

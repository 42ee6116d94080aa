#include "periodicpaths.h"

#include "risingpath.h"

#include <algorithm>
#include <cmath>

namespace ages {

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
    const std::vector<periodic::RisingPoint> rising
        = periodic::risingPath(model, xM, durationMyr, intervals);
    SamplePath sample;
    sample.path.reserve(rising.size());
    sample.depthM.reserve(rising.size());
    for (const periodic::RisingPoint& point : rising) {
        sample.path.push_back({ point.timeMa, point.temperatureC });
        sample.depthM.push_back(point.depthM);
    }
    return sample;
}

} // namespace ages

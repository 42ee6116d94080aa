#include "coolingpath.h"

#include <algorithm>
#include <cmath>

namespace thermochron {

double temperatureAt(const CoolingPath& path, double timeMa)
{
    if (timeMa >= path.front().timeMa)
        return path.front().temperatureC;
    if (timeMa <= path.back().timeMa)
        return path.back().temperatureC;
    // The first point younger than timeMa; the path runs from old (large time) to young.
    const auto younger = std::find_if(path.begin(), path.end(),
        [timeMa](const PathPoint& point) { return point.timeMa < timeMa; });
    const auto older = std::prev(younger);
    const double fraction = (older->timeMa - timeMa) / (older->timeMa - younger->timeMa);
    return older->temperatureC + fraction * (younger->temperatureC - older->temperatureC);
}

CoolingPath refinePath(const CoolingPath& path, double maxTimeStepMyr, double maxTemperatureStepC)
{
    CoolingPath refined;
    refined.reserve(path.size());
    refined.push_back(path.front());
    for (std::size_t i = 1; i < path.size(); ++i) {
        const PathPoint& from = path[i - 1];
        const PathPoint& to = path[i];
        const double duration = from.timeMa - to.timeMa;
        const double change = std::abs(to.temperatureC - from.temperatureC);
        const double steps = std::max(
            { 1.0, std::ceil(duration / maxTimeStepMyr), std::ceil(change / maxTemperatureStepC) });
        const int count = static_cast<int>(steps);
        for (int k = 1; k < count; ++k) {
            const double fraction = static_cast<double>(k) / count;
            refined.push_back({ from.timeMa - fraction * duration,
                from.temperatureC + fraction * (to.temperatureC - from.temperatureC) });
        }
        refined.push_back(to);
    }
    return refined;
}

} // namespace thermochron

#include "samplepath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ages {

double SamplePath::depthAt(const double timeMa) const
{
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    if (depthM.size() != path.size() || path.empty() || !std::isfinite(timeMa))
        return none;
    // Times decrease along the path: find the first point not older than timeMa.
    const auto later = std::partition_point(path.begin(), path.end(),
        [timeMa](const thermochron::PathPoint& point) { return point.timeMa > timeMa; });
    if (later == path.begin())
        return later->timeMa == timeMa ? depthM.front() : none;
    if (later == path.end())
        return none;
    const auto k = static_cast<std::size_t>(later - path.begin());
    const double older = path[k - 1].timeMa;
    const double younger = path[k].timeMa;
    const double fraction = (older - timeMa) / (older - younger);
    return depthM[k - 1] + fraction * (depthM[k] - depthM[k - 1]);
}

} // namespace ages

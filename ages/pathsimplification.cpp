#include "pathsimplification.h"

#include <cmath>
#include <utility>
#include <vector>

namespace ages {

thermochron::CoolingPath simplifiedPath(
    const thermochron::CoolingPath& path, const double toleranceC)
{
    if (path.size() <= 2)
        return path;
    std::vector<bool> kept(path.size(), false);
    kept.front() = kept.back() = true;

    // Each span (first, last) of kept ends: find the point furthest, in temperature, from the
    // chord between them; keep it and look at both halves if it is beyond the tolerance.
    std::vector<std::pair<std::size_t, std::size_t>> spans { { 0, path.size() - 1 } };
    while (!spans.empty()) {
        const auto [first, last] = spans.back();
        spans.pop_back();
        const thermochron::PathPoint& a = path[first];
        const thermochron::PathPoint& b = path[last];
        const double slope = (b.temperatureC - a.temperatureC) / (b.timeMa - a.timeMa); // C/Myr
        std::size_t furthest = first;
        double largest = 0;
        for (std::size_t k = first + 1; k < last; ++k) {
            const double chord = a.temperatureC + slope * (path[k].timeMa - a.timeMa);
            const double deviation = std::abs(path[k].temperatureC - chord);
            if (deviation > largest) {
                largest = deviation;
                furthest = k;
            }
        }
        if (largest > toleranceC) {
            kept[furthest] = true;
            spans.push_back({ first, furthest });
            spans.push_back({ furthest, last });
        }
    }

    thermochron::CoolingPath simplified;
    for (std::size_t k = 0; k < path.size(); ++k)
        if (kept[k])
            simplified.push_back(path[k]);
    return simplified;
}

} // namespace ages

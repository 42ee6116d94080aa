#include "coolingpath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace thermochron {

void checkPath(const CoolingPath& path)
{
    if (path.size() < 2)
        throw std::invalid_argument("a cooling path needs at least two points");
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (!std::isfinite(path[i].timeMa) || !std::isfinite(path[i].temperatureC))
            throw std::invalid_argument(
                "cooling path point " + std::to_string(i + 1) + " is not a finite number");
        if (i > 0 && !(path[i].timeMa < path[i - 1].timeMa))
            throw std::invalid_argument("cooling path point " + std::to_string(i + 1)
                + " is not younger than the one before (times run oldest first)");
    }
}

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

double closureTemperatureAt(const CoolingPath& path, double ageMa)
{
    return ageMa > path.front().timeMa ? std::numeric_limits<double>::quiet_NaN()
                                       : temperatureAt(path, ageMa);
}

CoolingPath timeSteps(const CoolingPath& path, double maxTimeStepMyr, double maxTemperatureStepC)
{
    const auto fits = [&](const PathPoint& from, const PathPoint& to) {
        return from.timeMa - to.timeMa <= maxTimeStepMyr
            && std::abs(to.temperatureC - from.temperatureC) <= maxTemperatureStepC;
    };
    CoolingPath steps { path.front() };
    std::size_t next = 1;
    while (next < path.size()) {
        const PathPoint from = steps.back();
        if (fits(from, path[next])) {
            // Merge while every point on the way stays within the limits of the step's start;
            // the path is linear between its points, so checking the points suffices.
            while (next + 1 < path.size() && fits(from, path[next + 1]))
                ++next;
            steps.push_back(path[next++]);
            continue;
        }
        // One segment alone exceeds a limit: equal sub-steps up to its end.
        const PathPoint& to = path[next++];
        const double duration = from.timeMa - to.timeMa;
        const double change = std::abs(to.temperatureC - from.temperatureC);
        const int count = static_cast<int>(std::max(
            std::ceil(duration / maxTimeStepMyr), std::ceil(change / maxTemperatureStepC)));
        for (int k = 1; k < count; ++k) {
            const double fraction = static_cast<double>(k) / count;
            steps.push_back({ from.timeMa - fraction * duration,
                from.temperatureC + fraction * (to.temperatureC - from.temperatureC) });
        }
        steps.push_back(to);
    }
    return steps;
}

CoolingPath refinedTowardsEnd(const CoolingPath& steps, double youngestStepMyr, double ageFraction)
{
    double longestStepMyr = 0;
    for (std::size_t j = 0; j + 1 < steps.size(); ++j)
        longestStepMyr = std::max(longestStepMyr, steps[j].timeMa - steps[j + 1].timeMa);
    const double end = steps.back().timeMa;
    const double duration = steps.front().timeMa - end;

    // The cuts, as times before the end, youngest first.
    std::vector<double> cuts;
    for (double tau = youngestStepMyr; tau < duration && ageFraction * tau < longestStepMyr;
         tau *= 1.0 + ageFraction)
        cuts.push_back(tau);

    CoolingPath refined;
    refined.reserve(steps.size() + cuts.size());
    auto cut = cuts.rbegin(); // the oldest cut first, as the steps run
    for (std::size_t j = 0; j + 1 < steps.size(); ++j) {
        const PathPoint& older = steps[j];
        const PathPoint& younger = steps[j + 1];
        refined.push_back(older);
        for (; cut != cuts.rend() && end + *cut > younger.timeMa; ++cut) {
            const double timeMa = end + *cut;
            if (timeMa >= older.timeMa)
                continue;
            const double fraction = (older.timeMa - timeMa) / (older.timeMa - younger.timeMa);
            refined.push_back(
                { timeMa, older.temperatureC + fraction * (younger.temperatureC - older.temperatureC) });
        }
    }
    refined.push_back(steps.back());
    return refined;
}

} // namespace thermochron

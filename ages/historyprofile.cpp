#include "historyprofile.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace ages {

namespace {

struct RangeEnd {
    double ma = 0;
    bool reachesBound = false;
};

// Where the curve between points i (within the level) and next (above it) crosses the level:
// on the parabola through them and the point before i (towards the minimum) when it crosses
// within the segment, otherwise on the straight line.
double crossing(const ChangeTimeProfile& profile, std::size_t before, bool hasBefore, std::size_t i,
    std::size_t next, double level)
{
    const auto& t = profile.changeTimesMa;
    const auto& c = profile.chi2;
    const double linear = t[i] + (level - c[i]) / (c[next] - c[i]) * (t[next] - t[i]);
    if (!hasBefore || std::isnan(c[before]))
        return linear;
    // p(x) = c_i + d1 (x - t_i) + d2 (x - t_i)(x - t_next), divided differences.
    const double d1 = (c[next] - c[i]) / (t[next] - t[i]);
    const double d2 = ((c[before] - c[i]) / (t[before] - t[i]) - d1) / (t[before] - t[next]);
    // p(x) = level as a quadratic in u = x - t_i: d2 u^2 + (d1 - d2 h) u + (c_i - level) = 0.
    const double h = t[next] - t[i];
    const double qa = d2;
    const double qb = d1 - d2 * h;
    const double qc = c[i] - level;
    const double discriminant = qb * qb - 4 * qa * qc;
    if (qa == 0 || discriminant < 0)
        return linear;
    const double root = std::sqrt(discriminant);
    for (const double u : { (-qb + root) / (2 * qa), (-qb - root) / (2 * qa) }) {
        if (u / h >= 0 && u / h <= 1) // within the segment, whichever way it runs
            return t[i] + u;
    }
    return linear;
}

// From index best (within the level) towards the end in direction step (+1 or -1): where the
// curve crosses the level, or the bound when the last point is within it. A point that is not a
// number stops the walk at the point before it.
RangeEnd walkToLevel(
    const ChangeTimeProfile& profile, std::size_t best, int step, double level, double bound)
{
    const auto& t = profile.changeTimesMa;
    const auto& c = profile.chi2;
    const std::size_t last = step < 0 ? 0 : t.size() - 1;
    const std::size_t first = step < 0 ? t.size() - 1 : 0;
    for (std::size_t i = best; i != last; i += step) {
        const std::size_t next = i + step;
        if (std::isnan(c[next]))
            return { t[i], false };
        if (c[next] > level)
            return { crossing(profile, i - step, i != first, i, next, level), false };
    }
    return { bound, true };
}

} // namespace

MisfitLevel misfitLevel(double chi2Min, const HistorySpace& space)
{
    return misfitLevel(chi2Min, space.degreesOfFreedom());
}

void readRange(ChangeTimeProfile& profile, double level, ValueBounds bounds)
{
    const auto& c = profile.chi2;
    if (c.empty() || c.size() != profile.changeTimesMa.size())
        throw std::invalid_argument("a profile needs one chi2 per change time");
    std::size_t best = c.size();
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (!std::isnan(c[i]) && (best == c.size() || c[i] < c[best]))
            best = i;
    }
    if (best == c.size())
        throw std::runtime_error("no history of the profile gave a misfit that is a number");
    profile.bestMa = profile.changeTimesMa[best];
    if (c[best] > level) { // a level below the profile: the range shrinks to its lowest point
        profile.rangeLowMa = profile.rangeHighMa = profile.bestMa;
        profile.rangeReachesLowBound = profile.rangeReachesHighBound = false;
        return;
    }
    const RangeEnd low = walkToLevel(profile, best, -1, level, bounds.low);
    const RangeEnd high = walkToLevel(profile, best, +1, level, bounds.high);
    profile.rangeLowMa = low.ma;
    profile.rangeReachesLowBound = low.reachesBound;
    profile.rangeHighMa = high.ma;
    profile.rangeReachesHighBound = high.reachesBound;
}

ChangeTimeProfile sampledProfile(
    const std::vector<TriedHistory>& tried, int change, ValueBounds bounds, int binCount)
{
    if (change < 1 || binCount < 1 || !(bounds.low < bounds.high))
        throw std::invalid_argument("a sampled profile needs a change, bins and bounds");
    const std::size_t index = 2 * static_cast<std::size_t>(change) - 1; // in the parameters
    const double width = (bounds.high - bounds.low) / binCount;
    std::vector<const TriedHistory*> lowest(binCount, nullptr);
    for (const TriedHistory& history : tried) {
        if (history.parameters.size() <= index || std::isnan(history.chi2))
            continue;
        const double changeMa = history.parameters[index];
        if (!bounds.contains(changeMa))
            continue;
        const int bin = std::min(binCount - 1, static_cast<int>((changeMa - bounds.low) / width));
        if (!lowest[bin] || history.chi2 < lowest[bin]->chi2)
            lowest[bin] = &history;
    }
    ChangeTimeProfile profile;
    profile.change = change;
    for (const TriedHistory* history : lowest) {
        if (history) {
            profile.changeTimesMa.push_back(history->parameters[index]);
            profile.chi2.push_back(history->chi2);
        }
    }
    return profile;
}

} // namespace ages

#include "changetimerange.h"

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

} // namespace ages

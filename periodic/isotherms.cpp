#include "isotherms.h"

#include <boost/math/tools/toms748_solve.hpp>

#include <cmath>
#include <cstdint>
#include <limits>

namespace periodic {

namespace {

// The column from the surface to the base is sampled at this many equal intervals to bracket
// each crossing (50 m on the default 51 km column) before the root is refined.
constexpr int scanIntervals = 1000;
// The bracket is refined until its ends agree to this many bits (about 1e-9 relative).
constexpr int rootBits = 30;
constexpr std::uintmax_t maxRootIterations = 100;

constexpr double notFound = std::numeric_limits<double>::quiet_NaN();

} // namespace

std::vector<double> isothermHeights(
    const PeriodicSteadyState& model, const double x, const std::vector<double>& temps)
{
    const VerticalProfile column = model.column(x);
    const double top = -model.surfaceHeight(x);
    const double base = model.problem().basalDepth;
    const double step = (base - top) / scanIntervals;

    // The column is sampled from the top down only as far as some isotherm needs it: the usual
    // closure temperatures lie in the upper quarter of the column.
    std::vector<double> depths;
    std::vector<double> values;
    auto sample = [&](const int i) {
        while (static_cast<int>(values.size()) <= i) {
            const int next = static_cast<int>(values.size());
            depths.push_back(next == scanIntervals ? base : top + next * step);
            values.push_back(column.temperature(depths.back()));
        }
        return values[i];
    };

    std::vector<double> heights;
    heights.reserve(temps.size());
    for (const double target : temps) {
        double height = notFound;
        for (int i = 0; i <= scanIntervals; ++i) {
            const double here = sample(i) - target;
            if (here == 0.0) {
                height = -depths[i];
                break;
            }
            if (i == scanIntervals) {
                break;
            }
            const double below = sample(i + 1) - target;
            if ((here < 0.0) != (below < 0.0) && below != 0.0) {
                // T - target changes sign inside [z_i, z_i+1]: refine the bracket (TOMS 748,
                // which never leaves it, unlike Newton's method).
                std::uintmax_t iterations = maxRootIterations;
                const auto [lo, hi] = boost::math::tools::toms748_solve(
                    [&](const double z) { return column.temperature(z) - target; }, depths[i],
                    depths[i + 1], here, below, boost::math::tools::eps_tolerance<double>(rootBits),
                    iterations);
                height = -0.5 * (lo + hi);
                break;
            }
        }
        heights.push_back(height);
    }
    return heights;
}

} // namespace periodic

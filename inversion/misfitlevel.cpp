#include "misfitlevel.h"

#include <algorithm>
#include <cmath>

namespace ages {

namespace {

// One unit of chi2: the one-standard-error interval of a single parameter.
constexpr double deltaChi2 = 1.0;

// More decimals than this show only the rounding of the misfit curve.
constexpr int mostDecimals = 12;

} // namespace

MisfitLevel misfitLevel(const double chi2Min, const long degreesOfFreedom)
{
    MisfitLevel result;
    result.chi2Min = chi2Min;
    if (degreesOfFreedom > 0)
        result.reducedChi2 = chi2Min / static_cast<double>(degreesOfFreedom);
    result.scaled = result.reducedChi2 > deltaChi2; // false for NaN
    result.level = chi2Min + (result.scaled ? result.reducedChi2 : deltaChi2);
    return result;
}

int rangeDecimals(const double low, const double high, const int fewest)
{
    const double width = std::abs(high - low);
    if (!(width > 0) || !std::isfinite(width))
        return fewest;
    // A width w = d x 10^e (1 <= d < 10) shows two significant digits with 1 - e decimals.
    const int twoDigits = 1 - static_cast<int>(std::floor(std::log10(width)));
    return std::clamp(twoDigits, fewest, std::max(fewest, mostDecimals));
}

} // namespace ages

#include "fitrefusal.h"

#include "numberword.h"
#include "steadystate.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace periodic {

namespace {

// Deeper bases are tried down to this many wavelengths below the valley floors: there a mode of
// the first harmonic has decayed by exp(-4 pi) ~ 3e-6 and the base no longer constrains the fit.
constexpr double deepestGapInWavelengths = 2.0;
// At most this many deeper bases are tried (the gap grows by 2^40 ~ 1e12), which bounds the time
// a refusal takes however thin the gap and long the wavelength.
constexpr int maxDoublings = 40;

// x rounded up to two significant digits (1002 -> 1100), so that the suggestion reads well.
double roundUpToTwoDigits(const double x)
{
    const double unit = std::pow(10.0, std::floor(std::log10(x)) - 1.0);
    return std::ceil(x / unit) * unit;
}

bool fitsWithBaseAt(PeriodicParameters parameters, const double basalDepth)
{
    parameters.basalDepth = basalDepth;
    return PeriodicSteadyState::solve(toProblem(parameters)).largestSurfaceResidual()
        <= acceptableResidual;
}

} // namespace

std::optional<double> sufficientBasalDepth(const PeriodicParameters& p)
{
    // The gap between the valley floors and the base is doubled until the fit holds.
    const double deepest = p.reliefAmplitude + deepestGapInWavelengths * p.wavelength;
    double gap = p.basalDepth - p.reliefAmplitude;
    double tried = p.basalDepth;
    for (int doubling = 0; doubling < maxDoublings && tried < deepest; ++doubling) {
        gap *= 2.0;
        const bool last = doubling + 1 == maxDoublings;
        const double depth
            = last ? deepest : std::min(roundUpToTwoDigits(p.reliefAmplitude + gap), deepest);
        if (depth <= tried) {
            continue;
        }
        if (fitsWithBaseAt(p, depth)) {
            return depth;
        }
        tried = depth;
    }
    return std::nullopt;
}

std::string fitRefusal(const PeriodicParameters& p, const double residual)
{
    if (std::isnan(residual)) {
        // The exponentials of the series overflowed: no depth or relief tells why.
        return "the series cannot be evaluated for these lengths (its surface misfit is not a "
               "number); check -w, -A and -z";
    }
    const std::string misfit = "the surface misfit is " + numberWord(residual)
        + " C, above the limit of " + numberWord(acceptableResidual) + " C";
    if (const auto depth = sufficientBasalDepth(p)) {
        return misfit + ": the base (-z " + numberWord(p.basalDepth)
            + " m) lies too close below the valley floors (" + numberWord(p.reliefAmplitude)
            + " m deep) for the series to meet the surface there; deepen it (-z "
            + numberWord(*depth) + " or deeper)";
    }
    const double steepness = 2.0 * std::numbers::pi * p.reliefAmplitude / p.wavelength;
    return "relief too steep for the method: at 2 pi h0 / lambda = " + numberWord(steepness) + " "
        + misfit + "; lower the relief (-A) or lengthen the wavelength (-w)";
}

} // namespace periodic

#include "fanningannealing.h"

#include <cmath>

namespace thermochron {

namespace {

// r_mr0 from Dpar (Ketcham et al. 2007, Am. Mineral. 92:799): 0.84 ((4.58 - Dpar) / 2.98)^0.21
// between the least and the most resistant Dpar.
constexpr double leastResistantDparUm = 1.75;
constexpr double mostResistantDparUm = 4.58;
constexpr double dparSpanUm = 2.98;
constexpr double resistantThresholdScale = 0.84;
constexpr double resistantThresholdExponent = 0.21;
// kappa = 1.04 - r_mr0 (Ketcham et al. 2007); Flowers et al. (2009) keep it for the damage.
constexpr double kappaOffset = 1.04;

// Apatite reduced density against reduced c-axis projected length (Ketcham et al. 2007): linear
// above the break, quadratic down to the length where tracks no longer count.
constexpr double apatiteDensityBreak = 0.765;
constexpr double apatiteShortestCounted = 0.55;

// r_mr0 of the damage in apatite, Flowers et al. (2009), GCA 73:2347.
constexpr double apatiteDamageResistantLength = 0.83;

// Zircon damage (Guenthner et al. 2013, Am. J. Sci. 313:145): rho = (r - 0.2) / 0.8 from r = 0.36.
constexpr double zirconDensityOffset = 0.2;
constexpr double zirconDensitySpan = 0.8;
constexpr double zirconShortestCounted = 0.36;

} // namespace

double apatiteReducedDensity(double length)
{
    if (length >= apatiteDensityBreak)
        return 1.600 * length - 0.600;
    if (length >= apatiteShortestCounted)
        return 9.205 * length * length - 9.157 * length + 2.269;
    return 0.0;
}

double zirconReducedDensity(double length)
{
    return length >= zirconShortestCounted ? (length - zirconDensityOffset) / zirconDensitySpan
                                           : 0.0;
}

double resistantLengthThreshold(double dparUm)
{
    if (dparUm <= leastResistantDparUm)
        return resistantThresholdScale;
    if (dparUm >= mostResistantDparUm)
        return 0.0;
    return resistantThresholdScale
        * std::pow((mostResistantDparUm - dparUm) / dparSpanUm, resistantThresholdExponent);
}

AnnealingLaw apatiteTrackAnnealing(double dparUm)
{
    const double threshold = resistantLengthThreshold(dparUm);
    return { apatiteFanningFit, threshold, kappaOffset - threshold, apatiteReducedDensity,
        apatiteShortestCounted };
}

AnnealingLaw apatiteDamageAnnealing()
{
    return { apatiteFanningFit, apatiteDamageResistantLength,
        kappaOffset - apatiteDamageResistantLength, apatiteReducedDensity,
        apatiteShortestCounted };
}

AnnealingLaw zirconDamageAnnealing()
{
    return { zirconFanningFit, 0.0, 1.0, zirconReducedDensity, zirconShortestCounted };
}

double fittedLength(const FanningFit& fit, double timeSeconds, double temperatureKelvin)
{
    return fittedLengthOfG(fit,
        fit.c0
            + fit.c1 * (std::log(timeSeconds) - fit.c2)
                / (std::log(1.0 / temperatureKelvin) - fit.c3));
}

// Both are evaluated for every cohort at every step of a damage model: exp and log rather than
// pow, and no power at all for the fit's own length.
double fittedLengthOfG(const FanningFit& fit, double g)
{
    return 1.0 / (std::exp(std::log(g) / fit.alpha) + 1.0);
}

double reducedLength(const AnnealingLaw& law, double fitted)
{
    if (fitted <= law.resistantLength)
        return 0.0;
    if (law.resistantLength == 0.0 && law.kappa == 1.0)
        return fitted;
    return std::exp(
        law.kappa * std::log((fitted - law.resistantLength) / (1.0 - law.resistantLength)));
}

double erasureTimeSeconds(const AnnealingLaw& law, double temperatureKelvin)
{
    // The fitted length of the shortest counted track, its g, and the time that reaches it.
    const double fitted = law.resistantLength
        + (1.0 - law.resistantLength) * std::pow(law.shortestCountedLength, 1.0 / law.kappa);
    const double g = std::pow(1.0 / fitted - 1.0, law.fit.alpha);
    const FanningFit& f = law.fit;
    return std::exp(f.c2 + (g - f.c0) * (std::log(1.0 / temperatureKelvin) - f.c3) / f.c1);
}

} // namespace thermochron

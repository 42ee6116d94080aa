#include "heliumproduction.h"

#include "physicalconstants.h"

#include <boost/math/tools/roots.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace thermochron {

namespace {

// Standard atomic weights of uranium, thorium and samarium, g/mol (IUPAC: Meija et al. 2016,
// Pure Appl. Chem. 88:265).
constexpr double uraniumMolarMass = 238.02891;
constexpr double thoriumMolarMass = 232.0377;
constexpr double samariumMolarMass = 150.36;
// Atomic abundance of 147Sm in natural samarium (Berglund and Wieser 2011, Pure Appl. Chem.
// 83:397).
constexpr double samarium147Abundance = 0.1499;
// eU = U + 0.238 Th + 0.0012 Sm (Cooperdock, Ketcham and Stockli 2019, Geochronology 1:17).
constexpr double thoriumUraniumEquivalent = 0.238;
constexpr double samariumUraniumEquivalent = 0.0012;
// Grams per gram in one part per million.
constexpr double perPpm = 1e-6;
// Bits of precision of the age; far below any other error of the model.
constexpr int ingrowthAgeBits = 40;
constexpr std::uintmax_t maxNewtonIterations = 100;

double decayConstantPerMyr(std::size_t parent)
{
    return decayConstantPerYear[parent] * yearsPerMyr;
}

} // namespace

PerParent parentAmounts(const Grain& grain)
{
    const double uranium = grain.uPpm * perPpm / uraniumMolarMass;
    const double thorium = grain.thPpm * perPpm / thoriumMolarMass;
    const double samarium147 = grain.smPpm * perPpm / samariumMolarMass * samarium147Abundance;
    return { uranium * uraniumIsotopeRatio / (uraniumIsotopeRatio + 1),
        uranium / (uraniumIsotopeRatio + 1), thorium, samarium147 };
}

double effectiveUraniumPpm(const Grain& grain)
{
    return grain.uPpm + thoriumUraniumEquivalent * grain.thPpm
        + samariumUraniumEquivalent * grain.smPpm;
}

PerParent heliumProductionRates(const PerParent& presentAmounts, double timeMa)
{
    PerParent rates {};
    for (std::size_t k = 0; k < rates.size(); ++k) {
        const double lambda = decayConstantPerMyr(k);
        rates[k] = alphasPerDecay[k] * lambda * presentAmounts[k] * std::exp(lambda * timeMa);
    }
    return rates;
}

double heliumIngrowth(const PerParent& amounts, double timeMyr)
{
    double helium = 0;
    for (std::size_t k = 0; k < amounts.size(); ++k)
        helium += alphasPerDecay[k] * amounts[k] * std::expm1(decayConstantPerMyr(k) * timeMyr);
    return helium;
}

double ingrowthAge(const PerParent& amounts, double heliumMolPerGram)
{
    // He(t) - He = 0 is increasing and convex in t, so Newton's method from the linear estimate
    // He / He'(0), which lies beyond the root, closes in on it from above.
    const auto residual = [&](double time) {
        double value = -heliumMolPerGram, slope = 0;
        for (std::size_t k = 0; k < amounts.size(); ++k) {
            const double lambda = decayConstantPerMyr(k);
            value += alphasPerDecay[k] * amounts[k] * std::expm1(lambda * time);
            slope += alphasPerDecay[k] * amounts[k] * lambda * std::exp(lambda * time);
        }
        return std::pair { value, slope };
    };
    const double initialSlope = residual(0).second;
    if (!(heliumMolPerGram > 0) || !(initialSlope > 0))
        return 0.0;
    const double guess = heliumMolPerGram / initialSlope;
    std::uintmax_t iterations = maxNewtonIterations;
    return boost::math::tools::newton_raphson_iterate(
        residual, guess, 0.0, guess, ingrowthAgeBits, iterations);
}

double retainedAlphaFraction(double radius, double grainRadius, double stoppingDistance)
{
    if (radius <= grainRadius - stoppingDistance)
        return 1.0;
    // Zero where the whole sphere of reach lies outside the grain (r <= s - a, grains smaller
    // than the stopping distance); the expression would go negative there.
    const double retained = 0.5
        + (grainRadius * grainRadius - radius * radius - stoppingDistance * stoppingDistance)
            / (4.0 * radius * stoppingDistance);
    return std::max(retained, 0.0);
}

double ejectionCorrection(const Grain& grain, const PerParent& stoppingDistanceUm)
{
    const PerParent rates = heliumProductionRates(parentAmounts(grain), 0.0);
    double weighted = 0, total = 0;
    for (std::size_t k = 0; k < rates.size(); ++k) {
        weighted += rates[k] * stoppingDistanceUm[k];
        total += rates[k];
    }
    const double s = weighted / total;
    const double a = grain.radiusUm;
    return 1.0 - 3.0 * s / (4.0 * a) + s * s * s / (16.0 * a * a * a);
}

} // namespace thermochron

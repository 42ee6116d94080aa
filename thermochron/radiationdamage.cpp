#include "radiationdamage.h"

#include "heliumproduction.h"
#include "physicalconstants.h"
#include "trackcohorts.h"

#include <cmath>

namespace thermochron {

std::vector<double> annealedAlphaDose(
    const CoolingPath& steps, const Grain& grain, const AnnealingLaw& law)
{
    return annealedAlphaDose(steps, parentAmounts(grain), law);
}

std::vector<double> annealedAlphaDose(
    const CoolingPath& steps, const PerParent& presentAmounts, const AnnealingLaw& law)
{
    PerParent alphas = presentAmounts; // alphas per gram, per unit of e^(lambda t) - 1
    for (std::size_t k = 0; k < alphas.size(); ++k)
        alphas[k] *= alphasPerDecay[k] * avogadroConstant;
    // Alphas per gram made from timeMa to the present: sum_k n_k N_k (e^(lambda_k t) - 1).
    const auto madeSince = [&](double timeMa) {
        double made = 0;
        for (std::size_t k = 0; k < alphas.size(); ++k)
            made += alphas[k] * std::expm1(decayConstantPerYear[k] * yearsPerMyr * timeMa);
        return made;
    };

    TrackCohorts cohorts(law);
    std::vector<double> dose(steps.size(), 0.0);
    double madeBefore = madeSince(steps.front().timeMa);
    for (std::size_t j = 0; j + 1 < steps.size(); ++j) {
        const double madeAfter = madeSince(steps[j + 1].timeMa);
        const double temperature
            = 0.5 * (steps[j].temperatureC + steps[j + 1].temperatureC) + zeroCelsiusInKelvin;
        cohorts.step(
            (steps[j].timeMa - steps[j + 1].timeMa) * secondsPerMyr, temperature, madeBefore - madeAfter);
        dose[j + 1] = cohorts.totals().density;
        madeBefore = madeAfter;
    }
    return dose;
}

} // namespace thermochron

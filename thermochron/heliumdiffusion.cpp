#include "heliumdiffusion.h"

#include "physicalconstants.h"
#include "radialgrid.h"
#include "radiationdamage.h"
#include "trackcohorts.h"
#include "tridiagonalsystem.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace thermochron {

namespace {

// A step in which helium crosses the whole grain (D dt / a^2 above this) is taken fully
// implicit: Crank-Nicolson would carry slowly decaying oscillations out of it, while backward
// Euler goes straight to the quasi-steady profile that is all such a step leaves.
constexpr double openGrainFourierNumber = 1.0;
constexpr double crankNicolsonWeight = 0.5;
constexpr double backwardEulerWeight = 1.0;
constexpr int minimumRadialNodes = 3;

void checkInputs(const Grain& grain, const HeliumResolution& resolution)
{
    if (!(grain.radiusUm > 0) || !std::isfinite(grain.radiusUm))
        throw std::invalid_argument("the grain radius must be a positive number of um");
    const double parents = grain.uPpm + grain.thPpm + grain.smPpm;
    if (!(grain.uPpm >= 0) || !(grain.thPpm >= 0) || !(grain.smPpm >= 0) || !(parents > 0)
        || !std::isfinite(parents))
        throw std::invalid_argument("U, Th and Sm must be at least 0 ppm, and not all 0");
    if (resolution.radialNodes < minimumRadialNodes || !(resolution.maxTimeStepMyr > 0)
        || !(resolution.maxTemperatureStepC > 0) || !(resolution.damageTimeStepMyr > 0)
        || !(resolution.damageTemperatureStepC > 0) || !(resolution.ageFraction > 0))
        throw std::invalid_argument("the helium model needs at least 3 radial nodes and "
                                    "positive time and temperature steps");
}

// The diffusivity (um2/Myr) at each of the steps. Damage kinetics follow the damage on steps of
// their own and interpolate the dose linearly in time between them.
std::vector<double> diffusivities(const CoolingPath& steps, const CoolingPath& path,
    const HeliumKinetics& kinetics, const Grain& grain, const HeliumResolution& resolution)
{
    std::vector<double> dose(steps.size(), 0.0);
    if (const std::optional<AnnealingLaw> damage = damageAnnealing(kinetics.diffusion)) {
        const CoolingPath damageSteps = cohortSteps(path, *damage, resolution.damageTimeStepMyr,
            resolution.damageTemperatureStepC, resolution.ageFraction);
        const std::vector<double> damageDose = annealedAlphaDose(damageSteps, grain, *damage);
        std::size_t k = 0; // the damage step that holds the time, from its older end
        for (std::size_t j = 0; j < steps.size(); ++j) {
            const double timeMa = steps[j].timeMa;
            while (k + 2 < damageSteps.size() && damageSteps[k + 1].timeMa >= timeMa)
                ++k;
            const double fraction = (damageSteps[k].timeMa - timeMa)
                / (damageSteps[k].timeMa - damageSteps[k + 1].timeMa);
            dose[j] = damageDose[k] + fraction * (damageDose[k + 1] - damageDose[k]);
        }
    }
    constexpr double squareMicrometresPerMyrInSquareCentimetresPerSecond
        = squareMicrometresPerSquareCentimetre * secondsPerMyr;
    std::vector<double> diffusivity(steps.size());
    for (std::size_t j = 0; j < steps.size(); ++j)
        diffusivity[j] = squareMicrometresPerMyrInSquareCentimetresPerSecond
            * heliumDiffusivity(kinetics.diffusion, steps[j].temperatureC, dose[j]);
    return diffusivity;
}

} // namespace

Age heliumAge(const CoolingPath& path, const HeliumKinetics& kinetics, const Grain& grain,
    const HeliumResolution& resolution)
{
    checkPath(path);
    checkInputs(grain, resolution);
    const RadialGrid grid(resolution.radialNodes, grain.radiusUm);
    const std::size_t n = grid.nodes.size();
    const double a = grid.radius;

    // r times the fraction of alphas kept at r, per parent: the source is sum_k P_k(t) w_k(r).
    std::array<std::vector<double>, std::tuple_size_v<PerParent>> keptSource;
    for (std::size_t k = 0; k < keptSource.size(); ++k) {
        keptSource[k].resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const double r = grid.nodes[i];
            keptSource[k][i] = r * retainedAlphaFraction(r, a, kinetics.stoppingDistanceUm[k]);
        }
    }
    const PerParent presentAmounts = parentAmounts(grain);

    // helium: the grain's radiogenic helium, none at the start. inherited: a uniform unit
    // concentration at the start that is only lost, to tell whether the path resets the grain.
    std::vector<double> helium(n, 0.0), inherited(grid.nodes);
    const double inheritedAtStart = grid.meanConcentration(inherited);
    std::vector<double> lower(n), diagonal(n), upper(n), next(n);
    numerics::TridiagonalSystem solver;
    bool resetReached = false;

    const CoolingPath steps
        = timeSteps(path, resolution.maxTimeStepMyr, resolution.maxTemperatureStepC);
    const std::vector<double> diffusivity
        = diffusivities(steps, path, kinetics, grain, resolution);
    for (std::size_t j = 0; j + 1 < steps.size(); ++j) {
        const double dt = steps[j].timeMa - steps[j + 1].timeMa; // Myr
        const double oldDiffusivity = diffusivity[j];
        const double newDiffusivity = diffusivity[j + 1];
        const double weight
            = std::max(oldDiffusivity, newDiffusivity) * dt / (a * a) > openGrainFourierNumber
            ? backwardEulerWeight
            : crankNicolsonWeight;
        // (u' - u) / dt = w D' L u' + (1 - w) D L u + r P(t_mid), L the second difference.
        const double implicitFactor = weight * newDiffusivity * dt;
        const double explicitFactor = (1.0 - weight) * oldDiffusivity * dt;
        for (std::size_t i = 0; i < n; ++i) {
            lower[i] = -implicitFactor * grid.lowerWeight[i];
            upper[i] = -implicitFactor * grid.upperWeight[i];
            diagonal[i] = 1.0 - lower[i] - upper[i];
        }
        solver.factor(lower, diagonal, upper);

        const PerParent production
            = heliumProductionRates(presentAmounts, 0.5 * (steps[j].timeMa + steps[j + 1].timeMa));
        grid.addExplicitDiffusion(helium, explicitFactor, next);
        for (std::size_t i = 0; i < n; ++i) {
            double source = 0;
            for (std::size_t k = 0; k < keptSource.size(); ++k)
                source += production[k] * keptSource[k][i];
            next[i] += dt * source;
        }
        solver.solve(next);
        helium.swap(next);

        // Diffusion only ever lowers the inherited helium: once below the limit it stays below,
        // and following it further would only drag it into subnormal numbers, which are slow.
        if (!resetReached) {
            grid.addExplicitDiffusion(inherited, explicitFactor, next);
            solver.solve(next);
            inherited.swap(next);
            resetReached
                = grid.meanConcentration(inherited) <= resetRetentionLimit * inheritedAtStart;
        }
    }

    const double end = path.back().timeMa;
    PerParent amountsAtEnd {};
    for (std::size_t k = 0; k < amountsAtEnd.size(); ++k)
        amountsAtEnd[k] = presentAmounts[k] * std::exp(decayConstantPerYear[k] * yearsPerMyr * end);
    const double rawAge = ingrowthAge(amountsAtEnd, grid.meanConcentration(helium));

    Age age;
    age.kinetics = kinetics.name;
    age.pathStartMa = path.front().timeMa;
    age.reset = resetReached;
    age.rawAgeMa = end + rawAge;
    age.ageMa = end + rawAge / ejectionCorrection(grain, kinetics.stoppingDistanceUm);
    age.closureTemperatureC = closureTemperatureAt(path, age.ageMa);
    return age;
}

Age heliumAge(const CoolingPath& path, Kinetics kinetics, const Grain& grain,
    const HeliumResolution& resolution)
{
    return heliumAge(path, heliumKinetics(kinetics), grain, resolution);
}

} // namespace thermochron

#include "heliumdiffusion.h"

#include "physicalconstants.h"
#include "radialgrid.h"
#include "radiationdamage.h"
#include "trackcohorts.h"
#include "tridiagonalsolver.h"

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

// The parents whose damage the grains share, one ppm each: U (238U and 235U in their natural
// ratio), Th and Sm. A grain's annealed dose is the sum of theirs weighted by its ppm.
constexpr std::array<Grain, 3> unitParents {
    Grain { .uPpm = 1, .thPpm = 0, .smPpm = 0 },
    Grain { .uPpm = 0, .thPpm = 1, .smPpm = 0 },
    Grain { .uPpm = 0, .thPpm = 0, .smPpm = 1 },
};

double ppmOf(const Grain& grain, std::size_t parent)
{
    return parent == 0 ? grain.uPpm : parent == 1 ? grain.thPpm : grain.smPpm;
}

// What every grain dated along one path shares.
struct PathShare {
    CoolingPath steps; // the diffusion's time steps
    // Per step j to j + 1: the helium production per mol/g of each parent present today,
    // alphas lambda e^(lambda t) at the step's middle, mol/g/Myr.
    std::vector<PerParent> productionPerAmount;
    // Damage kinetics: the annealed dose at each step per ppm of U, Th and Sm (empty for a
    // parent that no grain holds, and without damage).
    std::array<std::vector<double>, unitParents.size()> dosePerPpm;
};

// The annealed dose of each parent's damage, followed on steps of its own and interpolated
// linearly in time onto the diffusion's steps.
void shareDamage(PathShare& share, const CoolingPath& path, const AnnealingLaw& damage,
    std::span<const Grain> grains, const HeliumResolution& resolution)
{
    const CoolingPath& steps = share.steps;
    const CoolingPath damageSteps = cohortSteps(path, damage, resolution.damageTimeStepMyr,
        resolution.damageTemperatureStepC, resolution.ageFraction);
    for (std::size_t q = 0; q < unitParents.size(); ++q) {
        if (std::none_of(grains.begin(), grains.end(),
                [q](const Grain& grain) { return ppmOf(grain, q) > 0; }))
            continue;
        const std::vector<double> damageDose
            = annealedAlphaDose(damageSteps, parentAmounts(unitParents[q]), damage);
        std::vector<double>& dose = share.dosePerPpm[q];
        dose.resize(steps.size());
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
}

PathShare sharePath(const CoolingPath& path, const HeliumKinetics& kinetics,
    std::span<const Grain> grains, const HeliumResolution& resolution)
{
    PathShare share;
    share.steps = timeSteps(path, resolution.maxTimeStepMyr, resolution.maxTemperatureStepC);
    constexpr PerParent onePerParent { 1, 1, 1, 1 };
    for (std::size_t j = 0; j + 1 < share.steps.size(); ++j)
        share.productionPerAmount.push_back(heliumProductionRates(
            onePerParent, 0.5 * (share.steps[j].timeMa + share.steps[j + 1].timeMa)));
    if (const std::optional<AnnealingLaw> damage = damageAnnealing(kinetics.diffusion))
        shareDamage(share, path, *damage, grains, resolution);
    return share;
}

// The diffusivity (um2/Myr) of the grain at each of the steps.
std::vector<double> diffusivities(
    const PathShare& share, const HeliumKinetics& kinetics, const Grain& grain)
{
    constexpr double squareMicrometresPerMyrInSquareCentimetresPerSecond
        = squareMicrometresPerSquareCentimetre * secondsPerMyr;
    std::vector<double> diffusivity(share.steps.size());
    for (std::size_t j = 0; j < share.steps.size(); ++j) {
        double dose = 0;
        for (std::size_t q = 0; q < unitParents.size(); ++q)
            if (!share.dosePerPpm[q].empty())
                dose += ppmOf(grain, q) * share.dosePerPpm[q][j];
        diffusivity[j] = squareMicrometresPerMyrInSquareCentimetresPerSecond
            * heliumDiffusivity(kinetics.diffusion, share.steps[j].temperatureC, dose);
    }
    return diffusivity;
}

// One grain's age along the shared path.
Age grainAge(const CoolingPath& path, const PathShare& share, const HeliumKinetics& kinetics,
    const Grain& grain, const HeliumResolution& resolution)
{
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
    TridiagonalSolver solver;
    bool resetReached = false;

    const CoolingPath& steps = share.steps;
    const std::vector<double> diffusivity = diffusivities(share, kinetics, grain);
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

        PerParent production;
        for (std::size_t k = 0; k < production.size(); ++k)
            production[k] = presentAmounts[k] * share.productionPerAmount[j][k];
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

} // namespace

Age heliumAge(const CoolingPath& path, const HeliumKinetics& kinetics, const Grain& grain,
    const HeliumResolution& resolution)
{
    return heliumAges(path, kinetics, std::span(&grain, 1), resolution).front();
}

std::vector<Age> heliumAges(const CoolingPath& path, const HeliumKinetics& kinetics,
    std::span<const Grain> grains, const HeliumResolution& resolution)
{
    checkPath(path);
    for (const Grain& grain : grains)
        checkInputs(grain, resolution);
    const PathShare share = sharePath(path, kinetics, grains, resolution);
    std::vector<Age> ages;
    ages.reserve(grains.size());
    for (const Grain& grain : grains)
        ages.push_back(grainAge(path, share, kinetics, grain, resolution));
    return ages;
}

Age heliumAge(const CoolingPath& path, Kinetics kinetics, const Grain& grain,
    const HeliumResolution& resolution)
{
    return heliumAge(path, heliumKinetics(kinetics), grain, resolution);
}

} // namespace thermochron

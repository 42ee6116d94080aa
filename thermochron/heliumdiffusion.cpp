#include "heliumdiffusion.h"

#include "radialgrid.h"
#include "tridiagonalsolver.h"
#include "physicalconstants.h"

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

// D = D0 exp(-Ea / (R T)) in um2/Myr.
double diffusivity(const HeliumKinetics& kinetics, double temperatureC)
{
    const double d0 = kinetics.d0SquareCentimetresPerSecond * squareMicrometresPerSquareCentimetre
        * secondsPerMyr;
    const double activationEnergy = kinetics.activationEnergyKJPerMol * joulesPerKilojoule;
    return d0 * std::exp(-activationEnergy / (gasConstant * (temperatureC + zeroCelsiusInKelvin)));
}

void checkInputs(const Grain& grain, const HeliumResolution& resolution)
{
    if (!(grain.radiusUm > 0) || !std::isfinite(grain.radiusUm))
        throw std::invalid_argument("the grain radius must be a positive number of um");
    if (!(grain.uPpm >= 0) || !(grain.thPpm >= 0) || !(grain.uPpm + grain.thPpm > 0)
        || !std::isfinite(grain.uPpm + grain.thPpm))
        throw std::invalid_argument("U and Th must be at least 0 ppm, and not both 0");
    if (resolution.radialNodes < minimumRadialNodes || !(resolution.maxTimeStepMyr > 0)
        || !(resolution.maxTemperatureStepC > 0))
        throw std::invalid_argument("the helium model needs at least 3 radial nodes and "
                                    "positive time and temperature steps");
}

} // namespace

HeliumKinetics heliumKinetics(HeliumMineral mineral)
{
    // D0 (cm2/s) and Ea (kJ/mol): apatite Farley (2000), zircon Reiners et al. (2004).
    // Stopping distances (um) of the 238U, 235U and 232Th chains: Ketcham et al. (2011).
    switch (mineral) {
    case HeliumMineral::Apatite:
        return { 50.0, 138.0, { 18.81, 21.80, 22.25 } };
    case HeliumMineral::Zircon:
        return { 0.46, 169.0, { 15.55, 18.05, 18.43 } };
    }
    return {};
}

Age heliumAge(const CoolingPath& path, const HeliumKinetics& kinetics, const Grain& grain,
    const HeliumResolution& resolution)
{
    checkPath(path);
    checkInputs(grain, resolution);
    const RadialGrid grid(resolution.radialNodes, grain.radiusUm);
    const std::size_t n = grid.nodes.size();
    const double a = grid.radius;

    // r times the fraction of alphas kept at r, per chain: the source is sum_k P_k(t) w_k(r).
    std::array<std::vector<double>, 3> keptSource;
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

    const CoolingPath steps
        = timeSteps(path, resolution.maxTimeStepMyr, resolution.maxTemperatureStepC);
    double oldDiffusivity = diffusivity(kinetics, steps.front().temperatureC);
    for (std::size_t j = 0; j + 1 < steps.size(); ++j) {
        const double dt = steps[j].timeMa - steps[j + 1].timeMa; // Myr
        const double newDiffusivity = diffusivity(kinetics, steps[j + 1].temperatureC);
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
        for (std::size_t i = 0; i < n; ++i)
            next[i] += dt
                * (production[0] * keptSource[0][i] + production[1] * keptSource[1][i]
                    + production[2] * keptSource[2][i]);
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
        oldDiffusivity = newDiffusivity;
    }

    const double end = path.back().timeMa;
    PerParent amountsAtEnd {};
    for (std::size_t k = 0; k < amountsAtEnd.size(); ++k)
        amountsAtEnd[k] = presentAmounts[k] * std::exp(decayConstantPerYear[k] * yearsPerMyr * end);
    const double rawAge = ingrowthAge(amountsAtEnd, grid.meanConcentration(helium));

    Age age;
    age.rawAgeMa = end + rawAge;
    age.reset = resetReached;
    if (age.reset) {
        age.ageMa = end + rawAge / ejectionCorrection(grain, kinetics.stoppingDistanceUm);
        age.closureTemperatureC = temperatureAt(path, age.ageMa);
    } else {
        age.ageMa = path.front().timeMa;
        age.closureTemperatureC = path.front().temperatureC;
    }
    return age;
}

Age heliumAge(const CoolingPath& path, HeliumMineral mineral, const Grain& grain,
    const HeliumResolution& resolution)
{
    return heliumAge(path, heliumKinetics(mineral), grain, resolution);
}

} // namespace thermochron

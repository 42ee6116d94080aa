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
    // Damage kinetics: the annealing law and its own steps (empty without damage).
    std::optional<AnnealingLaw> damage;
    CoolingPath damageSteps;
    // The annealed dose at each diffusion step per ppm of U, Th and Sm, when the grains are more
    // than the parents they hold (empty for a parent that no grain holds); otherwise each grain
    // walks through its own cohorts.
    std::array<std::vector<double>, unitParents.size()> dosePerPpm;
    bool dosesShared = false;
};

// A dose followed on the damage steps, interpolated linearly in time onto the diffusion's steps.
std::vector<double> onDiffusionSteps(const PathShare& share, const std::vector<double>& damageDose)
{
    const CoolingPath& steps = share.steps;
    const CoolingPath& damageSteps = share.damageSteps;
    std::vector<double> dose(steps.size());
    std::size_t k = 0; // the damage step that holds the time, from its older end
    for (std::size_t j = 0; j < steps.size(); ++j) {
        const double timeMa = steps[j].timeMa;
        while (k + 2 < damageSteps.size() && damageSteps[k + 1].timeMa >= timeMa)
            ++k;
        const double fraction = (damageSteps[k].timeMa - timeMa)
            / (damageSteps[k].timeMa - damageSteps[k + 1].timeMa);
        dose[j] = damageDose[k] + fraction * (damageDose[k + 1] - damageDose[k]);
    }
    return dose;
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
    share.damage = damageAnnealing(kinetics.diffusion);
    if (!share.damage)
        return share;
    share.damageSteps = cohortSteps(path, *share.damage, resolution.damageTimeStepMyr,
        resolution.damageTemperatureStepC, resolution.ageFraction);
    std::array<bool, unitParents.size()> held {};
    for (std::size_t q = 0; q < unitParents.size(); ++q)
        held[q] = std::any_of(
            grains.begin(), grains.end(), [q](const Grain& grain) { return ppmOf(grain, q) > 0; });
    share.dosesShared
        = grains.size() > static_cast<std::size_t>(std::count(held.begin(), held.end(), true));
    if (!share.dosesShared)
        return share;
    for (std::size_t q = 0; q < unitParents.size(); ++q)
        if (held[q])
            share.dosePerPpm[q] = onDiffusionSteps(share,
                annealedAlphaDose(share.damageSteps, parentAmounts(unitParents[q]), *share.damage));
    return share;
}

// The grain's annealed dose at each diffusion step (zero without damage).
std::vector<double> annealedDose(const PathShare& share, const Grain& grain)
{
    if (!share.damage)
        return std::vector<double>(share.steps.size(), 0.0);
    if (!share.dosesShared)
        return onDiffusionSteps(share, annealedAlphaDose(share.damageSteps, grain, *share.damage));
    std::vector<double> dose(share.steps.size(), 0.0);
    for (std::size_t q = 0; q < unitParents.size(); ++q)
        for (std::size_t j = 0; j < dose.size() && !share.dosePerPpm[q].empty(); ++j)
            dose[j] += ppmOf(grain, q) * share.dosePerPpm[q][j];
    return dose;
}

// The diffusivity (um2/Myr) of the grain at each of the steps.
std::vector<double> diffusivities(
    const PathShare& share, const HeliumKinetics& kinetics, const Grain& grain)
{
    constexpr double squareMicrometresPerMyrInSquareCentimetresPerSecond
        = squareMicrometresPerSquareCentimetre * secondsPerMyr;
    const std::vector<double> dose = annealedDose(share, grain);
    std::vector<double> diffusivity(share.steps.size());
    for (std::size_t j = 0; j < share.steps.size(); ++j)
        diffusivity[j] = squareMicrometresPerMyrInSquareCentimetresPerSecond
            * heliumDiffusivity(kinetics.diffusion, share.steps[j].temperatureC, dose[j]);
    return diffusivity;
}

// The grains of one block, dated side by side: every array holds W lanes per radial node (lane l
// of node i at i W + l), and each step runs node by node across the lanes. Each lane does exactly
// the arithmetic of one grain alone; side by side, the recurrences of the tridiagonal solves of
// different grains overlap in the processor instead of waiting on one another's divisions.
template <std::size_t W> class GrainBlock {
public:
    GrainBlock(const PathShare& share, const HeliumKinetics& kinetics,
        std::span<const Grain, W> grains, const HeliumResolution& resolution)
        : m_share(share)
        , m_kinetics(kinetics)
        , m_grains(grains)
        , m_n(static_cast<std::size_t>(resolution.radialNodes))
        , m_lowerWeight(m_n * W)
        , m_upperWeight(m_n * W)
        , m_rWeight(m_n * W)
        , m_helium(m_n * W, 0.0)
        , m_inherited(m_n * W)
        , m_next(m_n * W)
        , m_lower(m_n * W)
        , m_upper(m_n * W)
        , m_pivot(m_n * W)
        , m_eliminatedUpper(m_n * W)
        , m_diagonal(W == 1 ? m_n : 0)
    {
        for (auto& source : m_keptSource)
            source.resize(m_n * W);
        for (std::size_t l = 0; l < W; ++l) {
            const Grain& grain = grains[l];
            const RadialGrid grid(resolution.radialNodes, grain.radiusUm);
            m_radius[l] = grid.radius;
            for (std::size_t i = 0; i < m_n; ++i) {
                const double r = grid.nodes[i];
                m_lowerWeight[i * W + l] = grid.lowerWeight[i];
                m_upperWeight[i * W + l] = grid.upperWeight[i];
                m_rWeight[i * W + l] = grid.rWeight[i];
                // r times the fraction of alphas kept at r, per parent: the source is
                // sum_k P_k(t) w_k(r).
                for (std::size_t k = 0; k < m_keptSource.size(); ++k)
                    m_keptSource[k][i * W + l]
                        = r * retainedAlphaFraction(r, grid.radius, kinetics.stoppingDistanceUm[k]);
                // A uniform unit concentration at the start that is only lost, to tell whether
                // the path resets the grain.
                m_inherited[i * W + l] = r;
            }
            m_presentAmounts[l] = parentAmounts(grain);
            m_diffusivity[l] = diffusivities(share, kinetics, grain);
        }
        m_inheritedAtStart = meanConcentrations(m_inherited);
    }

    // The ages of the lanes' grains along the path, into ages[0 .. W).
    void date(const CoolingPath& path, Age* ages)
    {
        const CoolingPath& steps = m_share.steps;
        std::array<double, W> implicitFactor, explicitFactor;
        std::array<PerParent, W> production;
        for (std::size_t j = 0; j + 1 < steps.size(); ++j) {
            const double dt = steps[j].timeMa - steps[j + 1].timeMa; // Myr
            for (std::size_t l = 0; l < W; ++l) {
                const double oldDiffusivity = m_diffusivity[l][j];
                const double newDiffusivity = m_diffusivity[l][j + 1];
                const double a = m_radius[l];
                const double weight = std::max(oldDiffusivity, newDiffusivity) * dt / (a * a)
                        > openGrainFourierNumber
                    ? backwardEulerWeight
                    : crankNicolsonWeight;
                // (u' - u) / dt = w D' L u' + (1 - w) D L u + r P(t_mid), L the second difference.
                implicitFactor[l] = weight * newDiffusivity * dt;
                explicitFactor[l] = (1.0 - weight) * oldDiffusivity * dt;
                for (std::size_t k = 0; k < production[l].size(); ++k)
                    production[l][k] = m_presentAmounts[l][k] * m_share.productionPerAmount[j][k];
            }
            factor(implicitFactor);

            addExplicitDiffusion(m_helium, explicitFactor);
            for (std::size_t i = 0; i < m_n; ++i) {
                for (std::size_t l = 0; l < W; ++l) {
                    double source = 0;
                    for (std::size_t k = 0; k < m_keptSource.size(); ++k)
                        source += production[l][k] * m_keptSource[k][i * W + l];
                    m_next[i * W + l] += dt * source;
                }
            }
            solve(m_next);
            m_helium.swap(m_next);

            // Diffusion only ever lowers the inherited helium: once below the limit it stays
            // below. A lane that got there is set to zero, which the steps keep at zero, rather
            // than followed into subnormal numbers, which are slow.
            if (m_resetCount < W) {
                addExplicitDiffusion(m_inherited, explicitFactor);
                solve(m_next);
                m_inherited.swap(m_next);
                const std::array<double, W> retained = meanConcentrations(m_inherited);
                for (std::size_t l = 0; l < W; ++l) {
                    if (!m_reset[l] && retained[l] <= resetRetentionLimit * m_inheritedAtStart[l]) {
                        m_reset[l] = true;
                        ++m_resetCount;
                        for (std::size_t i = 0; i < m_n; ++i)
                            m_inherited[i * W + l] = 0.0;
                    }
                }
            }
        }

        const double end = path.back().timeMa;
        const std::array<double, W> helium = meanConcentrations(m_helium);
        for (std::size_t l = 0; l < W; ++l) {
            PerParent amountsAtEnd {};
            for (std::size_t k = 0; k < amountsAtEnd.size(); ++k)
                amountsAtEnd[k] = m_presentAmounts[l][k]
                    * std::exp(decayConstantPerYear[k] * yearsPerMyr * end);
            const double rawAge = ingrowthAge(amountsAtEnd, helium[l]);
            Age& age = ages[l];
            age.kinetics = m_kinetics.name;
            age.pathStartMa = path.front().timeMa;
            age.reset = m_reset[l];
            age.rawAgeMa = end + rawAge;
            age.ageMa
                = end + rawAge / ejectionCorrection(m_grains[l], m_kinetics.stoppingDistanceUm);
            age.closureTemperatureC = closureTemperatureAt(path, age.ageMa);
        }
    }

private:
    // The mean concentration of each lane's sphere: (3 / a^3) int r u dr.
    std::array<double, W> meanConcentrations(const std::vector<double>& u) const
    {
        std::array<double, W> sum {};
        for (std::size_t i = 0; i < m_n; ++i)
            for (std::size_t l = 0; l < W; ++l)
                sum[l] += m_rWeight[i * W + l] * u[i * W + l];
        for (std::size_t l = 0; l < W; ++l)
            sum[l] = 3.0 * sum[l] / (m_radius[l] * m_radius[l] * m_radius[l]);
        return sum;
    }

    // u + f d2u/dr2 of each lane at the inner nodes, into m_next (u is 0 beyond both ends).
    void addExplicitDiffusion(const std::vector<double>& u, const std::array<double, W>& f)
    {
        for (std::size_t i = 0; i < m_n; ++i) {
            for (std::size_t l = 0; l < W; ++l) {
                const double here = u[i * W + l];
                const double inner = i > 0 ? u[(i - 1) * W + l] : 0.0;
                const double outer = i + 1 < m_n ? u[(i + 1) * W + l] : 0.0;
                m_next[i * W + l] = here
                    + f[l]
                        * (m_lowerWeight[i * W + l] * (inner - here)
                            + m_upperWeight[i * W + l] * (outer - here));
            }
        }
    }

    // Factors I - f L of each lane. One grain alone takes the twisted factorisation of common/,
    // whose two chains from both ends overlap. Side by side, the lanes' chains overlap already:
    // each lane is eliminated downwards (Thomas algorithm; diagonally dominant, no pivoting), row
    // i losing its sub-diagonal entry against the eliminated row i - 1.
    void factor(const std::array<double, W>& f)
    {
        if constexpr (W == 1) {
            for (std::size_t i = 0; i < m_n; ++i) {
                m_lower[i] = -f[0] * m_lowerWeight[i];
                m_upper[i] = -f[0] * m_upperWeight[i];
                m_diagonal[i] = 1.0 - m_lower[i] - m_upper[i];
            }
            m_system.factor(m_lower, m_diagonal, m_upper);
            return;
        }
        for (std::size_t i = 0; i < m_n; ++i) {
            for (std::size_t l = 0; l < W; ++l) {
                const std::size_t at = i * W + l;
                const double lower = -f[l] * m_lowerWeight[at];
                const double upper = -f[l] * m_upperWeight[at];
                const double diagonal = 1.0 - lower - upper;
                const double eliminated
                    = diagonal - (i > 0 ? lower * m_eliminatedUpper[at - W] : 0.0);
                m_lower[at] = lower;
                m_pivot[at] = 1.0 / eliminated;
                m_eliminatedUpper[at] = upper * m_pivot[at];
            }
        }
    }

    // Overwrites b with the solution of the factored system.
    void solve(std::vector<double>& b) const
    {
        if constexpr (W == 1) {
            m_system.solve(b);
            return;
        }
        for (std::size_t l = 0; l < W; ++l)
            b[l] *= m_pivot[l];
        for (std::size_t i = 1; i < m_n; ++i)
            for (std::size_t l = 0; l < W; ++l) {
                const std::size_t at = i * W + l;
                b[at] = (b[at] - m_lower[at] * b[at - W]) * m_pivot[at];
            }
        for (std::size_t i = m_n - 1; i-- > 0;)
            for (std::size_t l = 0; l < W; ++l) {
                const std::size_t at = i * W + l;
                b[at] -= m_eliminatedUpper[at] * b[at + W];
            }
    }

    const PathShare& m_share;
    const HeliumKinetics& m_kinetics;
    std::span<const Grain, W> m_grains;
    std::size_t m_n; // inner radial nodes
    std::array<double, W> m_radius {};
    std::array<PerParent, W> m_presentAmounts {};
    std::array<std::vector<double>, W> m_diffusivity; // um2/Myr at each step
    std::vector<double> m_lowerWeight, m_upperWeight, m_rWeight;
    std::array<std::vector<double>, std::tuple_size_v<PerParent>> m_keptSource;
    // helium: the grain's radiogenic helium, none at the start. inherited: see the constructor.
    std::vector<double> m_helium, m_inherited, m_next;
    std::vector<double> m_lower, m_upper, m_pivot, m_eliminatedUpper; // the factored matrix
    std::vector<double> m_diagonal; // one grain alone: the matrix m_system factors
    numerics::TridiagonalSystem m_system;
    std::array<double, W> m_inheritedAtStart {};
    std::array<bool, W> m_reset {};
    std::size_t m_resetCount = 0;
};

// Grains side by side in a block: wide enough to hide the latency of a division chain, narrow
// enough for a block's arrays to stay in the first-level cache at the default 40 nodes.
constexpr std::size_t blockWidth = 8;

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
    std::vector<Age> ages(grains.size());
    std::size_t first = 0;
    for (; first + blockWidth <= grains.size(); first += blockWidth)
        GrainBlock<blockWidth>(
            share, kinetics, grains.subspan(first).first<blockWidth>(), resolution)
            .date(path, &ages[first]);
    for (; first < grains.size(); ++first)
        GrainBlock<1>(share, kinetics, grains.subspan(first).first<1>(), resolution)
            .date(path, &ages[first]);
    return ages;
}

Age heliumAge(const CoolingPath& path, Kinetics kinetics, const Grain& grain,
    const HeliumResolution& resolution)
{
    return heliumAge(path, heliumKinetics(kinetics), grain, resolution);
}

} // namespace thermochron

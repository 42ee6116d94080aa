#include "heliumdiffusion.h"
#include "paths.h"
#include "physicalconstants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace thermochron;

namespace {

// D in um2/Myr of kinetics without damage: D0 exp(-Ea / RT).
double diffusivity(const HeliumKinetics& kinetics, double temperatureC)
{
    const auto& arrhenius = std::get<ArrheniusDiffusion>(kinetics.diffusion);
    return arrhenius.d0SquareCentimetresPerSecond * squareMicrometresPerSquareCentimetre
        * secondsPerMyr
        * std::exp(-arrhenius.activationEnergyKJPerMol * joulesPerKilojoule
            / (gasConstant * (temperatureC + zeroCelsiusInKelvin)));
}

HeliumKinetics withoutEjection(Kinetics name)
{
    HeliumKinetics kinetics = heliumKinetics(name);
    kinetics.stoppingDistanceUm = {};
    return kinetics;
}

// The exact solution for production uniform in the sphere, as a series of its diffusion modes
// sin(n pi r / a) / r: the mean concentration is sum_n 6 / (n pi)^2 B_n, where each B_n obeys
// dB_n/dt = -(n pi / a)^2 D(t) B_n + P(t), integrated exactly over short steps of constant D
// and P. The modes beyond the last are taken as equal to it (a bound, and a small one).
double seriesAge(const CoolingPath& path, const HeliumKinetics& kinetics, const Grain& grain)
{
    constexpr int modes = 1000;
    constexpr double stepMyr = 0.01;
    const PerParent amounts = parentAmounts(grain);
    std::vector<double> b(modes + 1, 0.0);
    for (std::size_t j = 0; j + 1 < path.size(); ++j) {
        const double duration = path[j].timeMa - path[j + 1].timeMa;
        const int steps = static_cast<int>(std::ceil(duration / stepMyr));
        const double dt = duration / steps;
        for (int s = 0; s < steps; ++s) {
            const double fraction = (s + 0.5) / steps;
            const double temperature = path[j].temperatureC
                + fraction * (path[j + 1].temperatureC - path[j].temperatureC);
            const PerParent rates
                = heliumProductionRates(amounts, path[j].timeMa - fraction * duration);
            const double production = rates[0] + rates[1] + rates[2];
            const double rate = std::pow(std::numbers::pi / grain.radiusUm, 2)
                * diffusivity(kinetics, temperature);
            for (int n = 1; n <= modes; ++n) {
                const double decay = n * n * rate * dt;
                b[n] = b[n] * std::exp(-decay) - production * dt * std::expm1(-decay) / decay;
            }
        }
    }
    double mean = b[modes] * 6 / (std::numbers::pi * std::numbers::pi * modes);
    for (int n = 1; n <= modes; ++n)
        mean += 6 / std::pow(n * std::numbers::pi, 2) * b[n];
    return path.back().timeMa + ingrowthAge(amounts, mean);
}

} // namespace

// The grid, however stretched, must solve the diffusion equation: against the exact series
// solution the raw age (no ejection, so production is uniform) is within 0.2 %.
TEST(HeliumAge, AgreesWithTheExactSeriesSolution)
{
    struct Case {
        Kinetics kinetics;
        double radiusUm;
        CoolingPath path;
    };
    const Case cases[] = {
        { Kinetics::Farley, 60, { { 20, 120 }, { 0, 10 } } },
        { Kinetics::Farley, 30, { { 30, 100 }, { 20, 20 }, { 5, 70 }, { 0, 10 } } },
        { Kinetics::Farley, 150, { { 5, 150 }, { 0, 0 } } },
        { Kinetics::Reiners, 60, { { 20, 250 }, { 0, 10 } } },
    };
    for (const Case& c : cases) {
        const HeliumKinetics kinetics = withoutEjection(c.kinetics);
        const Grain grain { .radiusUm = c.radiusUm };
        const double exact = seriesAge(c.path, kinetics, grain);
        EXPECT_NEAR(heliumAge(c.path, kinetics, grain).rawAgeMa, exact, 0.002 * exact)
            << c.radiusUm;
    }
}

// Held long enough (D t / a^2 > 1), production and diffusive loss balance in the profile
// C = P (a^2 - r^2) / (6 D), whose mean P a^2 / (15 D) took a^2 / (15 D) to make.
TEST(HeliumAge, IsothermalHoldReachesTheSteadyAge)
{
    struct Case {
        Kinetics kinetics;
        double temperatureC;
        double radiusUm;
    };
    for (const Case c :
        { Case { Kinetics::Farley, 70, 60 }, Case { Kinetics::Farley, 85, 100 },
            Case { Kinetics::Reiners, 180, 60 }, Case { Kinetics::Reiners, 160, 40 } }) {
        const HeliumKinetics kinetics = withoutEjection(c.kinetics);
        const double steadyAge
            = c.radiusUm * c.radiusUm / (15 * diffusivity(kinetics, c.temperatureC));
        Grain grain;
        grain.radiusUm = c.radiusUm;
        const Age age = heliumAge(testpaths::hold(20 * steadyAge, c.temperatureC), kinetics, grain);
        EXPECT_TRUE(age.reset);
        EXPECT_NEAR(age.ageMa, steadyAge, 0.01 * steadyAge) << c.temperatureC;
        EXPECT_NEAR(age.closureTemperatureC, c.temperatureC, 1e-9);
    }
}

// At -50 C no helium moves in a billion years: the grain keeps every atom made, the damage
// kinetics as well. The raw age is short of the path by the alphas ejected, which Ft puts back,
// so the accumulated age is the path's length; without ejection the raw age is. Samarium adds
// its own alphas with its own stopping distance. The path erases nothing before it: not reset.
TEST(HeliumAge, FrozenGrainKeepsEveryAtomAndIsNotReset)
{
    const Grain grain { .radiusUm = 50, .uPpm = 30, .thPpm = 5, .smPpm = 150 };
    for (const Kinetics kinetics :
        { Kinetics::Farley, Kinetics::Reiners, Kinetics::Rdaam, Kinetics::Zrdaam }) {
        const CoolingPath path = testpaths::hold(25, -50);
        const Age age = heliumAge(path, kinetics, grain);
        EXPECT_FALSE(age.reset);
        EXPECT_EQ(age.kinetics, kinetics);
        EXPECT_EQ(age.pathStartMa, 25);
        EXPECT_NEAR(age.ageMa, 25, 0.002 * 25) << kineticsName(kinetics);
        EXPECT_NEAR(heliumAge(path, withoutEjection(kinetics), grain).rawAgeMa, 25, 1e-4 * 25);
    }
}

// Halving every step of the grid in radius and time, and of the damage, moves the age by less
// than 0.5 %: the defaults are converged. Paths: a reset grain cooled through the partial
// retention zone, slowly or with a reheating.
TEST(HeliumAge, HalvingTheStepsBarelyMovesTheAge)
{
    struct Case {
        Kinetics kinetics;
        CoolingPath path;
    };
    const Case cases[] = {
        { Kinetics::Farley, testpaths::steadyCooling(20, 120, 0) },
        { Kinetics::Farley, { { 30, 140 }, { 25, 60 }, { 5, 50 }, { 0, 10 } } },
        { Kinetics::Reiners, testpaths::steadyCooling(20, 260, 0) },
        { Kinetics::Rdaam, testpaths::steadyCooling(120, 120, 0) },
        { Kinetics::Rdaam, { { 100, 120 }, { 60, 20 }, { 20, 75 }, { 0, 10 } } },
        { Kinetics::Zrdaam, testpaths::steadyCooling(300, 300, 0) },
    };
    for (const Case& c : cases) {
        const HeliumResolution coarse;
        const HeliumResolution fine { 2 * coarse.radialNodes, coarse.maxTimeStepMyr / 2,
            coarse.maxTemperatureStepC / 2, coarse.damageTimeStepMyr / 2,
            coarse.damageTemperatureStepC / 2, coarse.ageFraction / 2 };
        const Age coarseAge = heliumAge(c.path, c.kinetics, Grain {}, coarse);
        const Age fineAge = heliumAge(c.path, c.kinetics, Grain {}, fine);
        EXPECT_TRUE(coarseAge.reset);
        EXPECT_NEAR(coarseAge.ageMa, fineAge.ageMa, 0.005 * fineAge.ageMa);
        EXPECT_NEAR(coarseAge.rawAgeMa, fineAge.rawAgeMa, 0.005 * fineAge.rawAgeMa);
    }
}

// Ft is the mean retained fraction over the sphere's volume for one stopping distance, also in
// a grain smaller than the stopping distance, where the centre keeps nothing.
TEST(AlphaEjection, CorrectionIsTheVolumeMeanOfTheRetainedFraction)
{
    for (const double stopping : { 5.0, 20.0, 45.0, 70.0 }) {
        const Grain grain { .radiusUm = 50, .uPpm = 10, .thPpm = 0, .dparUm = 1.75 };
        const int slices = 20000;
        double mean = 0;
        for (int i = 0; i < slices; ++i) {
            const double r = (i + 0.5) * grain.radiusUm / slices;
            mean += 3 * r * r * retainedAlphaFraction(r, grain.radiusUm, stopping);
        }
        mean *= grain.radiusUm / slices / std::pow(grain.radiusUm, 3);
        EXPECT_NEAR(ejectionCorrection(grain, { stopping, stopping, stopping }), mean, 1e-6)
            << stopping;
    }
}

TEST(Ingrowth, AgeInvertsTheIngrowthEquation)
{
    const PerParent amounts = parentAmounts(Grain { .radiusUm = 60, .uPpm = 80, .thPpm = 40 });
    for (const double timeMyr : { 0.01, 1.0, 100.0, 1000.0, 4500.0 })
        EXPECT_NEAR(
            ingrowthAge(amounts, heliumIngrowth(amounts, timeMyr)), timeMyr, 1e-9 * timeMyr);
}

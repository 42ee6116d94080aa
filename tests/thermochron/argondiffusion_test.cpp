#include "argondiffusion.h"
#include "dodson.h"
#include "paths.h"
#include "physicalconstants.h"

#include <boost/math/special_functions/bessel.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace thermochron;

namespace {

constexpr Kinetics argonSystems[]
    = { Kinetics::Lovera1997, Kinetics::Grove1996, Kinetics::Harrison2009, Kinetics::Harrison1981 };

// The exact solution as a series of the shape's diffusion modes: sin(k pi x) / x in the sphere,
// J0(j_k x) in the cylinder, cos((k - 1/2) pi x) in the sheet, of eigenvalues beta_k. Uniform
// production puts 6, 4 or 2 / beta_k^2 of it into mode k of the mean, whose amplitude obeys
// dB_k/dt = -beta_k^2 (D/a^2) B_k + P(t), integrated exactly over short steps of constant D and
// P. The modes beyond the last hold as much as it does per unit of their weight (a small bound).
double seriesAge(
    const CoolingPath& path, const ArgonKinetics& kinetics, double radiusUm, double pressureKbar)
{
    constexpr int modes = 1000;
    constexpr double stepMyr = 0.01;
    std::vector<double> beta(modes + 1), weight(modes + 1), amplitude(modes + 1, 0.0);
    for (int k = 1; k <= modes; ++k) {
        switch (kinetics.geometry) {
        case DiffusionGeometry::Sphere:
            beta[k] = k * std::numbers::pi;
            weight[k] = 6 / (beta[k] * beta[k]);
            break;
        case DiffusionGeometry::InfiniteCylinder:
            beta[k] = boost::math::cyl_bessel_j_zero(0.0, k);
            weight[k] = 4 / (beta[k] * beta[k]);
            break;
        case DiffusionGeometry::PlaneSheet:
            beta[k] = (k - 0.5) * std::numbers::pi;
            weight[k] = 2 / (beta[k] * beta[k]);
            break;
        }
    }
    const double lambda = 5.543e-10 * 1e6, lambdaArgon = 0.581e-10 * 1e6; // 1/Myr
    for (std::size_t j = 0; j + 1 < path.size(); ++j) {
        const double duration = path[j].timeMa - path[j + 1].timeMa;
        const int steps = static_cast<int>(std::ceil(duration / stepMyr));
        const double dt = duration / steps;
        for (int s = 0; s < steps; ++s) {
            const double fraction = (s + 0.5) / steps;
            const double temperature = path[j].temperatureC
                + fraction * (path[j + 1].temperatureC - path[j].temperatureC);
            const double production
                = lambdaArgon * std::exp(lambda * (path[j].timeMa - fraction * duration));
            const double rate = secondsPerMyr
                * argonDiffusionRatePerSecond(kinetics, temperature, radiusUm, pressureKbar);
            for (int k = 1; k <= modes; ++k) {
                const double decay = beta[k] * beta[k] * rate * dt;
                amplitude[k] = amplitude[k] * std::exp(-decay)
                    - production * dt * std::expm1(-decay) / decay;
            }
        }
    }
    double mean = amplitude[modes] * weight[modes] * modes;
    for (int k = 1; k <= modes; ++k)
        mean += weight[k] * amplitude[k];
    return std::log1p(lambda / lambdaArgon * mean) / lambda;
}

// Cooling at 10 C/Myr from 150 C above Dodson's closure temperature to 0 C.
CoolingPath coolingThroughClosure(double closureC, double rateCPerMyr)
{
    const double startC = closureC + 150;
    return { { startC / rateCPerMyr, startC }, { 0, 0 } };
}

} // namespace

// Each shape of the grid must solve its diffusion equation: cooling through closure and a
// reheated path, each within 0.1 % of the exact series.
TEST(ArgonAge, AgreesWithTheExactSeriesInEachShape)
{
    for (const Kinetics name : argonSystems) {
        const ArgonKinetics kinetics = argonKinetics(name);
        const double closureC = dodsonClosureTemperatureC(
            argonClosureKinetics(kinetics, kinetics.radiusUm, defaultPressureKbar), 10);
        const CoolingPath paths[] = {
            coolingThroughClosure(closureC, 10),
            { { 40, closureC + 100 }, { 25, closureC - 80 }, { 12, closureC + 10 }, { 0, 0 } },
        };
        for (const CoolingPath& path : paths) {
            const double exact = seriesAge(path, kinetics, kinetics.radiusUm, defaultPressureKbar);
            const Age age = argonAge(path, kinetics, kinetics.radiusUm);
            EXPECT_NEAR(age.ageMa, exact, 0.001 * exact)
                << kineticsName(name) << " from " << path.front().timeMa << " Ma";
            EXPECT_TRUE(age.reset);
            EXPECT_EQ(age.kinetics, name);
        }
    }
}

// On linear cooling the kinetic age closes within 4 C above Dodson's closure temperature for
// the same constants (A = 55, 27 and 8.7 for the sphere, cylinder and sheet).
TEST(ArgonAge, ClosesJustAboveDodsonsClosureTemperature)
{
    for (const Kinetics name : argonSystems) {
        const ArgonKinetics kinetics = argonKinetics(name);
        for (const double rate : { 1.0, 10.0, 100.0 }) {
            const double dodsonC = dodsonClosureTemperatureC(
                argonClosureKinetics(kinetics, kinetics.radiusUm, defaultPressureKbar), rate);
            const Age age
                = argonAge(coolingThroughClosure(dodsonC, rate), kinetics, kinetics.radiusUm);
            EXPECT_GE(age.closureTemperatureC, dodsonC) << kineticsName(name) << " at " << rate;
            EXPECT_LE(age.closureTemperatureC, dodsonC + 4) << kineticsName(name) << " at " << rate;
        }
    }
}

// Harrison et al. (2009): their muscovite of 100 um closes at 425 C cooling at 10 C/Myr at
// 10 kbar; lower pressure lowers Ea by 1.4 kJ/mol per kbar, and the grain closes colder.
TEST(ArgonAge, MuscoviteClosesAt425CAtTenKilobars)
{
    const ArgonKinetics muscovite = argonKinetics(Kinetics::Harrison2009);
    const CoolingPath path = coolingThroughClosure(425, 10);
    const Age deep = argonAge(path, muscovite, 100, 10);
    EXPECT_NEAR(deep.closureTemperatureC, 425, 3);
    EXPECT_NEAR(activationEnergyAt(muscovite, 5), 263.6 - 5 * 1.4, 1e-12);
    EXPECT_LT(argonAge(path, muscovite, 100, 5).closureTemperatureC, deep.closureTemperatureC - 10);
}

// A larger grain keeps its argon to higher temperatures; a domain of fixed D0/a^2 has no radius.
TEST(ArgonAge, RadiusMattersExceptForADomainOfFixedFrequencyFactor)
{
    const CoolingPath path = testpaths::steadyCooling(60, 600, 0);
    const ArgonKinetics biotite = argonKinetics(Kinetics::Grove1996);
    EXPECT_GT(argonAge(path, biotite, 300).ageMa, argonAge(path, biotite, 150).ageMa + 1);
    const ArgonKinetics feldspar = argonKinetics(Kinetics::Lovera1997);
    EXPECT_EQ(argonAge(path, feldspar, 1).ageMa, argonAge(path, feldspar, 1000).ageMa);
    EXPECT_THROW(argonAge(path, biotite, 0), std::invalid_argument);
    EXPECT_THROW(argonKinetics(Kinetics::Rdaam), std::invalid_argument);
}

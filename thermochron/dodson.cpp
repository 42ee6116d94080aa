#include "dodson.h"

#include "physicalconstants.h"

#include <algorithm>
#include <cmath>

namespace thermochron {

namespace {

// The fixed-point iteration converges in a handful of steps; these bound it.
constexpr int maxClosureIterations = 100;
constexpr double closureToleranceKelvin = 1e-7;
// The starting guess of the iteration, K.
constexpr double closureGuessKelvin = 400.0;

// Cooling rate (C/Myr, positive when the rock cools towards the present) at point k of the
// path: the centred difference inside the path, the one-sided one at its ends, floored.
double localCoolingRate(const CoolingPath& path, std::size_t k)
{
    const std::size_t older = k == 0 ? 0 : k - 1;
    const std::size_t younger = k + 1 == path.size() ? k : k + 1;
    const double rate = (path[older].temperatureC - path[younger].temperatureC)
        / (path[older].timeMa - path[younger].timeMa);
    return std::max(rate, minimumCoolingRateCPerMyr);
}

} // namespace

ClosureKinetics closureKinetics(System system)
{
    // Ea (kJ/mol) and Omega = A D0 / a^2 (1/s), Reiners & Brandon (2006), Annu. Rev. Earth
    // Planet. Sci. 34, 419.
    switch (system) {
    case System::AHe:
        return { 138, 7.64e7 };
    case System::AFT:
        return { 147, 2.05e6 };
    case System::ZHe:
        return { 169, 7.03e5 };
    case System::ZFT:
        return { 208, 1.24e8 };
    case System::KAr:
        // Not in their compilation: one K-feldspar domain of the mean of Lovera, Grove and
        // Harrison (1997), GCA 61:3171, Ea 192.46 kJ/mol and D0/a^2 = 1e5 /s, as a plane sheet
        // (A = 8.7).
        return { 192.46, 8.7e5 };
    case System::BAr:
        return { 197, 733 };
    case System::MAr:
        return { 180, 3.91 };
    case System::HAr:
        return { 268, 1320 };
    }
    return { NAN, NAN };
}

namespace {

// Tc (K) by fixed-point iteration from a first guess; NaN where no positive Tc exists.
double closureTemperatureKelvin(
    const ClosureKinetics& kinetics, double coolingRateCPerMyr, double guessKelvin)
{
    const double activationEnergy = kinetics.activationEnergyKJPerMol * joulesPerKilojoule;
    const double coolingRate = coolingRateCPerMyr / secondsPerMyr; // K/s
    // Tc = Ea / (R ln(Omega tau)), with the time constant tau = R Tc^2 / (Ea dT/dt) in s. The
    // map contracts by about 2 / ln(Omega tau) (< 0.1) per step.
    double closure = guessKelvin;
    for (int iteration = 0; iteration < maxClosureIterations; ++iteration) {
        const double tau = gasConstant * closure * closure / (activationEnergy * coolingRate);
        const double logarithm = std::log(kinetics.omegaPerSecond * tau);
        if (!(logarithm > 0))
            return NAN;
        const double next = activationEnergy / (gasConstant * logarithm);
        if (std::abs(next - closure) < closureToleranceKelvin)
            return next;
        closure = next;
    }
    return closure;
}

} // namespace

double dodsonClosureTemperatureC(System system, double coolingRateCPerMyr)
{
    return dodsonClosureTemperatureC(closureKinetics(system), coolingRateCPerMyr);
}

double dodsonClosureTemperatureC(const ClosureKinetics& kinetics, double coolingRateCPerMyr)
{
    return closureTemperatureKelvin(kinetics, coolingRateCPerMyr, closureGuessKelvin)
        - zeroCelsiusInKelvin;
}

Age dodsonAge(const CoolingPath& path, System system)
{
    checkPath(path);
    const ClosureKinetics kinetics = closureKinetics(system);
    // Walking back from the present, each point's Tc starts from its younger neighbour's: the
    // rates of neighbours differ little, so a few steps suffice.
    double guess = closureGuessKelvin;
    const auto closureAt = [&](std::size_t k) {
        const double closure = closureTemperatureKelvin(kinetics, localCoolingRate(path, k), guess);
        if (std::isfinite(closure))
            guess = closure;
        return closure - zeroCelsiusInKelvin;
    };

    Age age;
    age.kinetics = Kinetics::Dodson;
    age.pathStartMa = path.front().timeMa;
    double youngerClosure = NAN;
    for (std::size_t k = path.size(); k-- > 0;) {
        const double closure = closureAt(k);
        const double excess = path[k].temperatureC - closure; // T - Tc, C
        if (!(excess >= 0)) {
            youngerClosure = closure;
            continue;
        }
        if (k + 1 == path.size()) {
            // Open at present: the system has not started to keep its daughters.
            age.ageMa = path[k].timeMa;
            age.closureTemperatureC = closure;
            return age;
        }
        // The younger point is below closure: T - Tc crosses zero between the two.
        const double youngerExcess = path[k + 1].temperatureC - youngerClosure;
        const double fraction = youngerExcess / (youngerExcess - excess);
        age.ageMa = path[k + 1].timeMa + fraction * (path[k].timeMa - path[k + 1].timeMa);
        age.closureTemperatureC = youngerClosure + fraction * (closure - youngerClosure);
        return age;
    }
    age.ageMa = path.front().timeMa;
    age.closureTemperatureC = youngerClosure; // that of the path's first point
    age.reset = false;
    return age;
}

} // namespace thermochron

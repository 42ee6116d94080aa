#include "dodson.h"

#include "units.h"

#include <cmath>
#include <vector>

namespace thermochron {

namespace {

// The fixed-point iteration converges in a handful of steps; these bound it.
constexpr int maxClosureIterations = 100;
constexpr double closureToleranceKelvin = 1e-9;
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
    case System::BAr:
        return { 197, 733 };
    case System::MAr:
        return { 180, 3.91 };
    case System::HAr:
        return { 268, 1320 };
    }
    return { NAN, NAN };
}

double dodsonClosureTemperatureC(System system, double coolingRateCPerMyr)
{
    const ClosureKinetics kinetics = closureKinetics(system);
    const double activationEnergy = kinetics.activationEnergyKJPerMol * joulesPerKilojoule;
    const double coolingRate = coolingRateCPerMyr / secondsPerMyr; // K/s
    // Tc = Ea / (R ln(Omega tau)), with the time constant tau = R Tc^2 / (Ea dT/dt) in s.
    double closure = closureGuessKelvin;
    for (int iteration = 0; iteration < maxClosureIterations; ++iteration) {
        const double tau = gasConstant * closure * closure / (activationEnergy * coolingRate);
        const double logarithm = std::log(kinetics.omegaPerSecond * tau);
        if (!(logarithm > 0))
            return NAN;
        const double next = activationEnergy / (gasConstant * logarithm);
        if (std::abs(next - closure) < closureToleranceKelvin)
            return next - zeroCelsiusInKelvin;
        closure = next;
    }
    return closure - zeroCelsiusInKelvin;
}

Age dodsonAge(const CoolingPath& path, System system)
{
    // How far each point lies above its closure temperature, T - Tc(rate), C.
    std::vector<double> closure(path.size());
    for (std::size_t k = 0; k < path.size(); ++k)
        closure[k] = dodsonClosureTemperatureC(system, localCoolingRate(path, k));

    Age age;
    for (std::size_t k = path.size(); k-- > 0;) {
        const double excess = path[k].temperatureC - closure[k];
        if (!(excess >= 0))
            continue;
        if (k + 1 == path.size()) {
            // Open at present: the system has not started to keep its daughters.
            age.ageMa = path[k].timeMa;
            age.closureTemperatureC = closure[k];
            return age;
        }
        // The younger point is below closure: T - Tc crosses zero between the two.
        const double youngerExcess = path[k + 1].temperatureC - closure[k + 1];
        const double fraction = youngerExcess / (youngerExcess - excess);
        age.ageMa = path[k + 1].timeMa + fraction * (path[k].timeMa - path[k + 1].timeMa);
        age.closureTemperatureC = closure[k + 1] + fraction * (closure[k] - closure[k + 1]);
        return age;
    }
    age.ageMa = path.front().timeMa;
    age.closureTemperatureC = closure.front();
    age.reset = false;
    return age;
}

} // namespace thermochron

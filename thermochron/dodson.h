#pragma once
// Closure temperatures after Dodson (1973), and closure ages along a cooling path.

#include "age.h"
#include "coolingpath.h"
#include "system.h"

namespace thermochron {

// Diffusion parameters of a system for the closure temperature: activation energy Ea and
// Omega = A D0 / a^2 (geometry factor A, frequency factor D0, diffusion length a).
struct ClosureKinetics {
    double activationEnergyKJPerMol;
    double omegaPerSecond;
};

// The parameters of each system, as compiled by Reiners & Brandon (2006); for K-feldspar, which
// they leave out, the one domain of Lovera et al. (1997).
ClosureKinetics closureKinetics(System system);

// The closure temperature (C) of a system cooling at coolingRateCPerMyr (> 0):
// Tc = Ea / (R ln(Omega tau)), tau = R Tc^2 / (Ea |dT/dt|). NaN when no positive Tc solves it
// (a rate so fast that Omega tau < 1).
double dodsonClosureTemperatureC(System system, double coolingRateCPerMyr);
// The same for any closure kinetics.
double dodsonClosureTemperatureC(const ClosureKinetics& kinetics, double coolingRateCPerMyr);

// The slowest cooling rate (C/Myr) the closure age uses; slower cooling, or heating, counts as
// this rate.
inline constexpr double minimumCoolingRateCPerMyr = 0.1;

// The closure age along a path: walking back from the present, the first point whose
// temperature reaches the closure temperature of its local cooling rate, interpolated linearly
// in T - Tc. A path that never reaches closure is not reset: its age is the path's start and its
// closure temperature that of the path's first point. Throws std::invalid_argument for a bad
// path (see checkPath).
Age dodsonAge(const CoolingPath& path, System system);

} // namespace thermochron

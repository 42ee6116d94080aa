#pragma once
// The alpha-recoil damage a (U-Th)/He grain holds along its path. Every alpha decay leaves a
// damaged zone; the zones made in one time step form a cohort that the path anneals like a
// cohort of fission tracks (trackcohorts.h), so each step's dose A_i counts with the reduced
// density rho_i its damage has kept. Damage is taken as uniform in the grain (uniform U, Th and
// Sm), and the grain holds none at the path's start.

#include "coolingpath.h"
#include "fanningannealing.h"
#include "grain.h"
#include "heliumproduction.h"

#include <vector>

namespace thermochron {

// The annealed alpha dose sum_i rho_i A_i (alphas per gram) at each point of steps (oldest
// first, as timeSteps gives them): 0 at the first point. Each step is taken at the temperature
// of its middle, its alphas born at its middle.
std::vector<double> annealedAlphaDose(
    const CoolingPath& steps, const Grain& grain, const AnnealingLaw& law);
// The same for parents of the given present amounts (mol per gram, see parentAmounts). The dose is
// linear in them: the annealing of each cohort depends on the path alone.
std::vector<double> annealedAlphaDose(
    const CoolingPath& steps, const PerParent& presentAmounts, const AnnealingLaw& law);

} // namespace thermochron

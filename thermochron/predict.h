#pragma once
// One entry point for every system and method.

#include "age.h"
#include "coolingpath.h"
#include "grain.h"
#include "system.h"

namespace thermochron {

// True for Dodson with every system, Diffusion with AHe and ZHe, Annealing with AFT.
bool supports(System system, Method method);

// The age of the system along the path by the method, with the default resolutions. The Dodson
// closure temperature uses the compiled kinetics and ignores the grain. Throws
// std::invalid_argument when the method does not apply to the system.
Age predictAge(const CoolingPath& path, System system, Method method, const Grain& grain);

} // namespace thermochron

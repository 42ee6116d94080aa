#pragma once
// One entry point for every system, method and kinetics.

#include "age.h"
#include "catalogue.h"
#include "coolingpath.h"
#include "grain.h"

#include <span>
#include <vector>

namespace thermochron {

// True for Dodson with every system, Diffusion with AHe, ZHe and the 40Ar/39Ar systems,
// Annealing with AFT and ZFT.
bool supports(System system, Method method);

// The age of the system along the path by the method, with the default resolutions and the
// chosen kinetics (by default the catalogue's: RDAAM for apatite He, ZRDAAM for zircon He,
// Yamada et al. 2007 for zircon tracks); Age::kinetics says which kinetics made it. The Dodson
// closure temperature uses the compiled kinetics and ignores the grain. 40Ar/39Ar diffusion
// reads the grain's radius and pressure (the catalogue's radius of each mineral is
// argonKinetics(kinetics).radiusUm); zircon fission tracks read nothing of the grain. Throws
// std::invalid_argument when the method does not apply to the system or the choice names kinetics
// of another system, and for a path or grain the model refuses.
Age predictAge(const CoolingPath& path, System system, Method method, const Grain& grain,
    const KineticsChoice& kinetics = {});

// The ages of many grains along one path, each as predictAge gives it; (U-Th)/He diffusion shares
// the work that depends on the path alone among the grains (heliumAges).
std::vector<Age> predictAges(const CoolingPath& path, System system, Method method,
    std::span<const Grain> grains, const KineticsChoice& kinetics = {});

} // namespace thermochron

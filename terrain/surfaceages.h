#pragma once
// Predicted ages of the rocks at the surface today, for an age map: one age per path and
// system, by the system's kinetic method (helium diffusion for AHe and ZHe, annealing for AFT)
// or by Dodson's closure for the others, with the catalogue's default kinetics, as
// thermochron::predictAge gives them. The paths are independent, so they are shared among
// threads.
//
//     const auto ages = terrain::surfaceAges(run.surfacePaths,
//         std::vector{ thermochron::System::AHe, thermochron::System::AFT }, {});
//     ages[0][dem.index(i, j)];   // AHe at node (i, j), Ma

#include "terrainmodel.h"

#include "grain.h"
#include "system.h"

#include <span>
#include <vector>

namespace terrain {

// The method an age map uses for a system: its kinetic method, else Dodson's.
thermochron::Method ageMethod(thermochron::System system);

// ages[s][p]: system s's age along path p, Ma. threads 0: the machine's hardware threads.
std::vector<std::vector<double>> surfaceAges(std::span<const RockPath> paths,
    std::span<const thermochron::System> systems, const thermochron::Grain& grain, int threads = 0);

} // namespace terrain

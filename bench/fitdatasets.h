#pragma once
// The two measured-age data sets the fit's speed is measured on, made from the suite's own
// models (so that they always match them) with seeded noise:
//
//   profile25   a ridge-to-valley transect of 25 AHe ages from -800 to +800 m in the periodic
//               model (-A 850 -w 20000 -o 60, mean surface at 0 m), each grain its own radius,
//               U and Th, made at 0.3 mm/yr;
//   grains10000 10 000 AHe ages of surface samples in the transient model (defaults, -o 10),
//               every grain different (radius 40 to 100 um, U 5 to 60 ppm, Th 5 to 100 ppm),
//               made at 0.45 mm/yr.
//
// Sigmas are 5 % of the age; the ages carry Gaussian noise of that sigma. The generator is pcg32
// with a fixed seed and Box-Muller normals, so the files are the same on every machine.

#include "agecommandline.h"
#include "observedages.h"

#include <filesystem>
#include <vector>

namespace fitdata {

// The requests the data sets are fitted with: their model and sweep (--method kinetic).
ages::AgeRequest profile25Request(); // periodic -A 850 -w 20000 -o 60 --rates 0.05:0.6:0.01
ages::AgeRequest grains10000Request(); // transient --rates 0.2:0.7:0.01 (51 rates)

std::vector<ages::ObservedAge> profile25();
std::vector<ages::ObservedAge> grains10000();

// The samples as a --observed file.
void writeObservedFile(
    const std::filesystem::path& file, const std::vector<ages::ObservedAge>& samples);

} // namespace fitdata

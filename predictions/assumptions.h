#pragma once
// What a fit's answer rests on besides the measured ages, as the parts of its "assumed:" line
// that the samples decide: the kinetics each system was predicted with, and the grain values
// that came from the age options because the samples did not give them. A range printed without
// these reads as if the ages alone had fixed it.

#include "agekind.h"
#include "agesettings.h"
#include "observedages.h"

#include <string>
#include <vector>

namespace ages {

// "kinetics AHe rdaam, AFT ketcham2007, ZFT dodson": each system once, in the samples' order.
std::string kineticsAssumed(const std::vector<AgeKind>& kinds);

// "grain defaults: radius_um 60 for 2 of 3 samples, dpar_um 1.75 for 1 of 1": for each grain
// value a kinetic method reads, how many of the samples it applies to took the age option's
// value; "grain values: all from the samples" when none did, and nothing to say ("") when no
// sample's method reads a grain.
std::string grainDefaultsAssumed(const std::vector<ObservedAge>& samples,
    const std::vector<AgeKind>& kinds, const AgeSettings& settings);

} // namespace ages

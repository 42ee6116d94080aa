#pragma once
// What to predict for each measured sample: its system, the method, and the grain it is
// predicted for. A sample's own radius, U, Th or Dpar replaces the program's age option for that
// sample only; the method is the system's kinetic model unless Dodson closure is asked for (or the
// system has no kinetic model).

#include "observedages.h"
#include "thermochron/grain.h"
#include "thermochron/system.h"

#include <vector>

namespace ages {

struct AgeKind {
    thermochron::System system = thermochron::System::AHe;
    thermochron::Method method = thermochron::Method::Dodson;
    // Only the values the method reads are kept (the others stay at Grain's defaults), so that two
    // samples needing the same computation compare equal.
    thermochron::Grain grain;

    bool operator==(const AgeKind& other) const;
};

// The grains of the age options: radius of each mineral, U, Th, Dpar.
struct DefaultGrains {
    thermochron::Grain apatite;
    thermochron::Grain zircon;
};

// One kind per sample, in order. Throws ObservedAgesError naming the sample's line when one
// of its own grain values is unusable (radius <= 0, U or Th < 0, no U and no Th, Dpar <= 0).
std::vector<AgeKind> sampleAgeKinds(const std::vector<ObservedAge>& samples,
    const DefaultGrains& defaults, bool dodsonOnly, std::string_view fileName);

} // namespace ages

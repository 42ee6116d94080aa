#pragma once
// What to predict for each measured sample: its system, the method, the kinetics and the grain it
// is predicted for. A sample's own radius, U, Th, Sm or Dpar replaces the program's age option for
// that sample only; the method is the system's kinetic model unless Dodson closure is asked for
// (--method dodson) or the system has no kinetic model; the kinetics are those the age options
// choose for the system.

#include "agesettings.h"
#include "observedages.h"
#include "thermochron/grain.h"
#include "thermochron/system.h"

#include <string_view>
#include <vector>

namespace ages {

struct AgeKind {
    thermochron::System system = thermochron::System::AHe;
    thermochron::Method method = thermochron::Method::Dodson;
    // The kinetics the age is computed with, and the choice of the age options that gives them.
    thermochron::Kinetics kinetics = thermochron::Kinetics::Dodson;
    thermochron::KineticsChoice kineticsChoice;
    // Only the values the method reads are kept (the others stay at Grain's defaults), so that two
    // samples needing the same computation compare equal.
    thermochron::Grain grain;

    bool operator==(const AgeKind& other) const;
};

// One kind per sample, in order, from the age options in settings. Throws ObservedAgesError
// naming the sample's line when the grain it is predicted for leaves the range the models hold
// in (the age options' ranges: radius, Dpar; U, Th and Sm >= 0 and not all 0).
std::vector<AgeKind> sampleAgeKinds(const std::vector<ObservedAge>& samples,
    const AgeSettings& settings, std::string_view fileName);

} // namespace ages

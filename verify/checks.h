#pragma once
// The groups of checks the verification program runs, each from the cases of the suite's own
// tests: the thermal models, the age models, and the kinetics of fission tracks and argon.

#include "checktable.h"

#include <vector>

namespace verify {

// The closed-form transient against an independent Crank-Nicolson solution, the periodic
// model's surface misfit, the thermal column against its steady and transient exact solutions,
// and its order of accuracy.
std::vector<Check> thermalChecks();

// (U-Th)/He and apatite fission-track ages: Flowers' closure, isothermal holds against their
// exact integrals, and Durango-like and Fish Canyon-like quenched rocks.
std::vector<Check> ageChecks();

// Apatite track lengths and their c-axis projection, zircon fission tracks, argon closure.
std::vector<Check> kineticsChecks();

} // namespace verify

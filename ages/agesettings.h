#pragma once
// What the user asks to be predicted: the systems, the methods and the grain, with their
// defaults and the ranges in which the age models hold.

#include "thermochron/grain.h"
#include "thermochron/system.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// Which ages to compute for each system: the closure-temperature age, the kinetic forward model
// (AHe and ZHe diffusion, AFT annealing; other systems have none and are left out), or both.
enum class MethodChoice { dodson, kinetic, all };

// Grain sizes in which the He models hold: above the longest alpha stopping distance (22.25 um)
// the ejection correction is meaningful; beyond 500 um no dated grain of apatite or zircon lies.
inline constexpr double minRadiusUm = 25.0;
inline constexpr double maxRadiusUm = 500.0;
// Etch pit widths measured on apatite; the annealing kinetics saturate below 1.75 and above
// 4.58 um, and wider pits than 5 um are not seen.
inline constexpr double minDparUm = 0.5;
inline constexpr double maxDparUm = 5.0;

struct AgeSettings {
    std::vector<thermochron::System> systems { thermochron::System::AHe, thermochron::System::AFT,
        thermochron::System::ZHe, thermochron::System::ZFT, thermochron::System::MAr };
    MethodChoice methods = MethodChoice::all;
    double apatiteRadiusUm = 60; // --apatite-radius: sphere-equivalent radius, um
    double zirconRadiusUm = 60; // --zircon-radius, um
    double uPpm = 10; // --u, ppm
    double thPpm = 10; // --th, ppm
    double dparUm = 1.75; // --dpar, um

    // The grain of the mineral a system dates: apatite for AHe and AFT, zircon for ZHe and ZFT
    // (the other systems' closure parameters include their own diffusion domain).
    thermochron::Grain grainFor(thermochron::System system) const;

    // The methods to run for system, in the order of their rows: Dodson first.
    std::vector<thermochron::Method> methodsFor(thermochron::System system) const;
};

// "AHe,ZHe" -> the systems in that order, repeats dropped. Throws InputError for an empty list or
// an unknown name.
std::vector<thermochron::System> parseSystems(std::string_view list);

// "dodson", "kinetic" or "all"; throws InputError for anything else.
MethodChoice parseMethodChoice(std::string_view word);

// The first value out of range, as a message; nothing when all are usable.
std::optional<std::string> settingsError(const AgeSettings& settings);

} // namespace ages

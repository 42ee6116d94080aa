#pragma once
// What the user asks to be predicted: the systems, the methods, the (U-Th)/He kinetics and the
// grain, with their defaults and the ranges in which the age models hold. Plain values: the
// command line fills them, and so may any other caller.

#include "cataloguetext.h"
#include "thermochron/catalogue.h"
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
// Parent contents: a million ppm is the whole grain; below a millionth of a ppm of effective
// uranium (eU = U + 0.238 Th + 0.0012 Sm) a grain makes too little helium for any age, and the
// misfit of such a grain is not a number.
inline constexpr double maxParentPpm = 1e6;
inline constexpr double minEffectiveUraniumPpm = 1e-6;
// eU of U, Th and Sm contents (ppm), weighted by their alpha productivity relative to U.
constexpr double effectiveUraniumPpm(double uPpm, double thPpm, double smPpm)
{
    return uPpm + 0.238 * thPpm + 0.0012 * smPpm;
}
inline constexpr double maxDparUm = 5.0;

struct AgeSettings {
    std::vector<thermochron::System> systems { thermochron::System::AHe, thermochron::System::AFT,
        thermochron::System::ZHe, thermochron::System::ZFT, thermochron::System::MAr };
    MethodChoice methods = MethodChoice::all;
    double apatiteRadiusUm = 60; // --apatite-radius: sphere-equivalent radius, um
    double zirconRadiusUm = 60; // --zircon-radius, um
    double uPpm = 10; // --u, ppm
    double thPpm = 10; // --th, ppm
    double smPpm = 0; // --sm, ppm: total samarium (147Sm is 14.99 % of it)
    double dparUm = 1.75; // --dpar, um
    // --apatite-kinetics, --zircon-kinetics: the catalogue's defaults unless chosen otherwise.
    thermochron::KineticsChoice kinetics;

    // The grain of the mineral a system dates (the catalogue's mineral): the zircon radius for
    // zircon, the apatite radius otherwise (only the kinetic methods of AHe, AFT and ZHe read a
    // grain; the other systems' closure parameters include their own diffusion domain).
    thermochron::Grain grainFor(thermochron::System system) const;

    // The methods to run for system, in the order of their rows: Dodson first.
    std::vector<thermochron::Method> methodsFor(thermochron::System system) const;
};

// The systems whose kinetics the user chooses, each with the member of KineticsChoice that keeps
// the choice. The choices themselves, their names and the defaults are the catalogue's.
struct KineticsOption {
    thermochron::System system;
    thermochron::Kinetics thermochron::KineticsChoice::*choice;
};
inline constexpr KineticsOption kineticsOptions[] = {
    { thermochron::System::AHe, &thermochron::KineticsChoice::apatiteHelium },
    { thermochron::System::ZHe, &thermochron::KineticsChoice::zirconHelium },
};

// The option that chooses a system's kinetics, named after its mineral: "--apatite-kinetics".
std::string kineticsOptionName(thermochron::System system);

// The kinetics of system named word, in any case. Throws InputError naming the option and the
// choices for an unknown name or kinetics of another system.
thermochron::Kinetics parseKineticsOf(thermochron::System system, std::string_view word);

// "AHe,zhe" -> the systems in that order (names in any case), repeats dropped. Throws InputError
// for an empty list or an unknown name.
std::vector<thermochron::System> parseSystems(std::string_view list);

// "dodson", "kinetic" or "all"; throws InputError for anything else.
MethodChoice parseMethodChoice(std::string_view word);

// The choices of --method, each with what it computes (the kinetic systems from the catalogue).
std::string methodChoiceHelp();

// The first value out of range, as a message; nothing when all are usable.
std::optional<std::string> settingsError(const AgeSettings& settings);

} // namespace ages

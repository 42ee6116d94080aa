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
// of the catalogue ((U-Th)/He and 40Ar/39Ar diffusion, AFT and ZFT annealing), or both.
enum class MethodChoice { dodson, kinetic, all };

// Grain sizes in which the He models hold: above the longest alpha stopping distance (22.25 um)
// the ejection correction is meaningful; beyond 500 um no dated grain of apatite or zircon lies.
inline constexpr double minRadiusUm = 25.0;
inline constexpr double maxRadiusUm = 500.0;
// Radii of the argon diffusion domains of micas and hornblende: from 10 um, the finest grains
// separated for dating, to 5 mm, the coarsest books and crystals of pegmatites.
inline constexpr double minArgonRadiusUm = 10.0;
inline constexpr double maxArgonRadiusUm = 5000.0;
// The pressure a grain cooled at (the activation volume of muscovite reads it): from the surface
// to 30 kbar, about 100 km deep, below any crust that is exhumed and dated.
inline constexpr double minPressureKbar = 0.0;
inline constexpr double maxPressureKbar = 30.0;
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

// The convention of the AFT annealing model a user of --dpar needs to know (fissiontrack.h), and
// what --cf-irradiated changes: the help of the program and of the Python module says both.
inline constexpr std::string_view dparConvention
    = "r_mr0 is held at 0.84 for Dpar <= 1.75 um, as every peer holds it, so AFT ages jump by 2 to "
      "3 % between Dpar 1.75 and 1.7501 um";
inline constexpr std::string_view californiumIrradiationHelp
    = "the apatite mounts were irradiated with californium to reveal more confined tracks: "
      "unprojected lengths after the linear r_m of Ketcham et al. (1999) for such mounts";

struct AgeSettings {
    std::vector<thermochron::System> systems { thermochron::System::AHe, thermochron::System::AFT,
        thermochron::System::ZHe, thermochron::System::ZFT, thermochron::System::MAr };
    MethodChoice methods = MethodChoice::all;
    double apatiteRadiusUm = 60; // --apatite-radius: sphere-equivalent radius, um
    double zirconRadiusUm = 60; // --zircon-radius, um
    // --biotite-radius, --muscovite-radius, --hornblende-radius: the radius of the argon
    // diffusion domain, um; the calibrations' own (argonKinetics(k).radiusUm) by default.
    double biotiteRadiusUm = 150;
    double muscoviteRadiusUm = 100;
    double hornblendeRadiusUm = 80;
    double pressureKbar = 5; // --pressure, kbar: muscovite's activation volume reads it
    double uPpm = 10; // --u, ppm
    double thPpm = 10; // --th, ppm
    double smPpm = 0; // --sm, ppm: total samarium (147Sm is 14.99 % of it)
    double dparUm = 1.75; // --dpar, um
    // --cf-irradiated: measured lengths revealed by californium irradiation (the unprojected
    // lengths of Ketcham et al. 1999 for such mounts).
    bool californiumIrradiated = false;
    // The AFT rows keep their length distributions' bins (for --lengths-output), not only their
    // means and standard deviations.
    bool keepLengthBins = false;
    // --apatite-kinetics, --zircon-kinetics, --zircon-ft-kinetics: the catalogue's defaults
    // unless chosen otherwise.
    thermochron::KineticsChoice kinetics;

    // The grain of the mineral a system dates (the catalogue's mineral): its radius option (the
    // apatite radius for a system without one), the parent contents, Dpar and the pressure. Which
    // of them a method reads is the method's affair (readsParentContents, radiusOptionFor).
    thermochron::Grain grainFor(thermochron::System system) const;

    // The methods to run for system, in the order of their rows: Dodson first.
    std::vector<thermochron::Method> methodsFor(thermochron::System system) const;
};

// The option that sets the radius of a mineral's grains (or argon domains), the systems whose
// kinetic model reads it, and the range the model holds in. K-feldspar has none: its one domain
// is published as D0/a^2, and the fission-track systems read no radius.
struct RadiusOption {
    thermochron::Mineral mineral;
    std::string_view option;
    double AgeSettings::*radiusUm;
    double lowUm;
    double highUm;
};
inline constexpr RadiusOption radiusOptions[] = {
    { thermochron::Mineral::Apatite, "--apatite-radius", &AgeSettings::apatiteRadiusUm, minRadiusUm,
        maxRadiusUm },
    { thermochron::Mineral::Zircon, "--zircon-radius", &AgeSettings::zirconRadiusUm, minRadiusUm,
        maxRadiusUm },
    { thermochron::Mineral::Biotite, "--biotite-radius", &AgeSettings::biotiteRadiusUm,
        minArgonRadiusUm, maxArgonRadiusUm },
    { thermochron::Mineral::Muscovite, "--muscovite-radius", &AgeSettings::muscoviteRadiusUm,
        minArgonRadiusUm, maxArgonRadiusUm },
    { thermochron::Mineral::Hornblende, "--hornblende-radius", &AgeSettings::hornblendeRadiusUm,
        minArgonRadiusUm, maxArgonRadiusUm },
};

// The radius option whose value the kinetic model of system reads, or nullptr when that model
// reads no radius (AFT, ZFT, the K-feldspar domain).
const RadiusOption* radiusOptionFor(thermochron::System system);

// True for the (U-Th)/He systems, whose kinetic model reads U, Th and Sm.
bool readsParentContents(thermochron::System system);
// Their names: "AHe, ZHe".
std::string heliumSystemNames();

// The grain values an age of the system by the method reads: (U-Th)/He diffusion the radius and
// U, Th and Sm; argon diffusion the radius (not K-feldspar's domain) and the pressure; apatite
// annealing Dpar; zircon annealing and Dodson's closure none.
struct GrainValuesRead {
    bool radius = false;
    bool parentContents = false;
    bool dpar = false;
    bool pressure = false;
};
GrainValuesRead grainValuesRead(thermochron::System system, thermochron::Method method);

// The systems whose kinetics the user chooses, each with the member of KineticsChoice that keeps
// the choice and the option that sets it. The choices themselves, their names and the defaults
// are the catalogue's; the other systems have one kinetics each.
// With the option, the Python module's keyword: the kinetics' table, as the parameter tables are
// the numbers' (parametertables.h).
struct KineticsOption {
    thermochron::System system;
    thermochron::Kinetics thermochron::KineticsChoice::*choice;
    std::string_view option;
    std::string_view keyword;
};
inline constexpr KineticsOption kineticsOptions[] = {
    { thermochron::System::AHe, &thermochron::KineticsChoice::apatiteHelium, "--apatite-kinetics",
        "apatite_kinetics" },
    { thermochron::System::ZHe, &thermochron::KineticsChoice::zirconHelium, "--zircon-kinetics",
        "zircon_kinetics" },
    { thermochron::System::ZFT, &thermochron::KineticsChoice::zirconFissionTrack,
        "--zircon-ft-kinetics", "zircon_ft_kinetics" },
};

// The help of a kinetics option: "kinetics of AHe, apatite (U-Th)/He, any case: farley2000
// (...), ..." from the catalogue's names and descriptions.
std::string kineticsOptionHelp(const KineticsOption& option);

// The option that chooses a system's kinetics: "--apatite-kinetics", "--zircon-ft-kinetics".
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

#pragma once
// The catalogue of what the suite predicts: every thermochronometer system with its mineral and
// its kinetic method, and every set of kinetics with its name, the system it serves, whether it
// is that system's default, and one line that says what it is. The programs build their options,
// help texts and messages from these two tables, so a system or kinetics added here is known
// everywhere.

#include "system.h"

#include <optional>
#include <span>
#include <string_view>

namespace thermochron {

enum class Mineral { Apatite, Zircon, KFeldspar, Biotite, Muscovite, Hornblende };

// The kinetics an age is computed with: Dodson closure, or one kinetic model.
enum class Kinetics {
    Dodson,
    Rdaam,
    Farley,
    Zrdaam,
    Reiners,
    Ketcham2007,
    Yamada2007,
    Guenthner2013,
    Lovera1997,
    Grove1996,
    Harrison2009,
    Harrison1981,
};

struct SystemEntry {
    System system;
    std::string_view name;
    Mineral mineral;
    std::optional<Method> kineticMethod; // none: Dodson only
    std::string_view description;
};

struct KineticsEntry {
    Kinetics kinetics;
    std::string_view name;
    Method method;
    std::optional<System> system; // the one system it serves; none: every system (Dodson)
    bool isDefault; // the default kinetics of its system's kinetic method
    std::string_view description;
};

inline constexpr SystemEntry systemCatalogue[] = {
    { System::AHe, "AHe", Mineral::Apatite, Method::Diffusion, "(U-Th)/He in apatite" },
    { System::AFT, "AFT", Mineral::Apatite, Method::Annealing, "fission tracks in apatite" },
    { System::ZHe, "ZHe", Mineral::Zircon, Method::Diffusion, "(U-Th)/He in zircon" },
    { System::ZFT, "ZFT", Mineral::Zircon, Method::Annealing, "fission tracks in zircon" },
    { System::KAr, "KAr", Mineral::KFeldspar, Method::Diffusion, "40Ar/39Ar in K-feldspar" },
    { System::BAr, "BAr", Mineral::Biotite, Method::Diffusion, "40Ar/39Ar in biotite" },
    { System::MAr, "MAr", Mineral::Muscovite, Method::Diffusion, "40Ar/39Ar in muscovite" },
    { System::HAr, "HAr", Mineral::Hornblende, Method::Diffusion, "40Ar/39Ar in hornblende" },
};

inline constexpr KineticsEntry kineticsCatalogue[] = {
    { Kinetics::Dodson, "dodson", Method::Dodson, std::nullopt, false,
        "Dodson (1973) closure at the local cooling rate, parameters of Reiners and Brandon "
        "(2006)" },
    { Kinetics::Rdaam, "rdaam", Method::Diffusion, System::AHe, true,
        "radiation damage accumulation and annealing in apatite, Flowers et al. (2009)" },
    { Kinetics::Farley, "farley", Method::Diffusion, System::AHe, false,
        "Durango apatite diffusion, Farley (2000), no radiation damage" },
    { Kinetics::Zrdaam, "zrdaam", Method::Diffusion, System::ZHe, true,
        "radiation damage accumulation and annealing in zircon, Guenthner et al. (2013)" },
    { Kinetics::Reiners, "reiners", Method::Diffusion, System::ZHe, false,
        "zircon diffusion, Reiners et al. (2004), no radiation damage" },
    { Kinetics::Ketcham2007, "ketcham2007", Method::Annealing, System::AFT, true,
        "fanning curvilinear annealing with Dpar, Ketcham et al. (2007)" },
    { Kinetics::Yamada2007, "yamada2007", Method::Annealing, System::ZFT, true,
        "parallel curvilinear annealing of zircon tracks, Yamada et al. (2007)" },
    { Kinetics::Guenthner2013, "guenthner2013", Method::Annealing, System::ZFT, false,
        "fanning curvilinear annealing of zircon tracks, Guenthner et al. (2013)" },
    { Kinetics::Lovera1997, "lovera1997", Method::Diffusion, System::KAr, true,
        "one diffusion domain, plane sheet, the mean of Lovera et al. (1997)" },
    { Kinetics::Grove1996, "grove1996", Method::Diffusion, System::BAr, true,
        "infinite cylinder, Grove and Harrison (1996)" },
    { Kinetics::Harrison2009, "harrison2009", Method::Diffusion, System::MAr, true,
        "sphere with activation volume, Harrison et al. (2009)" },
    { Kinetics::Harrison1981, "harrison1981", Method::Diffusion, System::HAr, true,
        "sphere, Harrison (1981)" },
};

const SystemEntry& catalogueEntry(System system);
const KineticsEntry& catalogueEntry(Kinetics kinetics);

// "apatite", "zircon", "K-feldspar", "biotite", "muscovite", "hornblende".
std::string_view mineralName(Mineral mineral);

// The system of that name in any case ("ahe", "AHE" and "AHe" alike), or nothing.
std::optional<System> parseSystemIgnoringCase(std::string_view name);

// The catalogue's name: "dodson", "rdaam", "farley", "zrdaam", "reiners", "ketcham2007", ...
std::string_view kineticsName(Kinetics kinetics);
// The kinetics of that name in any case, or nothing.
std::optional<Kinetics> parseKinetics(std::string_view name);

// The default kinetics of a system's kinetic method; nothing for a system that has none.
constexpr std::optional<Kinetics> defaultKinetics(System system)
{
    for (const KineticsEntry& entry : kineticsCatalogue)
        if (entry.isDefault && entry.system == system)
            return entry.kinetics;
    return std::nullopt;
}

// Which kinetics the (U-Th)/He and zircon fission-track ages use; the catalogue's defaults
// unless chosen otherwise.
struct KineticsChoice {
    Kinetics apatiteHelium = *defaultKinetics(System::AHe);
    Kinetics zirconHelium = *defaultKinetics(System::ZHe);
    Kinetics zirconFissionTrack = *defaultKinetics(System::ZFT);

    // The kinetics chosen for the system: apatiteHelium for AHe, zirconHelium for ZHe,
    // zirconFissionTrack for ZFT, nothing for the others, which have no choice.
    std::optional<Kinetics> forSystem(System system) const;
};

// The kinetics an age of the system by the method is computed with under that choice: Dodson
// for the Dodson method, the choice for AHe, ZHe and ZFT, the only kinetics of the others. Nothing
// when the method does not apply to the system, or the kinetics chosen for it are of another
// system.
std::optional<Kinetics> kineticsFor(System system, Method method, const KineticsChoice& choice);

} // namespace thermochron

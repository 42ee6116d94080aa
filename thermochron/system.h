#pragma once
// The thermochronometers the suite predicts ages for, and the methods it predicts them with.
// Their minerals, kinetics and descriptions are in the catalogue (catalogue.h).

#include <optional>
#include <string_view>

namespace thermochron {

// (U-Th)/He in apatite and zircon, fission tracks in apatite and zircon, and 40Ar/39Ar in
// K-feldspar, biotite, muscovite and hornblende; in the order in which they close on cooling.
enum class System { AHe, AFT, ZHe, ZFT, KAr, BAr, MAr, HAr };

// Every system, in the order above.
inline constexpr System allSystems[] = { System::AHe, System::AFT, System::ZHe, System::ZFT,
    System::KAr, System::BAr, System::MAr, System::HAr };

// "AHe", "AFT", "ZHe", "ZFT", "KAr", "BAr", "MAr", "HAr".
std::string_view systemName(System system);
// The system of that exact name (case matters), or nothing. parseSystemIgnoringCase in the
// catalogue takes any case.
std::optional<System> parseSystem(std::string_view name);

// Dodson: a closure temperature from the cooling rate. Diffusion: production and diffusion of
// the daughter, (U-Th)/He in a spherical grain, 40Ar in a sphere, cylinder or sheet. Annealing:
// fission-track annealing, in apatite or zircon.
enum class Method { Dodson, Diffusion, Annealing };

// "dodson", "diffusion", "annealing".
std::string_view methodName(Method method);
// The kinetic method of a system: AHe, ZHe and the 40Ar/39Ar systems -> Diffusion, AFT and ZFT ->
// Annealing.
std::optional<Method> kineticMethod(System system);

} // namespace thermochron

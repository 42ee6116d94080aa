#pragma once
// The thermochronometers the suite predicts ages for, and the methods it predicts them with.
// Their minerals, kinetics and descriptions are in the catalogue (catalogue.h).

#include <optional>
#include <string_view>

namespace thermochron {

// (U-Th)/He in apatite and zircon, fission tracks in apatite and zircon, and 40Ar/39Ar in
// biotite, muscovite and hornblende.
enum class System { AHe, AFT, ZHe, ZFT, BAr, MAr, HAr };

// Every system, in the order above.
inline constexpr System allSystems[]
    = { System::AHe, System::AFT, System::ZHe, System::ZFT, System::BAr, System::MAr, System::HAr };

// "AHe", "AFT", "ZHe", "ZFT", "BAr", "MAr", "HAr".
std::string_view systemName(System system);
// The system of that exact name (case matters), or nothing. parseSystemIgnoringCase in the
// catalogue takes any case.
std::optional<System> parseSystem(std::string_view name);

// Dodson: a closure temperature from the cooling rate. Diffusion: (U-Th)/He production and
// diffusion in a spherical grain. Annealing: apatite fission-track annealing.
enum class Method { Dodson, Diffusion, Annealing };

// "dodson", "diffusion", "annealing".
std::string_view methodName(Method method);
// The kinetic method of a system: AHe and ZHe -> Diffusion, AFT -> Annealing; none for others.
std::optional<Method> kineticMethod(System system);

} // namespace thermochron

#include "catalogue.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace thermochron {

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

} // namespace

const SystemEntry& catalogueEntry(System system)
{
    for (const SystemEntry& entry : systemCatalogue)
        if (entry.system == system)
            return entry;
    throw std::logic_error("a system missing from the catalogue");
}

const KineticsEntry& catalogueEntry(Kinetics kinetics)
{
    for (const KineticsEntry& entry : kineticsCatalogue)
        if (entry.kinetics == kinetics)
            return entry;
    throw std::logic_error("kinetics missing from the catalogue");
}

std::string_view systemName(System system)
{
    return catalogueEntry(system).name;
}

std::optional<System> parseSystem(std::string_view name)
{
    for (const SystemEntry& entry : systemCatalogue)
        if (entry.name == name)
            return entry.system;
    return std::nullopt;
}

std::optional<System> parseSystemIgnoringCase(std::string_view name)
{
    for (const SystemEntry& entry : systemCatalogue)
        if (sameIgnoringCase(entry.name, name))
            return entry.system;
    return std::nullopt;
}

std::optional<Method> kineticMethod(System system)
{
    return catalogueEntry(system).kineticMethod;
}

std::string_view methodName(Method method)
{
    switch (method) {
    case Method::Dodson:
        return "dodson";
    case Method::Diffusion:
        return "diffusion";
    case Method::Annealing:
        return "annealing";
    }
    return {};
}

std::string_view mineralName(Mineral mineral)
{
    switch (mineral) {
    case Mineral::Apatite:
        return "apatite";
    case Mineral::Zircon:
        return "zircon";
    case Mineral::KFeldspar:
        return "K-feldspar";
    case Mineral::Biotite:
        return "biotite";
    case Mineral::Muscovite:
        return "muscovite";
    case Mineral::Hornblende:
        return "hornblende";
    }
    return {};
}

std::string_view kineticsName(Kinetics kinetics)
{
    return catalogueEntry(kinetics).name;
}

std::optional<Kinetics> parseKinetics(std::string_view name)
{
    for (const KineticsEntry& entry : kineticsCatalogue)
        if (sameIgnoringCase(entry.name, name))
            return entry.kinetics;
    return std::nullopt;
}

std::optional<Kinetics> KineticsChoice::forSystem(System system) const
{
    switch (system) {
    case System::AHe:
        return apatiteHelium;
    case System::ZHe:
        return zirconHelium;
    case System::ZFT:
        return zirconFissionTrack;
    default:
        return std::nullopt;
    }
}

std::optional<Kinetics> kineticsFor(System system, Method method, const KineticsChoice& choice)
{
    if (method == Method::Dodson)
        return Kinetics::Dodson;
    if (kineticMethod(system) != method)
        return std::nullopt;
    if (const std::optional<Kinetics> chosen = choice.forSystem(system)) {
        const KineticsEntry& entry = catalogueEntry(*chosen);
        if (entry.system == system && entry.method == method)
            return chosen;
        return std::nullopt;
    }
    // A system with no choice has the one kinetics of its method.
    return defaultKinetics(system);
}

} // namespace thermochron

#include "agesettings.h"

#include "inputerror.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace ages {

namespace {

std::string knownSystems()
{
    std::string names;
    for (const auto system : thermochron::allSystems)
        names += (names.empty() ? "" : ", ") + std::string(thermochron::systemName(system));
    return names;
}

std::string shown(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

std::optional<std::string> outOfRange(
    const char* option, double value, double low, double high, const char* unit)
{
    if (value >= low && value <= high)
        return std::nullopt;
    return std::string(option) + " must be from " + shown(low) + " to " + shown(high) + " " + unit
        + " (got " + shown(value) + ")";
}

} // namespace

thermochron::Grain AgeSettings::grainFor(const thermochron::System system) const
{
    const bool zircon = system == thermochron::System::ZHe || system == thermochron::System::ZFT;
    return { .radiusUm = zircon ? zirconRadiusUm : apatiteRadiusUm,
        .uPpm = uPpm,
        .thPpm = thPpm,
        .dparUm = dparUm };
}

std::vector<thermochron::Method> AgeSettings::methodsFor(const thermochron::System system) const
{
    std::vector<thermochron::Method> list;
    if (methods != MethodChoice::kinetic)
        list.push_back(thermochron::Method::Dodson);
    if (methods != MethodChoice::dodson)
        if (const auto kinetic = thermochron::kineticMethod(system))
            list.push_back(*kinetic);
    return list;
}

std::vector<thermochron::System> parseSystems(const std::string_view list)
{
    std::vector<thermochron::System> systems;
    std::size_t start = 0;
    for (;;) {
        const auto comma = list.find(',', start);
        const std::string_view name = list.substr(start, comma - start);
        const auto system = thermochron::parseSystem(name);
        if (!system)
            throw InputError("--systems: unknown system '" + std::string(name)
                + "' (known: " + knownSystems() + ")");
        if (std::find(systems.begin(), systems.end(), *system) == systems.end())
            systems.push_back(*system);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return systems;
}

MethodChoice parseMethodChoice(const std::string_view word)
{
    if (word == "dodson")
        return MethodChoice::dodson;
    if (word == "kinetic")
        return MethodChoice::kinetic;
    if (word == "all")
        return MethodChoice::all;
    throw InputError(
        "--method: unknown method '" + std::string(word) + "' (dodson, kinetic or all)");
}

std::optional<std::string> settingsError(const AgeSettings& s)
{
    if (auto error
        = outOfRange("--apatite-radius", s.apatiteRadiusUm, minRadiusUm, maxRadiusUm, "um"))
        return error;
    if (auto error
        = outOfRange("--zircon-radius", s.zirconRadiusUm, minRadiusUm, maxRadiusUm, "um"))
        return error;
    if (auto error = outOfRange("--dpar", s.dparUm, minDparUm, maxDparUm, "um"))
        return error;
    if (!(s.uPpm >= 0))
        return "--u must be 0 or more ppm (got " + shown(s.uPpm) + ")";
    if (!(s.thPpm >= 0))
        return "--th must be 0 or more ppm (got " + shown(s.thPpm) + ")";
    if (s.uPpm + s.thPpm <= 0)
        return std::string("--u and --th are both 0 ppm: the grain would make no helium");
    if (s.methods == MethodChoice::kinetic
        && std::none_of(s.systems.begin(), s.systems.end(),
            [](auto system) { return thermochron::kineticMethod(system).has_value(); }))
        return std::string("--method kinetic: none of the systems has a kinetic model (AHe, "
                           "ZHe and AFT have)");
    return std::nullopt;
}

} // namespace ages

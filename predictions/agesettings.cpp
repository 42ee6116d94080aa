#include "agesettings.h"

#include "cataloguetext.h"
#include "inputerror.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace ages {

namespace {

struct MethodWord {
    MethodChoice choice;
    std::string_view word;
};

constexpr MethodWord methodWords[] = {
    { MethodChoice::dodson, "dodson" },
    { MethodChoice::kinetic, "kinetic" },
    { MethodChoice::all, "all" },
};

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

// Kinetics chosen for a system they do not serve.
std::optional<std::string> kineticsError(
    const thermochron::System system, const thermochron::Kinetics kinetics)
{
    const thermochron::KineticsEntry& entry = thermochron::catalogueEntry(kinetics);
    if (entry.system == system)
        return std::nullopt;
    const std::string name(thermochron::systemName(system));
    return kineticsOptionName(system) + ": " + std::string(entry.name)
        + (entry.system
                ? " serves " + std::string(thermochron::systemName(*entry.system)) + ", not " + name
                : " is no kinetic model of " + name)
        + " (choose " + kineticsNames(system) + ")";
}

} // namespace

thermochron::Grain AgeSettings::grainFor(const thermochron::System system) const
{
    const bool zircon = thermochron::catalogueEntry(system).mineral == thermochron::Mineral::Zircon;
    return { .radiusUm = zircon ? zirconRadiusUm : apatiteRadiusUm,
        .uPpm = uPpm,
        .thPpm = thPpm,
        .smPpm = smPpm,
        .dparUm = dparUm };
}

std::vector<thermochron::Method> AgeSettings::methodsFor(const thermochron::System system) const
{
    std::vector<thermochron::Method> list;
    if (methods != MethodChoice::kinetic)
        list.push_back(thermochron::Method::Dodson);
    if (methods != MethodChoice::dodson)
        if (const auto kinetic = programKineticMethod(system))
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
        const auto system = thermochron::parseSystemIgnoringCase(name);
        if (!system)
            throw InputError("--systems: unknown system '" + std::string(name)
                + "' (known: " + systemNames() + ")");
        if (std::find(systems.begin(), systems.end(), *system) == systems.end())
            systems.push_back(*system);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return systems;
}

std::string kineticsOptionName(const thermochron::System system)
{
    return "--" + std::string(thermochron::mineralName(thermochron::catalogueEntry(system).mineral))
        + "-kinetics";
}

thermochron::Kinetics parseKineticsOf(const thermochron::System system, const std::string_view word)
{
    const auto kinetics = thermochron::parseKinetics(word);
    if (!kinetics)
        throw InputError(kineticsOptionName(system) + ": unknown kinetics '" + std::string(word)
            + "' (choose " + kineticsNames(system) + ")");
    if (auto error = kineticsError(system, *kinetics))
        throw InputError(*error);
    return *kinetics;
}

MethodChoice parseMethodChoice(const std::string_view word)
{
    std::vector<std::string> words;
    for (const MethodWord& entry : methodWords) {
        if (entry.word == word)
            return entry.choice;
        words.emplace_back(entry.word);
    }
    throw InputError(
        "--method: unknown method '" + std::string(word) + "' (" + joinedList(words, "or") + ")");
}

std::string methodChoiceHelp()
{
    return "dodson (closure temperature), kinetic (" + kineticSystemsText()
        + "; other systems left out) or all (both)";
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
    if (!(s.smPpm >= 0))
        return "--sm must be 0 or more ppm (got " + shown(s.smPpm) + ")";
    if (s.uPpm + s.thPpm + s.smPpm <= 0)
        return std::string("--u, --th and --sm are all 0 ppm: the grain would make no helium");
    if (!(s.uPpm <= maxParentPpm && s.thPpm <= maxParentPpm && s.smPpm <= maxParentPpm))
        return "--u, --th and --sm must each be at most " + shown(maxParentPpm)
            + " ppm, the whole grain";
    if (effectiveUraniumPpm(s.uPpm, s.thPpm, s.smPpm) < minEffectiveUraniumPpm)
        return "--u, --th and --sm give an eU below " + shown(minEffectiveUraniumPpm)
            + " ppm: the grain would make too little helium for an age";
    for (const KineticsOption& option : kineticsOptions)
        if (auto error = kineticsError(option.system, s.kinetics.*option.choice))
            return error;
    if (s.methods == MethodChoice::kinetic
        && std::none_of(s.systems.begin(), s.systems.end(),
            [](auto system) { return programKineticMethod(system).has_value(); }))
        return "--method kinetic: none of the systems has a kinetic model (" + kineticSystemNames()
            + " have)";
    return std::nullopt;
}

} // namespace ages

#include "agesettings.h"

#include "parametertables.h"
#include "textformat.h"

#include "cataloguetext.h"
#include "inputerror.h"

#include <algorithm>
#include <cmath>

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
    const RadiusOption* radius = radiusOptionFor(system);
    return { .radiusUm = radius ? this->*radius->radiusUm : apatiteRadiusUm,
        .uPpm = uPpm,
        .thPpm = thPpm,
        .smPpm = smPpm,
        .dparUm = dparUm,
        .pressureKbar = pressureKbar };
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

const RadiusOption* radiusOptionFor(const thermochron::System system)
{
    const thermochron::SystemEntry& entry = thermochron::catalogueEntry(system);
    if (entry.kineticMethod != thermochron::Method::Diffusion)
        return nullptr;
    for (const RadiusOption& option : radiusOptions)
        if (option.mineral == entry.mineral)
            return &option;
    return nullptr;
}

bool readsParentContents(const thermochron::System system)
{
    return system == thermochron::System::AHe || system == thermochron::System::ZHe;
}

GrainValuesRead grainValuesRead(const thermochron::System system, const thermochron::Method method)
{
    GrainValuesRead read;
    if (method == thermochron::Method::Diffusion) {
        read.radius = radiusOptionFor(system) != nullptr;
        read.parentContents = readsParentContents(system);
        read.pressure = !read.parentContents;
    } else if (method == thermochron::Method::Annealing) {
        read.dpar = system == thermochron::System::AFT;
    }
    return read;
}

std::string heliumSystemNames()
{
    std::string names;
    for (const thermochron::System system : thermochron::allSystems)
        if (readsParentContents(system))
            names += (names.empty() ? "" : ", ") + std::string(thermochron::systemName(system));
    return names;
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
    for (const KineticsOption& option : kineticsOptions)
        if (option.system == system)
            return std::string(option.option);
    return "the kinetics of " + std::string(thermochron::systemName(system));
}

std::string kineticsOptionHelp(const KineticsOption& option)
{
    const thermochron::SystemEntry& system = thermochron::catalogueEntry(option.system);
    return "kinetics of " + std::string(system.name) + ", " + std::string(system.description)
        + ", any case: " + describedKinetics(option.system);
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
    return "dodson (closure temperature), kinetic (" + kineticSystemsText() + ") or all (both)";
}

std::optional<std::string> settingsError(const AgeSettings& s)
{
    for (const GrainParameter& parameter : grainParameterTable) {
        const parameters::Range& range = parameter.text.range;
        if (const double value = parameter.of(s); !range.holds(value))
            return std::string(parameter.text.flag) + " must be from " + textformat::number(range.lowest)
                + " to " + textformat::number(range.highest) + " " + std::string(parameter.text.unit)
                + " (got " + textformat::number(value) + ")";
    }
    if (s.uPpm + s.thPpm + s.smPpm <= 0)
        return std::string("--u, --th and --sm are all 0 ppm: the grain would make no helium");
    if (effectiveUraniumPpm(s.uPpm, s.thPpm, s.smPpm) < minEffectiveUraniumPpm)
        return "--u, --th and --sm give an eU below " + textformat::number(minEffectiveUraniumPpm)
            + " ppm: the grain would make too little helium for an age";
    for (const KineticsOption& option : kineticsOptions)
        if (auto error = kineticsError(option.system, s.kinetics.*option.choice))
            return error;
    return std::nullopt;
}

} // namespace ages

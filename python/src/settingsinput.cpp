#include "settingsinput.h"

#include "thermochron/catalogue.h"
#include "thermochron/system.h"

#include <iterator>

namespace erosion_python {

ages::AgeSettings ageSettings(
    const py::handle& systems, const std::string& method, const GrainArguments& grain)
{
    // A list of names is the program's comma-separated list, read by the program's reader.
    std::string list;
    if (py::isinstance<py::str>(systems)) {
        list = systems.cast<std::string>();
    } else {
        for (const py::handle name : systems) {
            if (!list.empty())
                list += ',';
            list += py::str(name).cast<std::string>();
        }
    }
    ages::AgeSettings settings;
    settings.systems = ages::parseSystems(list);
    settings.methods = ages::parseMethodChoice(method);
    settings.apatiteRadiusUm = grain.apatiteRadiusUm;
    settings.zirconRadiusUm = grain.zirconRadiusUm;
    settings.uPpm = grain.uPpm;
    settings.thPpm = grain.thPpm;
    settings.smPpm = grain.smPpm;
    settings.dparUm = grain.dparUm;
    settings.biotiteRadiusUm = grain.biotiteRadiusUm;
    settings.muscoviteRadiusUm = grain.muscoviteRadiusUm;
    settings.hornblendeRadiusUm = grain.hornblendeRadiusUm;
    settings.pressureKbar = grain.pressureKbar;
    settings.californiumIrradiated = grain.californiumIrradiated;
    for (std::size_t k = 0; k < std::size(ages::kineticsOptions); ++k) {
        const ages::KineticsOption& option = ages::kineticsOptions[k];
        settings.kinetics.*option.choice
            = ages::parseKineticsOf(option.system, grain.*kineticsArguments()[k].word);
    }
    return settings;
}

namespace {

// The keywords are the kinetics table's (ages::kineticsOptions), in its order.
constexpr KineticsArgument kineticsArgumentList[] = {
    { ages::kineticsOptions[0].keyword.data(), thermochron::System::AHe,
        &GrainArguments::apatiteKinetics },
    { ages::kineticsOptions[1].keyword.data(), thermochron::System::ZHe,
        &GrainArguments::zirconKinetics },
    { ages::kineticsOptions[2].keyword.data(), thermochron::System::ZFT,
        &GrainArguments::zirconFtKinetics },
};

// One argument per option, in the options' order.
constexpr bool matchesTheOptions()
{
    if (std::size(kineticsArgumentList) != std::size(ages::kineticsOptions))
        return false;
    for (std::size_t k = 0; k < std::size(kineticsArgumentList); ++k)
        if (kineticsArgumentList[k].system != ages::kineticsOptions[k].system)
            return false;
    return true;
}
static_assert(matchesTheOptions(), "one kinetics argument per kinetics option of cooling_ages");

} // namespace

std::span<const KineticsArgument> kineticsArguments()
{
    return kineticsArgumentList;
}

std::string defaultKineticsName(const thermochron::System system)
{
    return std::string(thermochron::kineticsName(*thermochron::defaultKinetics(system)));
}

py::list defaultSystemNames()
{
    py::list names;
    for (const thermochron::System system : ages::AgeSettings {}.systems)
        names.append(py::str(std::string(thermochron::systemName(system))));
    return names;
}

} // namespace erosion_python

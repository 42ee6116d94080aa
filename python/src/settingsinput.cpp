#include "settingsinput.h"

#include "thermochron/system.h"

namespace erosion_python {

ages::AgeSettings ageSettings(
    const py::handle& systems, const std::string& method, const GrainArguments& grain)
{
    // A list of names is the program's comma-separated list, read by the program's reader.
    std::string list;
    if (py::isinstance<py::str>(systems)) {
        list = systems.cast<std::string>();
    } else {
        for (const py::handle name : systems)
            list += (list.empty() ? "" : ",") + py::str(name).cast<std::string>();
    }
    ages::AgeSettings settings;
    settings.systems = ages::parseSystems(list);
    settings.methods = ages::parseMethodChoice(method);
    settings.apatiteRadiusUm = grain.apatiteRadiusUm;
    settings.zirconRadiusUm = grain.zirconRadiusUm;
    settings.uPpm = grain.uPpm;
    settings.thPpm = grain.thPpm;
    settings.dparUm = grain.dparUm;
    return settings;
}

py::list defaultSystemNames()
{
    py::list names;
    for (const thermochron::System system : ages::AgeSettings {}.systems)
        names.append(py::str(std::string(thermochron::systemName(system))));
    return names;
}

std::string catalogueSystemNames()
{
    std::string names;
    for (const thermochron::System system : thermochron::allSystems)
        names += (names.empty() ? "" : ", ") + std::string(thermochron::systemName(system));
    return names;
}

} // namespace erosion_python

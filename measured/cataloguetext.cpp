#include "cataloguetext.h"

#include <algorithm>

namespace ages {

using thermochron::KineticsEntry;
using thermochron::SystemEntry;

std::string joinedList(const std::vector<std::string>& items, const std::string_view lastJoin)
{
    std::string text;
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (k + 1 == items.size() && k > 0) {
            text += ' ';
            text += lastJoin;
            text += ' ';
        } else if (k > 0) {
            text += ", ";
        }
        text += items[k];
    }
    return text;
}

std::string systemNames()
{
    std::string text;
    for (const SystemEntry& entry : thermochron::systemCatalogue) {
        text += text.empty() ? "" : ", ";
        text += entry.name;
    }
    return text;
}

std::string systemList(const std::vector<thermochron::System>& systems)
{
    std::string text;
    for (const thermochron::System system : systems) {
        text += text.empty() ? "" : ",";
        text += thermochron::systemName(system);
    }
    return text;
}

std::string describedSystems()
{
    std::string text;
    for (const SystemEntry& entry : thermochron::systemCatalogue) {
        text += text.empty() ? "" : ", ";
        text += entry.name;
        text += " (";
        text += entry.description;
        text += ')';
    }
    return text;
}

std::string kineticSystemsText()
{
    // One group per method, in the order the catalogue first names a system of it.
    std::vector<thermochron::Method> methods;
    for (const SystemEntry& entry : thermochron::systemCatalogue) {
        const auto method = thermochron::kineticMethod(entry.system);
        if (method && std::ranges::find(methods, *method) == methods.end())
            methods.push_back(*method);
    }
    std::string text;
    for (const thermochron::Method method : methods) {
        std::vector<std::string> names;
        for (const SystemEntry& entry : thermochron::systemCatalogue)
            if (thermochron::kineticMethod(entry.system) == method)
                names.emplace_back(entry.name);
        text += text.empty() ? "" : "; ";
        text += joinedList(names, "and");
        text += ": ";
        text += thermochron::methodName(method);
    }
    return text;
}

std::string systemNamesByMethod(
    const thermochron::Method method, const std::optional<thermochron::Mineral> mineral)
{
    std::string text;
    for (const SystemEntry& entry : thermochron::systemCatalogue) {
        if (thermochron::kineticMethod(entry.system) != method
            || (mineral && entry.mineral != *mineral))
            continue;
        text += text.empty() ? "" : ", ";
        text += entry.name;
    }
    return text;
}

std::string kineticsNames(const thermochron::System system)
{
    std::vector<std::string> names;
    for (const KineticsEntry& entry : thermochron::kineticsCatalogue)
        if (entry.system == system)
            names.emplace_back(entry.name);
    return joinedList(names, "or");
}

std::string describedKinetics(const thermochron::System system)
{
    std::string text;
    for (const KineticsEntry& entry : thermochron::kineticsCatalogue) {
        if (entry.system != system)
            continue;
        text += text.empty() ? "" : "; ";
        text += entry.name;
        text += " = ";
        text += entry.description;
        text += entry.isDefault ? " (default)" : "";
    }
    return text;
}

} // namespace ages

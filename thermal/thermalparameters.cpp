#include "thermalparameters.h"

#include "thermalparametertable.h"

#include <string_view>
#include <vector>

namespace thermal {

std::optional<std::string> parameterError(const ThermalParameters& p)
{
    // The values the chosen base, heat production shape and initial state use, in the table's
    // order.
    std::vector<std::string_view> used { "-T", "-z" };
    used.push_back(p.base == BaseCondition::Temperature ? "-b" : "-q");
    used.insert(used.end(), { "-k", "-a", "-H" });
    if (p.heatProductionUWm3 > 0.0)
        used.push_back(p.heatProductionShape == HeatProductionShape::Exponential ? "--hr" : "--h-depth");
    if (p.initial == InitialState::Linear)
        used.push_back("-B");

    for (const std::string_view flag : used) {
        const ThermalParameter& parameter = thermalParameter(flag);
        std::optional<std::string> message;
        if (flag == "-b") {
            // Heat flows up through the column: the base is hotter than the surface.
            message = parameters::rangeError(parameter.text, parameter.of(p),
                parameters::Range { .lowest = p.surfaceTemperatureC, .lowestIncluded = false },
                "the surface temperature (-T)");
        } else {
            message = parameters::rangeError(parameter.text, parameter.of(p));
        }
        if (message)
            return message;
    }
    return std::nullopt;
}

} // namespace thermal

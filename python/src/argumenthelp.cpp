#include "argumenthelp.h"

#include "agesettings.h"
#include "parametertables.h"
#include "cataloguetext.h"
#include "periodicparameters.h"
#include "settingsinput.h"

#include "thermochron/catalogue.h"

#include <string>

namespace erosion_python {

namespace {

// A table's help line as a docstring writes it, the unit in parentheses.
template <class Parameter>
ArgumentHelp tableHelp(const Parameter& parameter, const std::string& more = {})
{
    const std::string_view unit = parameter.text.unit;
    return { parameter.text.keyword,
        parameters::helpWithRange(parameter.text, more)
            + (unit.empty() ? "" : " (" + std::string(unit) + ")") };
}

} // namespace

std::vector<ArgumentHelp> transientArgumentHelp(const bool withRate)
{
    std::vector<ArgumentHelp> help;
    for (const char* flag : { "-T", "-B", "-a" })
        help.push_back(tableHelp(ages::transientParameter(flag)));
    if (withRate)
        help.push_back(tableHelp(ages::transientParameter("-r")));
    return help;
}

std::vector<ArgumentHelp> periodicArgumentHelp(const bool withRate)
{
    std::vector<ArgumentHelp> help;
    for (const ages::PeriodicParameter& parameter : ages::periodicParameterTable)
        if (withRate || parameter.text.flag != "-r")
            help.push_back(tableHelp(parameter));
    help.push_back(tableHelp(ages::periodicPointCount, "; periodic_paths: and of each path"));
    return help;
}

std::vector<ArgumentHelp> ageOptionHelp()
{
    using thermochron::Method;
    using thermochron::Mineral;
    std::vector<ArgumentHelp> help { { "method", ages::methodChoiceHelp() } };
    const auto grain = [&](const char* flag, const std::string& systems) {
        help.push_back(tableHelp(ages::grainParameter(flag), " (" + systems + ")"));
    };
    grain("--apatite-radius", ages::systemNamesByMethod(Method::Diffusion, Mineral::Apatite));
    grain("--zircon-radius", ages::systemNamesByMethod(Method::Diffusion, Mineral::Zircon));
    for (const char* flag : { "--u", "--th", "--sm" })
        grain(flag, ages::systemNamesByMethod(Method::Diffusion));
    grain("--dpar", ages::systemNamesByMethod(Method::Annealing, Mineral::Apatite));
    for (const KineticsArgument& argument : kineticsArguments()) {
        const thermochron::SystemEntry& system = thermochron::catalogueEntry(argument.system);
        help.push_back({ argument.name,
            "kinetics of " + std::string(system.name) + ", " + std::string(system.description)
                + ", any case: " + ages::describedKinetics(argument.system) });
    }
    return help;
}

void append(std::vector<ArgumentHelp>& help, std::vector<ArgumentHelp> more)
{
    for (ArgumentHelp& argument : more)
        help.push_back(std::move(argument));
}

} // namespace erosion_python

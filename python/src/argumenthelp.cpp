#include "argumenthelp.h"

#include "agesettings.h"
#include "parametertables.h"
#include "cataloguetext.h"
#include "fittables.h"
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
    return { std::string(parameter.text.keyword),
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
    const auto grain = [&](const std::string_view flag, const std::string& more) {
        help.push_back(tableHelp(ages::grainParameter(flag), more));
    };
    const auto readBy = [](const std::string& systems) { return " (" + systems + ")"; };
    for (const ages::RadiusOption& radius : ages::radiusOptions)
        grain(radius.option, readBy(ages::systemNamesByMethod(Method::Diffusion, radius.mineral)));
    grain("--pressure", readBy(ages::systemNamesByMethod(Method::Diffusion, Mineral::Muscovite)));
    for (const char* flag : { "--u", "--th", "--sm" })
        grain(flag, readBy(ages::heliumSystemNames()));
    help.push_back({ "dpar_um", dparHelp() });
    help.push_back({ "cf_irradiated", californiumHelp() });
    for (const KineticsArgument& argument : kineticsArguments()) {
        const thermochron::SystemEntry& system = thermochron::catalogueEntry(argument.system);
        help.push_back({ argument.name,
            "kinetics of " + std::string(system.name) + ", " + std::string(system.description)
                + ", any case: " + ages::describedKinetics(argument.system) });
    }
    return help;
}

std::string dparHelp()
{
    using thermochron::Method;
    using thermochron::Mineral;
    return "apatite etch pit width Dpar ("
        + ages::systemNamesByMethod(Method::Annealing, Mineral::Apatite) + "), "
        + shownNumber(ages::minDparUm) + " to " + shownNumber(ages::maxDparUm) + "; "
        + std::string(ages::dparConvention) + " (um)";
}

std::string californiumHelp()
{
    return std::string(ages::californiumIrradiationHelp);
}

std::vector<ArgumentHelp> lengthsHelp()
{
    return {
        { "lengths",
            "measured AFT confined-track lengths to fit with the ages: a CSV file with the columns "
            "sample, length_um and optionally angle_deg (to the c axis: the track is projected "
            "onto it) and dpar_um, or with lengths_sample lines of length_um [angle_deg "
            "[dpar_um]]; or a DataFrame with those columns (erosion_thermal's fits). A sample's "
            "lengths join its AFT age; a sample with lengths and no age is fitted on its lengths. "
            "The misfit adds -2 ln L of the lengths, relative to its value at the best fit" },
        { "lengths_text",
            "the text of such a file instead; lengths then names it in the messages" },
        { "lengths_sample",
            "the sample of a lengths file in the plain form (no header, no sample column)" },
    };
}

std::string lengthColumnNames()
{
    std::string names;
    for (const ages::TableColumn<ages::LengthComparison>& column :
        ages::lengthComparisonColumns()) {
        if (!names.empty())
            names += ", ";
        names += column.name;
    }
    return names;
}

void append(std::vector<ArgumentHelp>& help, std::vector<ArgumentHelp> more)
{
    for (ArgumentHelp& argument : more)
        help.push_back(std::move(argument));
}

} // namespace erosion_python

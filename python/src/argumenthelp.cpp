#include "argumenthelp.h"

#include "agesettings.h"
#include "cataloguetext.h"
#include "fittables.h"
#include "periodicparameters.h"
#include "settingsinput.h"

#include "thermochron/catalogue.h"

#include <string>

namespace erosion_python {

std::vector<ArgumentHelp> transientArgumentHelp(const bool withRate)
{
    std::vector<ArgumentHelp> help {
        { "surface_temperature_c", "surface temperature T0 (C)" },
        { "gradient_c_m",
            "temperature gradient G far below the surface, that of the initial geotherm (C/m)" },
        { "diffusivity_m2_s", "thermal diffusivity kappa (m2/s)" },
    };
    if (withRate)
        help.push_back({ "rate_mm_yr", "erosion rate, positive (mm/yr)" });
    return help;
}

std::vector<ArgumentHelp> periodicArgumentHelp(const bool withRate)
{
    std::vector<ArgumentHelp> help;
    if (withRate)
        help.push_back({ "rate_mm_yr", "erosion (exhumation) rate (mm/yr)" });
    append(help,
        {
            { "diffusivity_m2_s", "thermal diffusivity (m2/s)" },
            { "surface_temperature_c", "surface temperature at the mean level (C)" },
            { "lapse_rate_c_km", "lapse rate (C/km)" },
            { "basal_temperature_c", "basal temperature (C)" },
            { "basal_depth_m", "basal depth below the mean surface (m)" },
            { "wavelength_m", "topography wavelength lambda (m)" },
            { "relief_m", "relief amplitude h0 (m)" },
            { "duration_myr", "length of the cooling paths (Myr)" },
            { "points",
                "points of the profile from -wavelength to wavelength (periodic_paths: and of each "
                "path), 2 to "
                    + std::to_string(periodic::maxPointCount) },
        });
    return help;
}

std::vector<ArgumentHelp> ageOptionHelp()
{
    using thermochron::Method;
    using thermochron::Mineral;
    const std::string helium = " (" + ages::heliumSystemNames() + ")";
    std::vector<ArgumentHelp> help { { "method", ages::methodChoiceHelp() } };
    // One line per radius option of the program: apatite_radius_um for --apatite-radius, ...
    for (const ages::RadiusOption& radius : ages::radiusOptions) {
        const std::string mineral(thermochron::mineralName(radius.mineral));
        help.push_back({ mineral + "_radius_um",
            mineral + (radius.lowUm == ages::minRadiusUm ? " grain" : " argon diffusion")
                + " radius (" + ages::systemNamesByMethod(Method::Diffusion, radius.mineral) + "), "
                + shownNumber(radius.lowUm) + " to " + shownNumber(radius.highUm) + " (um)" });
    }
    append(help,
        {
            { "pressure_kbar",
                "pressure the argon grains cooled at (the activation volume of "
                    + ages::systemNamesByMethod(Method::Diffusion, Mineral::Muscovite)
                    + " reads it), " + shownNumber(ages::minPressureKbar) + " to "
                    + shownNumber(ages::maxPressureKbar) + " (kbar)" },
            { "u_ppm", "uranium content" + helium + " (ppm)" },
            { "th_ppm", "thorium content" + helium + " (ppm)" },
            { "sm_ppm", "total samarium content" + helium + "; U, Th and Sm not all 0 (ppm)" },
            { "dpar_um", dparHelp() },
            { "cf_irradiated", californiumHelp() },
        });
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

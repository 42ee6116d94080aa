#include "argumenthelp.h"

#include "agesettings.h"
#include "cataloguetext.h"
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
    const std::string radii
        = ", " + shownNumber(ages::minRadiusUm) + " to " + shownNumber(ages::maxRadiusUm) + " (um)";
    const std::string helium = " (" + ages::systemNamesByMethod(Method::Diffusion) + ")";
    std::vector<ArgumentHelp> help {
        { "method", ages::methodChoiceHelp() },
        { "apatite_radius_um",
            "apatite grain radius ("
                + ages::systemNamesByMethod(Method::Diffusion, Mineral::Apatite) + ")" + radii },
        { "zircon_radius_um",
            "zircon grain radius (" + ages::systemNamesByMethod(Method::Diffusion, Mineral::Zircon)
                + ")" + radii },
        { "u_ppm", "uranium content" + helium + " (ppm)" },
        { "th_ppm", "thorium content" + helium + " (ppm)" },
        { "sm_ppm", "total samarium content" + helium + "; U, Th and Sm not all 0 (ppm)" },
        { "dpar_um",
            "apatite etch pit width Dpar ("
                + ages::systemNamesByMethod(Method::Annealing, Mineral::Apatite) + "), "
                + shownNumber(ages::minDparUm) + " to " + shownNumber(ages::maxDparUm) + " (um)" },
    };
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

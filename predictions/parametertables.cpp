#include "parametertables.h"

#include <stdexcept>
#include <string>

namespace ages {

using parameters::Range;
using Run = erosion::RunParameters;
using Periodic = periodic::PeriodicParameters;

const std::array<TransientParameter, 6> transientParameterTable { {
    { { "-T", "surface_temperature_c", "surface temperature", "C", {}, "surface temperature T0" },
        &Run::surfaceTemp },
    { { "-B", "gradient_c_m", "basal temperature gradient", "C/m", {},
          "temperature gradient G far below the surface, that of the initial geotherm" },
        &Run::basalGradient },
    // The module's transient functions evaluate the closed form on the half-space: no depth.
    { { "-z", "", "model depth", "m", {}, "model depth" }, &Run::maxDepth },
    { { "-a", "diffusivity_m2_s", "thermal diffusivity", "m2/s", {}, "thermal diffusivity kappa" },
        &Run::diffusivity },
    { { "-r", "rate_mm_yr", "erosion rate", "mm/yr", {}, "erosion rate" }, &Run::erosionRate },
    { { "-o", "exposure_myr", "exposure time", "Myr", {},
          "exposure time of the dated rock after erosion began, not rounded" },
        &Run::historyTime },
} };

const std::array<PeriodicParameter, 9> periodicParameterTable { {
    { { "-r", "rate_mm_yr", "erosion rate", "mm/yr", {}, "erosion (exhumation) rate" },
        &Periodic::erosionRate },
    { { "-a", "diffusivity_m2_s", "thermal diffusivity", "m2/s", {}, "thermal diffusivity" },
        &Periodic::diffusivity },
    { { "-T", "surface_temperature_c", "surface temperature", "C", {},
          "surface temperature at the mean level" },
        &Periodic::surfaceTemp },
    { { "-L", "lapse_rate_c_km", "lapse rate", "C/km", {}, "lapse rate" }, &Periodic::lapseRate },
    { { "-b", "basal_temperature_c", "basal temperature", "C", {}, "basal temperature" },
        &Periodic::basalTemp },
    { { "-z", "basal_depth_m", "basal depth", "m", {}, "basal depth below the mean surface" },
        &Periodic::basalDepth },
    { { "-w", "wavelength_m", "topography wavelength", "m", {}, "topography wavelength lambda" },
        &Periodic::wavelength },
    { { "-A", "relief_m", "relief amplitude", "m", {}, "relief amplitude h0" },
        &Periodic::reliefAmplitude },
    { { "-o", "duration_myr", "path length", "Myr", {}, "length of the cooling paths" },
        &Periodic::historyDuration },
} };

const PeriodicCount periodicPointCount { { "-n", "points", "profile points", "",
                                             Range { .lowest = 2, .highest = periodic::maxPointCount },
                                             "profile points from -wavelength to wavelength" },
    &Periodic::pointCount };

// The grain of the (U-Th)/He and fission-track systems, where a sample does not give its own.
const std::array<GrainParameter, 10> grainParameterTable { {
    { { "--apatite-radius", "apatite_radius_um", "apatite grain radius", "um",
          Range { .lowest = minRadiusUm, .highest = maxRadiusUm },
          "apatite grain radius, sphere-equivalent" },
        &AgeSettings::apatiteRadiusUm },
    { { "--zircon-radius", "zircon_radius_um", "zircon grain radius", "um",
          Range { .lowest = minRadiusUm, .highest = maxRadiusUm },
          "zircon grain radius, sphere-equivalent" },
        &AgeSettings::zirconRadiusUm },
    // The argon systems' diffusion domains: the radii of their calibrations (Grove & Harrison
    // 1996, biotite, infinite cylinder; Harrison et al. 2009, muscovite, sphere; Harrison 1981,
    // hornblende, sphere), and the pressure the muscovite's activation volume reads.
    { { "--biotite-radius", "biotite_radius_um", "biotite diffusion radius", "um",
          Range { .lowest = minArgonRadiusUm, .highest = maxArgonRadiusUm },
          "biotite argon diffusion radius, infinite cylinder" },
        &AgeSettings::biotiteRadiusUm },
    { { "--muscovite-radius", "muscovite_radius_um", "muscovite diffusion radius", "um",
          Range { .lowest = minArgonRadiusUm, .highest = maxArgonRadiusUm },
          "muscovite argon diffusion radius, sphere" },
        &AgeSettings::muscoviteRadiusUm },
    { { "--hornblende-radius", "hornblende_radius_um", "hornblende diffusion radius", "um",
          Range { .lowest = minArgonRadiusUm, .highest = maxArgonRadiusUm },
          "hornblende argon diffusion radius, sphere" },
        &AgeSettings::hornblendeRadiusUm },
    { { "--pressure", "pressure_kbar", "pressure", "kbar",
          Range { .lowest = minPressureKbar, .highest = maxPressureKbar },
          "pressure the argon grains cooled at" },
        &AgeSettings::pressureKbar },
    { { "--u", "u_ppm", "uranium content", "ppm", Range { .lowest = 0, .highest = maxParentPpm },
          "uranium content of the He grains" },
        &AgeSettings::uPpm },
    { { "--th", "th_ppm", "thorium content", "ppm", Range { .lowest = 0, .highest = maxParentPpm },
          "thorium content of the He grains" },
        &AgeSettings::thPpm },
    { { "--sm", "sm_ppm", "samarium content", "ppm", Range { .lowest = 0, .highest = maxParentPpm },
          "total samarium content of the He grains; U, Th and Sm not all 0" },
        &AgeSettings::smPpm },
    // The annealing kinetics take rmr0 = 0.84 ((4.58 - Dpar) / 2.98)^0.21 (Ketcham et al. 2007,
    // Am. Mineral. 92:799) held at 0.84 for Dpar <= 1.75 um, the convention the field's codes
    // share: AFT ages jump by 2 to 3 % between Dpar 1.75 and 1.7501 um (dparConvention).
    { { "--dpar", "dpar_um", "etch pit width Dpar", "um",
          Range { .lowest = minDparUm, .highest = maxDparUm },
          "apatite etch pit width Dpar" },
        &AgeSettings::dparUm },
} };

template <class Entry>
const Entry& parameterOf(const std::span<const Entry> table, const std::string_view flag)
{
    for (const Entry& entry : table)
        if (entry.text.flag == flag)
            return entry;
    throw std::out_of_range("no parameter " + std::string(flag));
}

const TransientParameter& transientParameter(const std::string_view flag)
{
    return parameterOf<TransientParameter>(transientParameterTable, flag);
}

const PeriodicParameter& periodicParameter(const std::string_view flag)
{
    return parameterOf<PeriodicParameter>(periodicParameterTable, flag);
}

const GrainParameter& grainParameter(const std::string_view flag)
{
    return parameterOf<GrainParameter>(grainParameterTable, flag);
}

} // namespace ages

#include "thermalparametertable.h"

#include <stdexcept>
#include <string>

namespace thermal {

using parameters::Range;
using P = ThermalParameters;

const std::array<ThermalParameter, 10> thermalParameterTable { {
    { { "-T", "surface_temperature_c", "surface temperature", "C",
          Range { .lowest = absoluteZeroC }, "surface temperature T0" },
        &P::surfaceTemperatureC },
    { { "-z", "base_depth_m", "base depth", "m",
          Range { .lowest = 0.0, .lowestIncluded = false, .highest = deepestBaseM },
          "depth of the column's base" },
        &P::baseDepthM },
    // Heat flows up through the column: the base is hotter than the surface, a bound that
    // parameterError takes from -T.
    { { "-b", "base_temperature_c", "base temperature", "C",
          Range { .lowest = absoluteZeroC, .lowestIncluded = false },
          "temperature the base is held at, above T0" },
        &P::baseTemperatureC },
    { { "-q", "base_heat_flow_mw_m2", "base heat flow", "mW/m2", Range { .lowest = 0.0 },
          "instead of -b: heat flow into the base" },
        &P::baseHeatFlowMWm2 },
    { { "-k", "conductivity_w_m_k", "conductivity", "W/m/K",
          Range { .lowest = 0.0, .lowestIncluded = false }, "thermal conductivity" },
        &P::conductivityWmK },
    { { "-a", "diffusivity_m2_s", "diffusivity", "m2/s",
          Range { .lowest = 0.0, .lowestIncluded = false }, "thermal diffusivity kappa" },
        &P::diffusivityM2s },
    { { "-H", "heat_production_uw_m3", "heat production", "uW/m3", Range { .lowest = 0.0 },
          "radiogenic heat production at the surface" },
        &P::heatProductionUWm3 },
    { { "--hr", "heat_production_scale_m", "heat production scale", "m",
          Range { .lowest = 0.0, .lowestIncluded = false },
          "e-folding depth hr of the heat production, H exp(-depth / hr)" },
        &P::heatProductionScaleM },
    { { "--h-depth", "heat_production_depth_m", "heat-producing layer depth", "m",
          Range { .lowest = 0.0, .lowestIncluded = false },
          "instead of --hr: depth of a uniform heat-producing layer, none below" },
        &P::heatProductionDepthM },
    { { "-B", "initial_gradient_c_m", "initial gradient", "C/m", Range { .lowest = 0.0 },
          "with --initial linear: the gradient G of the initial state T0 + G depth" },
        &P::initialGradientCm },
} };

const ThermalParameter& thermalParameter(const std::string_view flag)
{
    for (const ThermalParameter& parameter : thermalParameterTable)
        if (parameter.text.flag == flag)
            return parameter;
    throw std::out_of_range("no thermal parameter " + std::string(flag));
}

} // namespace thermal

#include "historyinput.h"

#include "historyrequest.h"

#include <utility>

namespace erosion_python {

namespace {

const thermal::ThermalParameters defaults;

} // namespace

const char* const erosionHelp
    = "the phases, oldest first: pairs (start_ma, rate_mm_yr), e.g. [(20, 0.3), (5, 0.6)], or "
      "the text '20:0.3,5:0.6'; each phase lasts until the next starts, the last until today "
      "(Ma, mm/yr)";

thermal::ErosionHistory erosionHistory(const py::handle& erosion)
{
    if (py::isinstance<py::str>(erosion))
        return thermal::parseErosionHistory(erosion.cast<std::string>());
    thermal::ErosionHistory history;
    for (const py::handle phase : erosion) {
        try {
            const auto pair = phase.cast<std::pair<double, double>>();
            history.push_back({ .startMa = pair.first, .rateMmYr = pair.second });
        } catch (const py::cast_error&) {
            throw py::value_error("erosion phase " + std::to_string(history.size() + 1) + " ("
                + py::repr(phase).cast<std::string>()
                + ") is not a pair of numbers (start_ma, rate_mm_yr)");
        }
    }
    raiseIf(thermal::historyError(history));
    return history;
}

thermal::ThermalParameters thermalParameters(const ThermalArguments& arguments)
{
    thermal::ThermalParameters parameters;
    parameters.surfaceTemperatureC = arguments.surfaceTemperatureC;
    parameters.baseDepthM = arguments.baseDepthM;
    parameters.baseTemperatureC = arguments.baseTemperatureC.value_or(defaults.baseTemperatureC);
    parameters.baseHeatFlowMWm2 = arguments.baseHeatFlowMWm2.value_or(defaults.baseHeatFlowMWm2);
    parameters.conductivityWmK = arguments.conductivityWmK;
    parameters.diffusivityM2s = arguments.diffusivityM2s;
    parameters.heatProductionUWm3 = arguments.heatProductionUWm3;
    parameters.heatProductionScaleM
        = arguments.heatProductionScaleM.value_or(defaults.heatProductionScaleM);
    parameters.heatProductionDepthM
        = arguments.heatProductionDepthM.value_or(defaults.heatProductionDepthM);
    parameters.initialGradientCm = arguments.initialGradientCm.value_or(defaults.initialGradientCm);
    ages::applyThermalChoices({ .baseTemperature = arguments.baseTemperatureC.has_value(),
                                  .baseHeatFlow = arguments.baseHeatFlowMWm2.has_value(),
                                  .productionScale = arguments.heatProductionScaleM.has_value(),
                                  .productionDepth = arguments.heatProductionDepthM.has_value(),
                                  .initialGradient = arguments.initialGradientCm.has_value(),
                                  .initialWord = arguments.initial },
        parameters);
    raiseIf(thermal::parameterError(parameters));
    return parameters;
}

std::vector<ArgumentHelp> thermalArgumentHelp()
{
    return {
        { "surface_temperature_c", "surface temperature T0 (C)" },
        { "base_depth_m",
            "base depth L, above 0 and at most " + shownNumber(thermal::deepestBaseM) + " (m)" },
        { "base_temperature_c",
            "base held at this temperature, above T0; " + shownNumber(defaults.baseTemperatureC)
                + " when neither this nor base_heat_flow_mw_m2 is given (C)" },
        { "base_heat_flow_mw_m2",
            "or: base fed by this heat flow, instead of base_temperature_c (mW/m2)" },
        { "conductivity_w_m_k", "thermal conductivity (W/m/K)" },
        { "diffusivity_m2_s", "thermal diffusivity kappa (m2/s)" },
        { "heat_production_uw_m3", "heat production at the surface (uW/m3)" },
        { "heat_production_scale_m",
            "the e-folding depth hr of the heat production H exp(-d / hr); "
                + shownNumber(defaults.heatProductionScaleM)
                + " when neither this nor heat_production_depth_m is given (m)" },
        { "heat_production_depth_m",
            "or: a uniform heat-producing layer of this thickness, instead of "
            "heat_production_scale_m (m)" },
        { "initial",
            "'steady': the steady geotherm of the model without erosion; 'linear': the line T0 "
            "+ G d of transient_erosion" },
        { "initial_gradient_c_m",
            "gradient G of the linear initial state, " + shownNumber(defaults.initialGradientCm)
                + " when not given; only with initial='linear' (C/m)" },
    };
}

} // namespace erosion_python

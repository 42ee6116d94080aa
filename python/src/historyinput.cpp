#include "historyinput.h"

#include "thermalparametertable.h"

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
    // The table's help and range; the keywords that default to None say what they stand for.
    std::vector<ArgumentHelp> help;
    for (const thermal::ThermalParameter& parameter : thermal::thermalParameterTable) {
        const std::string_view keyword = parameter.text.keyword;
        const bool standsForDefault = keyword == "base_temperature_c"
            || keyword == "heat_production_scale_m" || keyword == "initial_gradient_c_m";
        std::string meaning = parameters::helpWithRange(parameter.text,
            standsForDefault ? "; " + shownNumber(parameter.defaultValue()) + " when not given"
                             : std::string());
        help.push_back({ std::string(keyword), meaning + " (" + std::string(parameter.text.unit) + ")" });
        if (keyword == "heat_production_depth_m")
            help.push_back({ "initial",
                "'steady': the steady geotherm of the model without erosion; 'linear': the line "
                "T0 + G d of transient_erosion" });
    }
    return help;
}

} // namespace erosion_python

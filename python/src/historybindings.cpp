// history_path: the erosion-history thermal model (thermal/): a column under erosion that is
// constant within each phase, with heat production and a base held at a temperature or fed by a
// heat flow, and the cooling path of the rock exposed today.

#include "arrays.h"
#include "bindings.h"
#include "helptext.h"

#include "erosionhistory.h"
#include "historypath.h"
#include "thermalparameters.h"

#include <pybind11/stl.h>

#include <optional>

namespace erosion_python {

namespace {

const thermal::ThermalParameters defaults;

// The names of the initial states, as the argument takes them.
constexpr const char* steadyName = "steady";
constexpr const char* linearName = "linear";

// The phases from "START:RATE,..." (parsed and refused by the library's reader) or from pairs
// (start_ma, rate_mm_yr), oldest first.
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

thermal::InitialState initialState(const std::string& name)
{
    if (name == steadyName)
        return thermal::InitialState::Steady;
    if (name == linearName)
        return thermal::InitialState::Linear;
    throw py::value_error("--initial expects " + std::string(steadyName) + " or "
        + std::string(linearName) + ", got '" + name + "'");
}

py::dict historyPath(const py::object& erosion, const double surfaceTemperatureC,
    const double baseDepthM, const double baseTemperatureC,
    const std::optional<double> baseHeatFlowMWm2, const double conductivityWmK,
    const double diffusivityM2s, const double heatProductionUWm3, const double heatProductionScaleM,
    const std::optional<double> heatProductionDepthM, const std::string& initial,
    const double initialGradientCm)
{
    thermal::ThermalParameters parameters;
    parameters.surfaceTemperatureC = surfaceTemperatureC;
    parameters.baseDepthM = baseDepthM;
    parameters.baseTemperatureC = baseTemperatureC;
    if (baseHeatFlowMWm2) {
        parameters.base = thermal::BaseCondition::HeatFlow;
        parameters.baseHeatFlowMWm2 = *baseHeatFlowMWm2;
    }
    parameters.conductivityWmK = conductivityWmK;
    parameters.diffusivityM2s = diffusivityM2s;
    parameters.heatProductionUWm3 = heatProductionUWm3;
    parameters.heatProductionScaleM = heatProductionScaleM;
    if (heatProductionDepthM) {
        parameters.heatProductionShape = thermal::HeatProductionShape::Uniform;
        parameters.heatProductionDepthM = *heatProductionDepthM;
    }
    parameters.initial = initialState(initial);
    parameters.initialGradientCm = initialGradientCm;

    const thermal::ErosionHistory history = erosionHistory(erosion);
    raiseIf(thermal::runError(parameters, history));
    thermal::HistoryPath path;
    {
        const py::gil_scoped_release release;
        path = thermal::historyPath(parameters, history);
    }
    return pathDict(std::move(path.timeMa), std::move(path.temperatureC), std::move(path.depthM));
}

} // namespace

void bindHistory(py::module_& module)
{
    module.def("history_path", &historyPath, py::arg("erosion"), py::kw_only(),
        py::arg("surface_temperature_c") = defaults.surfaceTemperatureC,
        py::arg("base_depth_m") = defaults.baseDepthM,
        py::arg("base_temperature_c") = defaults.baseTemperatureC,
        py::arg("base_heat_flow_mw_m2") = py::none(),
        py::arg("conductivity_w_m_k") = defaults.conductivityWmK,
        py::arg("diffusivity_m2_s") = defaults.diffusivityM2s,
        py::arg("heat_production_uw_m3") = defaults.heatProductionUWm3,
        py::arg("heat_production_scale_m") = defaults.heatProductionScaleM,
        py::arg("heat_production_depth_m") = py::none(), py::arg("initial") = steadyName,
        py::arg("initial_gradient_c_m") = defaults.initialGradientCm,
        helpText("The cooling path of the rock exposed today under an erosion history: the "
                 "temperature of a crustal column (Crank-Nicolson on a grid fixed to the eroding "
                 "surface) whose erosion rate is constant within each phase, with radiogenic "
                 "heat production, the base held at a temperature or fed by a heat flow, from "
                 "the initial state when the first phase begins to today.",
            {
                { "erosion",
                    "the phases, oldest first: pairs (start_ma, rate_mm_yr), e.g. [(20, 0.3), (5, "
                    "0.6)], or the text '20:0.3,5:0.6'; each phase lasts until the next starts, "
                    "the last until today (Ma, mm/yr)" },
                { "surface_temperature_c", "surface temperature T0 (C)" },
                { "base_depth_m",
                    "base depth L, above 0 and at most " + shownNumber(thermal::deepestBaseM)
                        + " (m)" },
                { "base_temperature_c", "base held at this temperature, above T0 (C)" },
                { "base_heat_flow_mw_m2",
                    "or: base fed by this heat flow, instead of base_temperature_c (mW/m2)" },
                { "conductivity_w_m_k", "thermal conductivity (W/m/K)" },
                { "diffusivity_m2_s", "thermal diffusivity kappa (m2/s)" },
                { "heat_production_uw_m3", "heat production at the surface (uW/m3)" },
                { "heat_production_scale_m",
                    "the e-folding depth hr of the heat production H exp(-d / hr) (m)" },
                { "heat_production_depth_m",
                    "or: a uniform heat-producing layer of this thickness, instead of "
                    "heat_production_scale_m (m)" },
                { "initial",
                    std::string("'") + steadyName
                        + "': the steady geotherm of the model without erosion; '" + linearName
                        + "': the line T0 + G d of transient_erosion" },
                { "initial_gradient_c_m", "gradient G of the linear initial state (C/m)" },
            },
            "a dict of arrays, oldest point first, one point per time step: time_ma (from the "
            "first phase's start to 0), temperature_c (C), depth_m (below today's surface, m).")
            .c_str());
}

} // namespace erosion_python

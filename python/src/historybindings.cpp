// history_path: the erosion-history thermal model (thermal/): a column under erosion that is
// constant within each phase, with heat production and a base held at a temperature or fed by a
// heat flow, and the cooling path of the rock exposed today.

#include "argumenthelp.h"
#include "arrays.h"
#include "bindings.h"
#include "helptext.h"
#include "historyinput.h"
#include "tablearguments.h"
#include "thermalparametertable.h"

#include "erosionhistory.h"
#include "historypath.h"
#include "thermalparameters.h"

#include <pybind11/stl.h>

#include <optional>

namespace erosion_python {

namespace {

py::dict historyPath(const py::object& erosion, const double surfaceTemperatureC,
    const double baseDepthM, const std::optional<double> baseTemperatureC,
    const std::optional<double> baseHeatFlowMWm2, const double conductivityWmK,
    const double diffusivityM2s, const double heatProductionUWm3,
    const std::optional<double> heatProductionScaleM,
    const std::optional<double> heatProductionDepthM, const std::string& initial,
    const std::optional<double> initialGradientCm)
{
    const thermal::ErosionHistory history = erosionHistory(erosion);
    const thermal::ThermalParameters parameters = thermalParameters({ surfaceTemperatureC,
        baseDepthM, baseTemperatureC, baseHeatFlowMWm2, conductivityWmK, diffusivityM2s,
        heatProductionUWm3, heatProductionScaleM, heatProductionDepthM, initial,
        initialGradientCm });
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
    using thermal::thermalParameter;
    std::vector<ArgumentHelp> help { { "erosion", erosionHelp } };
    append(help, thermalArgumentHelp());
    module.def("history_path", &historyPath, py::arg("erosion"), py::kw_only(),
        keyword(thermalParameter("-T")), keyword(thermalParameter("-z")),
        optionalKeyword(thermalParameter("-b")), optionalKeyword(thermalParameter("-q")),
        keyword(thermalParameter("-k")), keyword(thermalParameter("-a")),
        keyword(thermalParameter("-H")), optionalKeyword(thermalParameter("--hr")),
        optionalKeyword(thermalParameter("--h-depth")), py::arg("initial") = "steady",
        optionalKeyword(thermalParameter("-B")),
        helpText("The cooling path of the rock exposed today under an erosion history: the "
                 "temperature of a crustal column (Crank-Nicolson on a grid fixed to the eroding "
                 "surface) whose erosion rate is constant within each phase, with radiogenic "
                 "heat production, the base held at a temperature or fed by a heat flow, from "
                 "the initial state when the first phase begins to today.",
            help,
            "a dict of arrays, oldest point first, one point per time step: time_ma (from the "
            "first phase's start to 0), temperature_c (C), depth_m (below today's surface, m).")
            .c_str());
}

} // namespace erosion_python

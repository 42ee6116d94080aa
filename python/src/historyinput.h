#pragma once
// The arguments of the erosion-history model that history_path and fit_history share: the
// phases, given as pairs or as the text of --erosion, and the thermal parameters, set and refused
// as `cooling_ages history` sets and refuses its thermal options (historyrequest.h).

#include "arrays.h"
#include "helptext.h"

#include "erosionhistory.h"
#include "thermalparameters.h"

#include <optional>
#include <string>
#include <vector>

namespace erosion_python {

// The phases from "START:RATE,..." (parsed and refused by the library's reader) or from pairs
// (start_ma, rate_mm_yr), oldest first. ValueError for a phase that is not such a pair.
thermal::ErosionHistory erosionHistory(const py::handle& erosion);

// The thermal arguments as given: nothing where the argument was left out, so that two that
// exclude each other are refused even at their default values.
struct ThermalArguments {
    double surfaceTemperatureC;
    double baseDepthM;
    std::optional<double> baseTemperatureC;
    std::optional<double> baseHeatFlowMWm2;
    double conductivityWmK;
    double diffusivityM2s;
    double heatProductionUWm3;
    std::optional<double> heatProductionScaleM;
    std::optional<double> heatProductionDepthM;
    std::string initial;
    std::optional<double> initialGradientCm;
};

// The parameters, refused (ValueError) as the program refuses its options: two values that
// exclude each other, a value the chosen state would ignore, a value out of range.
thermal::ThermalParameters thermalParameters(const ThermalArguments& arguments);

// The help line of the phases.
extern const char* const erosionHelp;

// The help lines of the thermal arguments, in the order of ThermalArguments.
std::vector<ArgumentHelp> thermalArgumentHelp();

} // namespace erosion_python

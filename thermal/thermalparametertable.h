#pragma once
// The parameter table of the thermal column (thermalparameters.h): for each number, its option
// of `cooling_ages history`, its keyword in the Python module, unit, accepted range and help. The
// options, their checks (parameterError), the module's keywords and docstrings and the manual's
// option table are all made from it.

#include "parametertable.h"
#include "thermalparameters.h"

#include <array>
#include <string_view>

namespace thermal {

using ThermalParameter = parameters::Parameter<ThermalParameters>;

// In the order --help lists them.
extern const std::array<ThermalParameter, 10> thermalParameterTable;

// The entry of flag ("-T", "--hr"); std::out_of_range for a flag the table does not hold.
const ThermalParameter& thermalParameter(std::string_view flag);

} // namespace thermal

#pragma once
// The parameter tables of what `cooling_ages` dates (common/parametertable.h): the transient
// model's numbers, the periodic model's, and the grain of the age options. For each, its flag,
// its keyword in the Python module, unit, accepted range and help; the options of the command
// line, the grain's range checks (settingsError), the module's keywords and docstrings and the
// manual's option tables are made from them. The thermal column's table is thermal's own
// (thermalparametertable.h).
//
// The transient and periodic models check their parameters themselves, with the limits that
// depend on one another (the exposure time against the depth, the relief against the wavelength),
// so their entries carry no range: the help states none it does not check.

#include "agesettings.h"
#include "parametertable.h"

#include "periodicparameters.h"
#include "runparameters.h"

#include <array>
#include <span>
#include <string_view>

namespace ages {

using TransientParameter = parameters::Parameter<erosion::RunParameters>;
using PeriodicParameter = parameters::Parameter<periodic::PeriodicParameters>;
using PeriodicCount = parameters::Parameter<periodic::PeriodicParameters, int>;
using GrainParameter = parameters::Parameter<AgeSettings>;

// In the order --help lists them.
extern const std::array<TransientParameter, 6> transientParameterTable;
extern const std::array<PeriodicParameter, 9> periodicParameterTable;
extern const PeriodicCount periodicPointCount; // -n
extern const std::array<GrainParameter, 10> grainParameterTable;

// The entry of flag in table; std::out_of_range for a flag it does not hold.
template <class Entry>
const Entry& parameterOf(std::span<const Entry> table, std::string_view flag);

const TransientParameter& transientParameter(std::string_view flag);
const PeriodicParameter& periodicParameter(std::string_view flag);
const GrainParameter& grainParameter(std::string_view flag);

} // namespace ages

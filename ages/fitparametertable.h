#pragma once
// The parameter table of the history fit (common/parametertable.h): how many phases it fits and
// the bounds it searches, each with its flag, the Python module's keyword, unit, range and help.
// With the sampler's table (samplerparametertable.h) it makes the command line's fit options,
// the module's docstrings and the manual's table of the history fit.

#include "historyrequest.h"
#include "parametertable.h"

#include <array>
#include <string_view>

namespace ages {

using FitPhaseCount = parameters::Parameter<HistoryRequest, int>;

extern const FitPhaseCount fitPhaseParameter; // --fit-phases

// --rates, --change-times, --decay-times, --fit-base, in the order --help lists them.
extern const std::array<parameters::BoundsParameter, 4> fitBoundsTable;

// The entry of flag; std::out_of_range for a flag the table does not hold.
const parameters::BoundsParameter& fitBounds(std::string_view flag);

// The geotherm the rate fits may fit with the rate (--fit-base): the transient half-space's
// basal gradient -B, the periodic steady state's basal temperature -b (ratefitbase.h).
extern const parameters::BoundsParameter transientFitBase;
extern const parameters::BoundsParameter periodicFitBase;

// The help of a bounds option on the command line: "bounds on every phase's rate, MIN:MAX in
// mm/yr (default: 0.05:2)"; and in the module, where the bounds are a pair: "bounds (min, max)
// on every phase's rate in mm/yr; (0.05, 2) when not given".
std::string boundsOptionHelp(const parameters::BoundsParameter& parameter);
// The command line's help without its unit and default, for a table that shows them apart.
std::string boundsHelp(const parameters::BoundsParameter& parameter);
std::string boundsKeywordHelp(const parameters::BoundsParameter& parameter);

} // namespace ages

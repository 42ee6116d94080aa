#pragma once
// The steady state of the periodic model, fitted and judged as periodic_topography judges it:
// a fit whose surface misfit exceeds the model's limit is refused with the model's own reason.

#include "periodicparameters.h"
#include "steadystate.h"

namespace ages {

// The fitted model. Throws InputError (naming the rate) when the fit misses the
// surface by more than periodic_topography accepts. Precondition: parameterError gives nothing.
periodic::PeriodicSteadyState fittedSteadyState(const periodic::PeriodicParameters& parameters);

} // namespace ages

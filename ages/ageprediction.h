#pragma once
// From cooling paths to rows of predicted ages: one path, one transient run at one erosion rate,
// one periodic profile at one erosion rate, and sweeps of either over several rates.

#include "agerow.h"
#include "agesettings.h"
#include "periodicparameters.h"
#include "runparameters.h"
#include "samplepath.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ages {

// The ages along one path: for each system in turn, its Dodson age, then its kinetic age, as the
// settings ask. Closure depths come from the path's depths; rate and place are left empty.
std::vector<AgeRow> pathAgeRows(const SamplePath& sample, const AgeSettings& settings);

// The transient model's parameter refusals for the path of the rock exposed at exposureMyr: the
// solver's own checks, then a start inside the model (exposure within the time axis of the
// solver's grid) and an exposure after erosion began. The "ERROR: ..." line, or nothing.
std::optional<std::string> transientParameterError(
    const erosion::RunParameters& parameters, double exposureMyr);

// The ages of the rock that the transient model exposes at exposureMyr, rate filled in.
// Preconditions: transientParameterError gives nothing.
std::vector<AgeRow> transientAgeRows(
    const erosion::RunParameters& parameters, double exposureMyr, const AgeSettings& settings);

// The periodic model's parameter refusals (periodic_topography's own), as an "ERROR: ..." line.
std::optional<std::string> periodicParameterError(const periodic::PeriodicParameters& parameters);

// The ages of the rocks exposed at every profile point (see profilePoints), in order of x, with
// rate, x, elevation and site filled in; the points are shared out over `threads` threads.
// Throws InputError when the relief is too steep for the steady-state fit, as
// periodic_topography refuses it. Preconditions: periodicParameterError gives nothing.
std::vector<AgeRow> periodicAgeRows(
    const periodic::PeriodicParameters& parameters, const AgeSettings& settings, unsigned threads);

// The rows of every rate, computed on all processors and joined in the order of the rates.
// rowsAt(rate, threads) gives the rows of one rate; it is told how many threads it may use itself
// (all of them when there is a single rate, one otherwise).
std::vector<AgeRow> sweepAgeRows(const std::vector<double>& rates,
    const std::function<std::vector<AgeRow>(double rate, unsigned threads)>& rowsAt);

} // namespace ages

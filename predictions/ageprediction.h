#pragma once
// From cooling paths to rows of predicted ages: one path, one transient run at one erosion rate,
// one periodic profile at one erosion rate, and sweeps of either over several rates.

#include "agerow.h"
#include "agesettings.h"
#include "parallelfor.h"
#include "periodicparameters.h"
#include "runparameters.h"
#include "samplepath.h"
#include "steadystate.h"

#include "thermochron/tracklengths.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ages {

// Hears the share (0 .. 1) of some work that is done; called from any thread, one call at a time
// or concurrently, so it must guard itself.
using ProgressReport = std::function<void(double fraction)>;

// How the work of one rate may be done: on how many threads, and whom to tell how far it got.
struct RateWork {
    unsigned threads = 1;
    ProgressReport report; // may be empty
};

// The ages along one path: for each system in turn, its Dodson age, then its kinetic age, as the
// settings ask, with the settings' grain and kinetics; an AFT age by annealing with its predicted
// track lengths. Closure depths come from the path's depths; rate and place are left empty.
// Throws InputError when the path leaves the range of temperatures of pathlimits.h.
std::vector<AgeRow> pathAgeRows(const SamplePath& sample, const AgeSettings& settings);

// The length distributions of an apatite of the grain's Dpar along the path, in the mounts the
// settings name (--cf-irradiated).
thermochron::TrackLengths apatiteLengths(const thermochron::CoolingPath& path,
    const thermochron::Grain& grain, const AgeSettings& settings);

// Their means and standard deviations, and their bins when the settings keep them. A path that
// leaves no track to be measured gives NaN.
PredictedLengths predictedLengths(const thermochron::CoolingPath& path,
    const thermochron::Grain& grain, const AgeSettings& settings);

// The transient model's parameter refusals for the path of the rock exposed at exposureMyr: the
// solver's checks of its parameters, an exposure after erosion began, the solver's checks of an
// exposure time (erosion::exposureTimeError; the closed form has no grid to bound it) and a path
// no longer than the Earth's history. None depends on the rate, once it is positive. The
// message, or nothing.
std::optional<std::string> transientParameterError(
    const erosion::RunParameters& parameters, double exposureMyr);

// The ages of the rock that the transient model exposes at exposureMyr, rate filled in.
// Preconditions: transientParameterError gives nothing.
std::vector<AgeRow> transientAgeRows(
    const erosion::RunParameters& parameters, double exposureMyr, const AgeSettings& settings);

// The periodic model's parameter refusals (periodic_topography's own), then a path no longer than
// the Earth's history: the message, or nothing.
std::optional<std::string> periodicParameterError(const periodic::PeriodicParameters& parameters);

// The ages of the rocks exposed at every profile point (periodic::profilePoints), in order of x,
// with rate, x, elevation and site filled in; the points are shared out over work's threads. Throws
// InputError when the relief is too steep for the steady-state fit, as periodic_topography refuses
// it. Preconditions: periodicParameterError gives nothing.
std::vector<AgeRow> periodicAgeRows(const periodic::PeriodicParameters& parameters,
    const AgeSettings& settings, const RateWork& work = {});
// The same on a steady state already fitted for these parameters (fittedSteadyState).
std::vector<AgeRow> periodicAgeRows(const periodic::PeriodicSteadyState& model,
    const periodic::PeriodicParameters& parameters, const AgeSettings& settings,
    const RateWork& work = {});

// The rows of every rate, computed on all processors and joined in the order of the rates.
// rowsAt(rate, work) gives the rows of one rate, on the threads work allows (all of them when
// there is a single rate, one otherwise). report, if given, hears the share of the sweep done.
using RateRows = std::function<std::vector<AgeRow>(double rate, const RateWork& work)>;
std::vector<AgeRow> sweepAgeRows(
    const std::vector<double>& rates, const RateRows& rowsAt, const ProgressReport& report = {});

// The sweep's way of working, for any work per rate: atRate(index, work) runs once for every
// index of rates, on threads threads (all processors by default), each with the threads work
// allows (all of them when there is a single rate, one otherwise). report, if given, hears the
// share of the rates done.
using RateTask = std::function<void(std::size_t index, const RateWork& work)>;
void forEachRate(const std::vector<double>& rates, const RateTask& atRate,
    const ProgressReport& report = {}, unsigned threads = defaultThreadCount());

} // namespace ages

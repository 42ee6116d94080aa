#pragma once
// What a history fit found, whichever engine ran it: the best history, the level its ranges are
// read at, every history it tried (the --fit-output table), the profile of each change time, and
// the engine's own extras (the rate fit's misfit curve for one phase; the chain for the sampler).

#include "ensemblesampler.h"
#include "historyparameters.h"
#include "historyprofile.h"
#include "ratefit.h"

#include <optional>
#include <vector>

namespace ages {

// The 68 % interval of one parameter over the posterior samples, and their median.
struct ParameterInterval {
    double low = 0; // 16th percentile
    double median = 0;
    double high = 0; // 84th percentile
};

struct HistoryPosterior {
    // The walkers of every ensemble: those of chain k (from 0) are k W .. (k + 1) W - 1.
    EnsembleChain chain;
    int burnIn = 0; // steps 1 .. burnIn are left out of the posterior
    int chains = 1; // independent ensembles of W walkers each
    std::vector<ParameterInterval> intervals; // one per parameter
    std::vector<double> autocorrelationSteps; // one per parameter, over the posterior
    // chaindiagnostics.h, every walker a chain: one per parameter, over the posterior.
    std::vector<double> splitRhat;
    std::vector<double> effectiveSize;
};

// The profile of one parameter of a shaped history (a rate, a ramp's end rate, a decay's TAU):
// the least chi2 at each of its values over every other parameter, and the range read off it as
// a change time's is (changetimerange.h; the curve's changeTimesMa hold the parameter's values).
struct ParameterProfile {
    std::size_t parameter = 0; // its index in the parameter vector
    ChangeTimeProfile curve;
};

struct HistoryFit {
    HistorySpace space;
    std::vector<double> best; // parameters of the best history
    MisfitLevel level; // chi2 at the best, reduced chi2 and the ranges' level
    std::vector<TriedHistory> tried; // every history run, in a fixed order
    std::vector<ChangeTimeProfile> profiles; // one per change time, oldest change first
    std::optional<RateFit> rateFit; // one phase: the sweep's misfit curve
    std::optional<HistoryPosterior> posterior; // the ensemble sampler's chain
    // With the space's other parameter: its profile (the least chi2 at each of its values, over
    // every history), read at the fit's level; bestRate, rangeLow and rangeHigh are its values.
    std::optional<RateFit> otherFit;
    // One phase with the other parameter: the rate's misfit curve at the other's best grid
    // value alone, read at the same level, whose range rateFit's (over every value) is
    // compared with.
    std::optional<RateFit> rateFitAtBestOther;
    // The two-phase grid with the other parameter: each change time's profile at the other's
    // grid value nearest the best alone, read at the same level.
    std::vector<ChangeTimeProfile> profilesAtBestOther;
    // A history with a ramp or a decay: the profile of each parameter that is not a change time.
    std::vector<ParameterProfile> parameterProfiles;

    std::size_t evaluations() const { return tried.size(); }
    ErosionHistory bestHistory() const { return historyOf(space, best); }
};

} // namespace ages

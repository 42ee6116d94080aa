#pragma once
// The fit of an erosion history to measured ages, with the engine the number of phases calls for:
//   1 phase:  the rate sweep of ratefit.h over rateCount rates spaced by a constant ratio across
//             --rates (its misfit curve, best rate and range), the history tables beside it;
//             with the space's other parameter, the grid of those rates x otherCount values of
//             it, the rate's curve the least chi2 over them at each rate (its profile);
//   2 phases: the grid with inner minimisations and a local refinement (twophasegrid.h), or the
//             ensemble sampler on request;
//   3 phases: the ensemble sampler (historysampler.h).
// A phase may be a ramp or a decay (--fit-shapes): one such phase takes the grid and simplex of
// shapedphasegrid.h; two or three phases with one the ensemble sampler, whose prior spans the
// end rates within --rates and the decay times within --decay-times.
// Every engine takes the misfit as a function of the history, so the thermal model and the ages
// behind it are the caller's:
//
//   HistorySpace space { 2, 20.0, { 0.05, 2.0 }, { 1.0, 19.0 }, samples.size() };
//   if (auto error = historyFitError(space, settings); !error.empty()) refuse(error);
//   HistoryFit fit = fitHistory(space, misfit, settings, progress);
//   err << historySummary(fit);     // historyfiles.h: the summary and the three tables

#include "historyfitresult.h"
#include "historyparameters.h"
#include "historysampler.h"
#include "ratefit.h"
#include "shapedphasegrid.h"
#include "twophasegrid.h"

#include <string>

namespace ages {

enum class HistorySampler {
    automatic, // the grid (the sweep) for one and two phases, the ensemble sampler for three
               // and for two with a ramp or a decay
    grid,
    mcmc,
};

struct HistoryFitSettings {
    HistorySampler sampler = HistorySampler::automatic;
    int rateCount = 100; // one phase: the sweep's rates
    // One phase: the values of the space's other parameter, evenly spaced across its bounds, at
    // each of which the rates are swept (a grid of rateCount x otherCount). Seven suffice: the
    // profiles are refined between them by parabolas. (The two-phase grid has its own count.)
    int otherCount = 7;
    GridFitSettings grid;
    ShapedGridSettings shapedGrid; // one phase of a ramp or a decay
    SamplerSettings mcmc;
    // For every engine: replaces grid.threads and mcmc.threads.
    unsigned threads = defaultThreadCount();
};

// The engine a run uses: grid (the sweep for one phase) or mcmc.
HistorySampler historyEngine(const HistorySpace& space, const HistoryFitSettings& settings);

// The first unusable value of the space or of the settings of the engine it calls for, as a
// one-line message naming the option; empty when the fit can run.
std::string historyFitError(const HistorySpace& space, const HistoryFitSettings& settings);

// Throws std::invalid_argument with historyFitError's message when the fit cannot run; an
// exception from the misfit ends the fit and is passed on.
//
// baseline, if given, is the part of the misfit that is not chi2 of the measured samples (a
// likelihood term such as -2 ln L of track lengths): its value at the best history is subtracted
// from every misfit the fit reports (subtractBaseline), so that the misfit at the best is the
// samples' chi2 and the ranges are read at the level of misfitlevel.h.
HistoryFit fitHistory(const HistorySpace& space, const HistoryMisfit& misfit,
    const HistoryFitSettings& settings = {}, const FitProgress& progress = {},
    const HistoryMisfit& baseline = {});

// Every misfit of the fit less baseline (the histories tried, the profiles, the rate sweep's curve,
// the sampler's chain), and the level and ranges read again at the lower minimum. The best
// history stays: a constant moves no minimum.
void subtractBaseline(HistoryFit& fit, double baseline);

} // namespace ages

#pragma once
// The fit of an erosion history by sampling its posterior with the affine-invariant ensemble
// sampler (ensemblesampler.h): the likelihood exp(-chi2 / 2), uniform priors on every rate within
// --rates and every change time within --change-times, and zero prior where the change times are
// not strictly decreasing. The walkers start spread uniformly over that prior (drawn from the
// seed's second stream), so that a history far from the first guess is still found.
//
// Burn-in: the first half of the steps by default. The walkers start from the prior, far from
// the posterior, and an ensemble forgets its start within some autocorrelation times; discarding
// half is the safe rule when that time is not known in advance. The autocorrelation time of
// every parameter over the kept half is reported, so that a burn-in shorter than 10 of them, or
// a posterior of too few independent samples, can be flagged and the chain run longer. (On a
// three-phase bowl with the defaults, tau is some 35 steps: the burn-in is 15 tau, the posterior
// some 300 independent samples.)
//
// Chains: --chains K runs K ensembles, each started from its own draws of the prior and moved by
// its own seed, on the threads shared out between them, and merges their walkers; the best
// history, the intervals and the profiles are then those of every chain together. Each
// parameter's split R-hat and effective sample size over the walkers of every chain
// (chaindiagnostics.h) say whether the chains agree and how many independent draws the intervals
// rest on.
//
// Reported: the best history sampled (the lowest chi2 of every history evaluated, burn-in
// included), the acceptance fraction, the 68 % interval (16th to 84th percentile) of each
// parameter over the kept samples, and a profile of each change time read off the evaluated
// histories (the lowest chi2 in each of profileBins bins of the change time).

#include "ensemblesampler.h"
#include "historyfitresult.h"
#include "historyparameters.h"
#include "parallelfor.h"
#include "ratefit.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ages {

// The seed of a run that names none, so that a run repeats on every machine.
constexpr std::uint64_t defaultSamplerSeed = 20100101;

struct SamplerSettings {
    int walkers = 0; // 0: 4 x the parameters (12 for two phases, 20 for three)
    int steps = 1000; // every step moves every walker: evaluations = steps x walkers at most
    int burnIn = -1; // steps left out of the posterior; -1: half the steps
    std::uint64_t seed = defaultSamplerSeed;
    int profileBins = 24;
    unsigned threads = defaultThreadCount();
    // Independent ensembles (--chains), chain k from the seed chainSeed(seed, k); their walkers
    // are merged into one posterior.
    int chains = 1;
};

// The seed of chain k: the seed itself for chain 0 (so that one chain is the run of one
// ensemble), splitmix64 of seed + k for the others (Steele, Lea & Flood 2014): seeds that share
// no stream however close the user's seeds are.
std::uint64_t chainSeed(std::uint64_t seed, int chain);

// The walkers a run uses: settings.walkers, or the default for the space.
int samplerWalkers(const SamplerSettings& settings, const HistorySpace& space);
// The burn-in a run uses: settings.burnIn, or half the steps.
int samplerBurnIn(const SamplerSettings& settings);

// The first unusable setting as a one-line message naming its option and the accepted range;
// empty when the settings are usable.
std::string samplerSettingsError(const SamplerSettings& settings, const HistorySpace& space);

// The space must be usable (historySpaceError) and the settings too (samplerSettingsError);
// throws std::invalid_argument otherwise. An exception from the misfit ends the run and is
// passed on.
HistoryFit sampleHistories(const HistorySpace& space, const HistoryMisfit& misfit,
    const SamplerSettings& settings = {}, const FitProgress& progress = {});

// The same in two steps, for a caller that runs the chains elsewhere (one Dask task each):
// chain k (0 .. settings.chains - 1) on settings.threads threads, then the fit of every chain,
// in order. sampleHistories(space, misfit, settings) is
// mergeChains(space, settings, {sampleChain(..., 0), ..., sampleChain(..., K - 1)}).
struct SampledChain {
    EnsembleChain chain;
    std::vector<TriedHistory> tried; // every history it evaluated, in the ensemble's order
};
SampledChain sampleChain(const HistorySpace& space, const HistoryMisfit& misfit,
    const SamplerSettings& settings, int chain, const FitProgress& progress = {});
HistoryFit mergeChains(
    const HistorySpace& space, const SamplerSettings& settings, std::vector<SampledChain> chains);

} // namespace ages

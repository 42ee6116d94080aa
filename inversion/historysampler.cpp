#include "historysampler.h"
#include "samplerparametertable.h"

#include "textformat.h"

#include "chaindiagnostics.h"
#include "ensemblesampler.h"

#include <pcg_random.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <mutex>
#include <optional>
#include <stdexcept>

namespace ages {

namespace {

// Walkers per parameter by default: twice the least the stretch move needs, since a larger
// ensemble explores a posterior with correlated or curved ridges (a change time against the
// rates around it) more evenly for the same evaluations per walker.
constexpr int defaultWalkersPerParameter = 4;
// The start's own stream of the generator, apart from the moves' stream.
constexpr std::uint64_t startStream = 1;
// The one-standard-deviation quantiles of a normal distribution: the 68 % interval.
constexpr double lowQuantile = 0.158655;
constexpr double highQuantile = 0.841345;

// The q-th quantile (0 .. 1) of sorted values, linear between order statistics.
double quantile(const std::vector<double>& sorted, double q)
{
    const double position = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(position);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below]
        + (position - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

// One walker from the prior: rates, a ramp's end rates, decay times (and the other parameter)
// uniform within their bounds, change times uniform within theirs and put in decreasing order.
std::vector<double> drawFromPrior(const HistorySpace& space, pcg32& generator)
{
    std::vector<double> changes(space.phaseCount - 1);
    const ValueBounds times = space.changeTimesMa;
    for (double& change : changes)
        change = times.low + (times.high - times.low) * uniformUnit(generator);
    std::sort(changes.begin(), changes.end(), std::greater<>());
    const std::vector<HistoryParameter> roles = historyParameters(space);
    std::vector<double> parameters;
    for (std::size_t i = 0; i < roles.size(); ++i) {
        if (roles[i].role == ParameterRole::ChangeTime) {
            parameters.push_back(changes[roles[i].phase - 2]);
        } else {
            const ValueBounds bounds = parameterBounds(space, i);
            parameters.push_back(bounds.low + (bounds.high - bounds.low) * uniformUnit(generator));
        }
    }
    return parameters;
}

double chi2OfLogLikelihood(double logLikelihood)
{
    return std::isfinite(logLikelihood) ? -2 * logLikelihood
                                        : std::numeric_limits<double>::quiet_NaN();
}

} // namespace

int samplerWalkers(const SamplerSettings& settings, const HistorySpace& space)
{
    return settings.walkers > 0 ? settings.walkers
                                : defaultWalkersPerParameter * space.parameterCount();
}

int samplerBurnIn(const SamplerSettings& settings)
{
    return settings.burnIn >= 0 ? settings.burnIn : settings.steps / 2;
}

namespace {

// The table's bound of a count, as the whole number it is.
int lowestOf(const std::string_view flag)
{
    return static_cast<int>(samplerCount(flag).text.range.lowest);
}

} // namespace

std::string samplerSettingsError(const SamplerSettings& settings, const HistorySpace& space)
{
    if (settings.walkers < lowestOf("--walkers"))
        return "--walkers must be 0 (the default) or a positive even number, got "
            + std::to_string(settings.walkers);
    if (settings.burnIn < lowestOf("--burn-in"))
        return "--burn-in must be -1 (half the steps) or 0 or more, got "
            + std::to_string(settings.burnIn);
    const int walkers = samplerWalkers(settings, space);
    const int least = 2 * space.parameterCount();
    if (walkers % 2 != 0 || walkers < least)
        return "--walkers must be even and at least " + std::to_string(least)
            + " (twice the parameters of " + std::to_string(space.phaseCount) + " phases), got "
            + std::to_string(walkers);
    if (settings.steps < lowestOf("--steps"))
        return "--steps must be at least " + std::to_string(lowestOf("--steps")) + ", got "
            + std::to_string(settings.steps);
    const int burnIn = samplerBurnIn(settings);
    if (burnIn >= settings.steps)
        return "the burn-in must leave steps to keep: " + std::to_string(burnIn) + " of "
            + std::to_string(settings.steps) + " steps; lower --burn-in or raise --steps";
    if (walkers > maximumWalkers)
        return "--walkers must be at most " + std::to_string(maximumWalkers) + ", got "
            + std::to_string(walkers);
    if (settings.chains < lowestOf("--chains"))
        return "--chains must be at least " + std::to_string(lowestOf("--chains")) + ", got "
            + std::to_string(settings.chains);
    // Every step runs every walker's history: bound the forward runs (hours at a few ms each)
    // and the chain kept in memory, before any is run.
    const double runs = static_cast<double>(walkers) * settings.steps * settings.chains;
    if (runs > maximumForwardRuns)
        return "--steps " + std::to_string(settings.steps) + " x --walkers "
            + std::to_string(walkers)
            + (settings.chains > 1 ? " x --chains " + std::to_string(settings.chains) : "")
            + " asks for " + textformat::number(runs) + " forward runs; at most "
            + textformat::number(maximumForwardRuns) + " (some hours at a few ms each) in one fit";
    if (settings.profileBins < 2)
        return "the profile needs at least 2 bins, got " + std::to_string(settings.profileBins);
    return {};
}

std::uint64_t chainSeed(const std::uint64_t seed, const int chain)
{
    if (chain == 0)
        return seed;
    std::uint64_t z = seed + static_cast<std::uint64_t>(chain) * 0x9e3779b97f4a7c15ull;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

namespace {

void checkSampling(const HistorySpace& space, const SamplerSettings& settings)
{
    if (const std::string error = historySpaceError(space); !error.empty())
        throw std::invalid_argument(error);
    if (const std::string error = samplerSettingsError(settings, space); !error.empty())
        throw std::invalid_argument(error);
}

// One walker's values of parameter p over the kept steps.
std::vector<double> walkerDraws(const EnsembleChain& chain, int walker, int p, int burnIn)
{
    std::vector<double> draws;
    for (int step = burnIn + 1; step <= chain.steps(); ++step)
        draws.push_back(chain.position(step, walker)[p]);
    return draws;
}

} // namespace

SampledChain sampleChain(const HistorySpace& space, const HistoryMisfit& misfit,
    const SamplerSettings& settings, const int chain, const FitProgress& progress)
{
    checkSampling(space, settings);
    const std::uint64_t seed = chainSeed(settings.seed, chain);
    const int walkers = samplerWalkers(settings, space);
    pcg32 startGenerator(seed, startStream);
    std::vector<std::vector<double>> start;
    for (int k = 0; k < walkers; ++k)
        start.push_back(drawFromPrior(space, startGenerator));

    const EnsembleTarget target {
        [&](const std::vector<double>& x) { return isInside(space, x); },
        [&](const std::vector<double>& x) { return -0.5 * misfitOf(space, misfit, x); },
    };
    EnsembleSettings ensemble;
    ensemble.steps = settings.steps;
    ensemble.seed = seed;
    ensemble.threads = settings.threads;

    std::vector<TriedHistory> tried;
    tried.reserve(static_cast<std::size_t>(walkers) * (settings.steps + 1));
    const auto record = [&](int, int, const std::vector<double>& x, double logLikelihood) {
        tried.push_back({ x, chi2OfLogLikelihood(logLikelihood) });
    };
    EnsembleChain walked = runEnsemble(start, target, ensemble, record, progress);
    return { std::move(walked), std::move(tried) };
}

HistoryFit mergeChains(
    const HistorySpace& space, const SamplerSettings& settings, std::vector<SampledChain> chains)
{
    checkSampling(space, settings);
    if (chains.empty())
        throw std::invalid_argument("no chain to merge");
    const EnsembleChain& first = chains.front().chain;
    const int walkers = first.walkers();
    EnsembleChain merged(
        first.dimension(), walkers * static_cast<int>(chains.size()), first.steps());
    HistoryFit fit;
    fit.space = space;
    for (std::size_t c = 0; c < chains.size(); ++c) {
        const EnsembleChain& chain = chains[c].chain;
        if (chain.walkers() != walkers || chain.steps() != first.steps()
            || chain.dimension() != first.dimension())
            throw std::invalid_argument(
                "the chains to merge differ in walkers, steps or parameters");
        for (int step = 0; step <= chain.steps(); ++step) {
            for (int k = 0; k < walkers; ++k) {
                const int walker = static_cast<int>(c) * walkers + k;
                const auto from = chain.position(step, k);
                std::copy(from.begin(), from.end(), merged.position(step, walker).begin());
                merged.logLikelihood(step, walker) = chain.logLikelihood(step, k);
            }
        }
        merged.proposals += chain.proposals;
        merged.acceptances += chain.acceptances;
        merged.evaluations += chain.evaluations;
        fit.tried.insert(fit.tried.end(), std::make_move_iterator(chains[c].tried.begin()),
            std::make_move_iterator(chains[c].tried.end()));
    }

    const TriedHistory* best = nullptr;
    for (const TriedHistory& tried : fit.tried) {
        if (!std::isnan(tried.chi2) && (!best || tried.chi2 < best->chi2))
            best = &tried;
    }
    if (!best)
        throw std::runtime_error("no history the sampler tried gave a misfit that is a number");
    fit.best = best->parameters;
    fit.level = misfitLevel(best->chi2, space);

    HistoryPosterior posterior { std::move(merged), samplerBurnIn(settings),
        static_cast<int>(chains.size()), {}, {}, {}, {} };
    const EnsembleChain& kept = posterior.chain;
    for (int p = 0; p < space.parameterCount(); ++p) {
        std::vector<double> values;
        std::vector<std::vector<double>> walkerChains;
        for (int k = 0; k < kept.walkers(); ++k) {
            walkerChains.push_back(walkerDraws(kept, k, p, posterior.burnIn));
            values.insert(values.end(), walkerChains.back().begin(), walkerChains.back().end());
        }
        std::sort(values.begin(), values.end());
        posterior.intervals.push_back({ quantile(values, lowQuantile), quantile(values, 0.5),
            quantile(values, highQuantile) });
        posterior.autocorrelationSteps.push_back(
            autocorrelationTime(kept, p, posterior.burnIn + 1));
        posterior.splitRhat.push_back(splitRhat(walkerChains));
        posterior.effectiveSize.push_back(effectiveSampleSize(walkerChains));
    }
    fit.posterior = std::move(posterior);

    for (int change = 1; change < space.phaseCount; ++change) {
        ChangeTimeProfile profile = sampledProfile(
            fit.tried, changeTimeIndex(space, change), space.changeTimesMa, settings.profileBins);
        profile.change = change;
        readRange(profile, fit.level.level, space.changeTimesMa);
        fit.profiles.push_back(std::move(profile));
    }
    // A shaped history: the profile of every rate and shape parameter too, read off the same
    // histories.
    if (space.shaped()) {
        const std::vector<HistoryParameter> roles = historyParameters(space);
        for (std::size_t i = 0; i < roles.size(); ++i) {
            if (roles[i].role == ParameterRole::ChangeTime || roles[i].role == ParameterRole::Other)
                continue;
            const ValueBounds bounds = parameterBounds(space, i);
            ParameterProfile profile { i,
                sampledProfile(fit.tried, i, bounds, settings.profileBins) };
            readRange(profile.curve, fit.level.level, bounds);
            fit.parameterProfiles.push_back(std::move(profile));
        }
    }
    if (space.other) {
        const ChangeTimeProfile profile
            = sampledProfile(fit.tried, static_cast<std::size_t>(space.parameterCount() - 1),
                *space.other, settings.profileBins);
        RateFit curve = fitMisfitCurveAtLevel(profile.changeTimesMa, profile.chi2, fit.level.level);
        curve.bestRate = fit.best.back();
        curve.chi2Min = fit.level.chi2Min;
        curve.reducedChi2 = fit.level.reducedChi2;
        curve.rangeScaled = fit.level.scaled;
        fit.otherFit = std::move(curve);
    }
    return fit;
}

HistoryFit sampleHistories(const HistorySpace& space, const HistoryMisfit& misfit,
    const SamplerSettings& settings, const FitProgress& progress)
{
    checkSampling(space, settings);
    const int count = settings.chains;
    // The threads shared out between the chains; each chain's draws do not depend on them.
    SamplerSettings each = settings;
    const unsigned outer = std::min<unsigned>(std::max(settings.threads, 1u), count);
    each.threads = std::max(1u, settings.threads / outer);
    std::vector<double> fractions(count, 0.0);
    std::mutex progressLock;
    std::vector<std::optional<SampledChain>> ran(count);
    parallelFor(count, outer, [&](std::size_t c) {
        const FitProgress chainProgress = [&, c](double fraction) {
            if (!progress)
                return;
            const std::lock_guard lock(progressLock);
            fractions[c] = fraction;
            double total = 0;
            for (const double f : fractions)
                total += f;
            progress(total / count);
        };
        ran[c] = sampleChain(space, misfit, each, static_cast<int>(c), chainProgress);
    });
    std::vector<SampledChain> chains;
    for (auto& chain : ran)
        chains.push_back(std::move(*chain));
    return mergeChains(space, settings, std::move(chains));
}

} // namespace ages

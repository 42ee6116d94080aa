#include "historyfit.h"

#include "parallelfor.h"
#include "progresscounter.h"
#include "rategrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace ages {

namespace {

// One phase: the rate sweep of the existing rate fit, its rates spaced by a constant ratio; with
// the other parameter, the sweep at each of its values.
HistoryFit fitOnePhase(const HistorySpace& space, const HistoryMisfit& misfit,
    const HistoryFitSettings& settings, const FitProgress& progress)
{
    const int count = settings.rateCount;
    const ValueBounds bounds = space.ratesMmYr;
    std::vector<double> rates(count);
    for (int i = 0; i < count; ++i)
        rates[i] = bounds.low * std::pow(bounds.high / bounds.low, double(i) / (count - 1));
    rates.back() = bounds.high;
    const std::vector<double> others = space.other
        ? evenlySpacedValues(*space.other, settings.otherCount)
        : std::vector<double> { std::numeric_limits<double>::quiet_NaN() };

    // chi2[j * count + i]: the rate i at the other value j.
    const std::size_t cells = rates.size() * others.size();
    std::vector<double> chi2(cells);
    ProgressCounter counter(progress, static_cast<double>(cells));
    parallelFor(cells, settings.threads, [&](std::size_t cell) {
        chi2[cell] = misfit(historyOf(space, { rates[cell % count] }), others[cell / count]);
        counter.advance(1);
    });
    HistoryFit fit;
    fit.space = space;
    for (std::size_t cell = 0; cell < cells; ++cell) {
        std::vector<double> parameters { rates[cell % count] };
        if (space.other)
            parameters.push_back(others[cell / count]);
        fit.tried.push_back({ std::move(parameters), chi2[cell] });
    }
    if (!space.other) {
        fit.rateFit = fitMisfitCurve(rates, std::move(chi2), space.sampleCount);
        fit.best = { fit.rateFit->bestRate };
        fit.level = misfitLevel(fit.rateFit->chi2Min, space);
        counter.finish();
        return fit;
    }

    // The rate's and the base's profiles over the grid, read as the rate fits read theirs.
    const RateGridFit grid = fitRateGrid(rates, others, chi2, space.degreesOfFreedom());
    fit.level = grid.level;
    fit.best = { grid.bestRate, grid.bestOther };
    fit.rateFit = grid.rateFit;
    fit.otherFit = grid.otherFit;
    fit.rateFitAtBestOther = grid.rateFitAtBestOther;
    counter.finish();
    return fit;
}

} // namespace

HistorySampler historyEngine(const HistorySpace& space, const HistoryFitSettings& settings)
{
    if (settings.sampler != HistorySampler::automatic)
        return settings.sampler;
    if (space.phaseCount == 1 || (space.phaseCount == 2 && !space.shaped()))
        return HistorySampler::grid;
    return HistorySampler::mcmc;
}

std::string historyFitError(const HistorySpace& space, const HistoryFitSettings& settings)
{
    if (std::string error = historySpaceError(space); !error.empty())
        return error;
    if (historyEngine(space, settings) == HistorySampler::mcmc) {
        SamplerSettings mcmc = settings.mcmc;
        mcmc.threads = settings.threads;
        return samplerSettingsError(mcmc, space);
    }
    if (space.phaseCount == 3)
        return "--sampler grid fits one or two phases; three phases take --sampler mcmc";
    if (space.shaped() && space.phaseCount > 1)
        return "--sampler grid fits a ramp or a decay in one phase; two phases with a ramp or a "
               "decay take --sampler mcmc";
    if (space.shaped() && space.other)
        return "--sampler grid fits a ramp or a decay with the base held; with --fit-base take "
               "--sampler mcmc";
    if (space.shaped()) {
        if (settings.shapedGrid.valueCount < 3)
            return "the grid needs at least 3 values of each parameter, got "
                + std::to_string(settings.shapedGrid.valueCount);
        return {};
    }
    if (space.phaseCount == 1 && settings.rateCount < 3)
        return "the rate sweep needs at least 3 rates, got " + std::to_string(settings.rateCount);
    if (space.other && settings.otherCount < 3)
        return "the grid needs at least 3 values of " + space.otherColumn + ", got "
            + std::to_string(settings.otherCount);
    if (space.phaseCount == 2
        && (settings.grid.changeTimeCount < 2 || settings.grid.firstRateCount < 2))
        return "the grid needs at least 2 change times and 2 first rates";
    return {};
}

namespace {

HistoryFit runEngine(const HistorySpace& space, const HistoryMisfit& misfit,
    const HistoryFitSettings& settings, const FitProgress& progress)
{
    if (historyEngine(space, settings) == HistorySampler::mcmc) {
        SamplerSettings mcmc = settings.mcmc;
        mcmc.threads = settings.threads;
        return sampleHistories(space, misfit, mcmc, progress);
    }
    if (space.shaped()) {
        ShapedGridSettings shaped = settings.shapedGrid;
        shaped.threads = settings.threads;
        return fitShapedPhaseGrid(space, misfit, shaped, progress);
    }
    if (space.phaseCount == 1)
        return fitOnePhase(space, misfit, settings, progress);
    GridFitSettings grid = settings.grid;
    grid.threads = settings.threads;
    return fitTwoPhaseGrid(space, misfit, grid, progress);
}

} // namespace

HistoryFit fitHistory(const HistorySpace& space, const HistoryMisfit& misfit,
    const HistoryFitSettings& settings, const FitProgress& progress, const HistoryMisfit& baseline)
{
    if (const std::string error = historyFitError(space, settings); !error.empty())
        throw std::invalid_argument(error);
    HistoryFit fit = runEngine(space, misfit, settings, progress);
    if (baseline) {
        // At the best base too, where the base is fitted.
        const double atBest = baseline(fit.bestHistory(), otherOf(fit.space, fit.best));
        if (std::isfinite(atBest))
            subtractBaseline(fit, atBest);
    }
    return fit;
}

void subtractBaseline(HistoryFit& fit, const double baseline)
{
    for (TriedHistory& tried : fit.tried)
        tried.chi2 -= baseline;
    if (fit.rateFit) {
        std::vector<double> chi2 = fit.rateFit->chi2;
        for (double& value : chi2)
            value -= baseline;
        fit.rateFit = fitMisfitCurve(fit.rateFit->rates, std::move(chi2), fit.space.sampleCount);
    }
    if (fit.posterior) {
        EnsembleChain& chain = fit.posterior->chain;
        for (int step = 0; step <= chain.steps(); ++step)
            for (int walker = 0; walker < chain.walkers(); ++walker)
                chain.logLikelihood(step, walker) += 0.5 * baseline; // -2 ln L less baseline
    }
    fit.level = misfitLevel(fit.level.chi2Min - baseline, fit.space);
    for (ChangeTimeProfile& profile : fit.profiles) {
        for (double& value : profile.chi2)
            value -= baseline;
        readRange(profile, fit.level.level, fit.space.changeTimesMa);
    }
    for (ParameterProfile& profile : fit.parameterProfiles) {
        for (double& value : profile.curve.chi2)
            value -= baseline;
        readRange(profile.curve, fit.level.level, parameterBounds(fit.space, profile.parameter));
    }
}

} // namespace ages

#include "historyfit.h"

#include "parallelfor.h"
#include "progresscounter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace ages {

namespace {

std::vector<double> evenlySpacedValues(const ValueBounds bounds, const int count)
{
    std::vector<double> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = bounds.low + (bounds.high - bounds.low) * i / (count - 1);
    values.back() = bounds.high;
    return values;
}

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

    // The profiles: the least chi2 over the other values at each rate, and over the rates at
    // each other value, each refined between grid values by the parabola through the lowest
    // value and its neighbours (a coarse grid of the other would leave a bumpy envelope of the
    // rate's curves, narrower than the profile); the level from the least of all.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> rateProfile(rates.size(), nan), otherProfile(others.size(), nan);
    for (std::size_t i = 0; i < rates.size(); ++i) {
        std::vector<double> column;
        for (std::size_t j = 0; j < others.size(); ++j)
            column.push_back(chi2[j * count + i]);
        rateProfile[i] = refinedMinimum(others, column);
    }
    for (std::size_t j = 0; j < others.size(); ++j)
        otherProfile[j] = refinedMinimum(
            rates, std::vector<double>(chi2.begin() + j * count, chi2.begin() + (j + 1) * count));
    // The best history: the grid's least chi2, refined along its row (the rate) and its column
    // (the other), so that the best rate, the best other and the curve at the best other all
    // describe the one minimum.
    const auto lowest = std::min_element(chi2.begin(), chi2.end(),
        [](double a, double b) { return !std::isnan(a) && (std::isnan(b) || a < b); });
    if (std::isnan(*lowest))
        throw std::runtime_error("no history of the sweep gave a misfit that is a number");
    const std::size_t bestCell = static_cast<std::size_t>(lowest - chi2.begin());
    const std::size_t bestRow = bestCell / count, bestColumn = bestCell % count;
    const std::vector<double> row(
        chi2.begin() + bestRow * count, chi2.begin() + (bestRow + 1) * count);
    std::vector<double> column;
    for (std::size_t j = 0; j < others.size(); ++j)
        column.push_back(chi2[j * count + bestColumn]);
    const RateFit alongRow = fitMisfitCurveAtLevel(rates, row, 0.0);
    const RateFit alongColumn = fitMisfitCurveAtLevel(others, column, 0.0);
    // The level from the least of the rate's profile (refined over both), the fit's minimum.
    fit.level = misfitLevel(
        std::min(fitMisfitCurveAtLevel(rates, rateProfile, 0.0).chi2Min, *lowest), space);
    const auto atLevel
        = [&](const std::vector<double>& x, const std::vector<double>& y, const double best) {
              RateFit curve = fitMisfitCurveAtLevel(x, y, fit.level.level);
              curve.bestRate = best;
              curve.chi2Min = fit.level.chi2Min;
              curve.reducedChi2 = fit.level.reducedChi2;
              curve.rangeScaled = fit.level.scaled;
              return curve;
          };
    fit.best = { alongRow.bestRate, alongColumn.bestRate };
    fit.rateFit = atLevel(rates, rateProfile, fit.best[0]);
    fit.otherFit = atLevel(others, otherProfile, fit.best[1]);
    fit.rateFitAtBestOther = atLevel(rates, row, fit.best[0]);
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

#include "twophasegrid.h"

#include "progresscounter.h"
#include "simplexminimum.h"
#include "taskmisfit.h"

#include <boost/math/tools/minima.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

namespace ages {

namespace {

// Brent's tolerance in ln(rate): 2^(1 - bits) relative plus a quarter of it absolute, some 0.2 to
// 0.6 % of the rate. Near its minimum chi2 is flat to second order, so a finer rate changes chi2
// by far less than the 1 unit a range is read at.
constexpr int rateBits = 10;
constexpr std::uintmax_t brentIterations = 30;
// Evaluations one inner minimisation takes, for the progress estimate.
constexpr double expectedBrentEvaluations = 12;
constexpr double expectedOuterSteps = 8;
const double notANumber = std::numeric_limits<double>::quiet_NaN();

// The misfit of a task whose histories share one value of the space's other parameter (a row of
// the grid at one base): r1, t, r2 completed with it.
class TaskRun : public TaskMisfit {
public:
    // other: the value of the space's other parameter the task's histories take (NaN without).
    TaskRun(const HistorySpace& space, const HistoryMisfit& misfit, ProgressCounter& progress,
        double other = notANumber)
        : TaskMisfit(space, misfit, progress)
        , m_other(other)
    {
    }

    // r1, t, r2 at the task's other value.
    double operator()(const std::vector<double>& history)
    {
        if (!space().other)
            return all(history);
        std::vector<double> parameters(history.size() + 1, m_other);
        std::copy(history.begin(), history.end(), parameters.begin());
        return all(parameters);
    }

    // Every parameter of the space.
    double all(const std::vector<double>& parameters) { return TaskMisfit::operator()(parameters); }

    std::optional<double> other() const
    {
        return space().other ? std::optional<double>(m_other) : std::nullopt;
    }

private:
    double m_other;
};

double forBrent(double chi2)
{
    return std::isnan(chi2) ? unusableChi2 : chi2;
}

// chi2 minimised over the last rate at a first rate and a change time.
Trial bestLastRate(TaskRun& run, double firstRate, double changeMa, ValueBounds rates)
{
    Trial best;
    const auto objective = [&](double lnLastRate) {
        Trial trial { { firstRate, changeMa, std::exp(lnLastRate) }, notANumber };
        trial.chi2 = run(trial.parameters);
        if (run.other())
            trial.parameters.push_back(*run.other());
        if (trial.betterThan(best))
            best = trial;
        return forBrent(trial.chi2);
    };
    std::uintmax_t iterations = brentIterations;
    boost::math::tools::brent_find_minima(
        objective, std::log(rates.low), std::log(rates.high), rateBits, iterations);
    return best;
}

// The profile's point at one change time: the grid row, then Brent's method in the first rate
// between the row's rates on either side of its best node.
Trial profilePoint(
    TaskRun& run, double changeMa, const std::vector<double>& firstRates, ValueBounds rates)
{
    std::size_t bestNode = 0;
    Trial best;
    for (std::size_t j = 0; j < firstRates.size(); ++j) {
        const Trial node = bestLastRate(run, firstRates[j], changeMa, rates);
        if (node.betterThan(best)) {
            best = node;
            bestNode = j;
        }
    }
    if (std::isnan(best.chi2))
        return best;
    const double low = firstRates[bestNode > 0 ? bestNode - 1 : 0];
    const double high = firstRates[std::min(bestNode + 1, firstRates.size() - 1)];
    const auto objective = [&](double lnFirstRate) {
        const Trial trial = bestLastRate(run, std::exp(lnFirstRate), changeMa, rates);
        if (trial.betterThan(best))
            best = trial;
        return forBrent(trial.chi2);
    };
    std::uintmax_t iterations = brentIterations;
    boost::math::tools::brent_find_minima(
        objective, std::log(low), std::log(high), rateBits, iterations);
    return best;
}

std::vector<double> evenlySpaced(ValueBounds bounds, int count)
{
    std::vector<double> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = bounds.low + (bounds.high - bounds.low) * i / (count - 1);
    values.back() = bounds.high;
    return values;
}

std::vector<double> geometricallySpaced(ValueBounds bounds, int count)
{
    std::vector<double> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = bounds.low * std::pow(bounds.high / bounds.low, double(i) / (count - 1));
    values.back() = bounds.high;
    return values;
}

} // namespace

HistoryFit fitTwoPhaseGrid(const HistorySpace& space, const HistoryMisfit& misfit,
    const GridFitSettings& settings, const FitProgress& progress)
{
    if (space.phaseCount != 2 || !historySpaceError(space).empty())
        throw std::invalid_argument("the grid fits a usable space of two phases");
    if (settings.changeTimeCount < 2 || settings.firstRateCount < 2
        || settings.refinementEvaluations < 4)
        throw std::invalid_argument("the grid needs at least 2 change times and 2 first rates, "
                                    "and the refinement at least 4 evaluations");
    const auto changeTimes = evenlySpaced(space.changeTimesMa, settings.changeTimeCount);
    const auto firstRates = geometricallySpaced(space.ratesMmYr, settings.firstRateCount);
    if (space.other && settings.otherCount < 2)
        throw std::invalid_argument("the grid needs at least 2 values of the other parameter");
    const std::vector<double> others = space.other ? evenlySpaced(*space.other, settings.otherCount)
                                                   : std::vector<double> { notANumber };

    const double perRow = (settings.firstRateCount + expectedOuterSteps) * expectedBrentEvaluations;
    const std::size_t rows = changeTimes.size() * others.size();
    ProgressCounter counter(progress, rows * perRow + settings.refinementEvaluations);

    // 1 and 2: one task per change time (and other value): points[j * times + i].
    std::vector<Trial> points(rows);
    std::vector<std::vector<TriedHistory>> rowsTried(rows);
    parallelFor(rows, settings.threads, [&](std::size_t row) {
        TaskRun run(space, misfit, counter, others[row / changeTimes.size()]);
        points[row]
            = profilePoint(run, changeTimes[row % changeTimes.size()], firstRates, space.ratesMmYr);
        rowsTried[row] = std::move(run.tried);
    });
    HistoryFit fit;
    fit.space = space;
    for (auto& row : rowsTried)
        std::move(row.begin(), row.end(), std::back_inserter(fit.tried));
    const auto lowest = std::min_element(points.begin(), points.end(),
        [](const Trial& a, const Trial& b) { return a.betterThan(b); });
    if (std::isnan(lowest->chi2))
        throw std::runtime_error("no history of the grid gave a misfit that is a number");

    // 3: the simplex from the lowest point, inside the bounds.
    const double rateRatio = firstRates[1] / firstRates[0];
    const auto& start = lowest->parameters;
    std::vector<double> steps { start[0] * (rateRatio - 1) / 2,
        (changeTimes[1] - changeTimes[0]) / 2, start[2] * (rateRatio - 1) / 2 };
    if (space.other)
        steps.push_back((others[1] - others[0]) / 2);
    TaskRun run(space, misfit, counter);
    const auto objective = [&](const std::vector<double>& parameters) {
        return isInside(space, parameters) ? run.all(parameters)
                                           : std::numeric_limits<double>::infinity();
    };
    SimplexSettings simplex;
    simplex.maxEvaluations = settings.refinementEvaluations;
    const SimplexMinimum refined = simplexMinimum(objective, start, steps, simplex);
    std::move(run.tried.begin(), run.tried.end(), std::back_inserter(fit.tried));
    fit.best = refined.value < lowest->chi2 ? refined.point : start;
    fit.level = misfitLevel(std::min(refined.value, lowest->chi2), space);

    // The profile, the least over the other values at each change time (refined between them:
    // a grid of a few values alone would lift the profile wherever the best value falls between
    // them), with the refined minimum as one more point.
    ChangeTimeProfile profile;
    profile.change = 1;
    for (std::size_t i = 0; i < changeTimes.size(); ++i) {
        std::vector<double> overOthers;
        for (std::size_t j = 0; j < others.size(); ++j)
            overOthers.push_back(points[j * changeTimes.size() + i].chi2);
        profile.changeTimesMa.push_back(changeTimes[i]);
        // No lower than the refined minimum of all (the parabola may undershoot it).
        const double least = space.other ? refinedMinimum(others, overOthers) : overOthers.front();
        profile.chi2.push_back(std::isnan(least) ? least : std::max(least, fit.level.chi2Min));
    }
    const double bestChangeMa = fit.best[1];
    const auto at = std::lower_bound(
        profile.changeTimesMa.begin(), profile.changeTimesMa.end(), bestChangeMa);
    const auto index = at - profile.changeTimesMa.begin();
    if (at != profile.changeTimesMa.end() && *at == bestChangeMa) {
        profile.chi2[index] = fit.level.chi2Min;
    } else {
        profile.changeTimesMa.insert(at, bestChangeMa);
        profile.chi2.insert(profile.chi2.begin() + index, fit.level.chi2Min);
    }
    readRange(profile, fit.level.level, space.changeTimesMa);
    fit.profiles.push_back(std::move(profile));

    // The other parameter's profile: the least over the change times at each of its values;
    // and the change time's profile at the grid value nearest the best other alone.
    if (space.other) {
        std::size_t nearest = 0;
        for (std::size_t j = 1; j < others.size(); ++j) {
            if (std::abs(others[j] - fit.best.back()) < std::abs(others[nearest] - fit.best.back()))
                nearest = j;
        }
        ChangeTimeProfile alone;
        alone.change = 1;
        alone.changeTimesMa = changeTimes;
        for (std::size_t i = 0; i < changeTimes.size(); ++i)
            alone.chi2.push_back(points[nearest * changeTimes.size() + i].chi2);
        readRange(alone, fit.level.level, space.changeTimesMa);
        fit.profilesAtBestOther.push_back(std::move(alone));
        std::vector<double> values, otherChi2;
        for (std::size_t j = 0; j < others.size(); ++j) {
            std::vector<double> overTimes;
            for (std::size_t i = 0; i < changeTimes.size(); ++i)
                overTimes.push_back(points[j * changeTimes.size() + i].chi2);
            const double least = refinedMinimum(changeTimes, overTimes);
            values.push_back(others[j]);
            otherChi2.push_back(std::isnan(least) ? least : std::max(least, fit.level.chi2Min));
        }
        // The refined minimum as one more point, as in the change time's profile.
        const double bestOther = fit.best.back();
        const auto place = std::lower_bound(values.begin(), values.end(), bestOther);
        const auto offset = place - values.begin();
        if (place != values.end() && *place == bestOther) {
            otherChi2[offset] = fit.level.chi2Min;
        } else {
            values.insert(place, bestOther);
            otherChi2.insert(otherChi2.begin() + offset, fit.level.chi2Min);
        }
        RateFit curve = fitMisfitCurveAtLevel(values, std::move(otherChi2), fit.level.level);
        curve.reducedChi2 = fit.level.reducedChi2;
        curve.rangeScaled = fit.level.scaled;
        fit.otherFit = std::move(curve);
    }
    counter.finish();
    return fit;
}

} // namespace ages

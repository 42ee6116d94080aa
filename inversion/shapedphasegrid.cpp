#include "shapedphasegrid.h"

#include "progresscounter.h"
#include "simplexminimum.h"
#include "taskmisfit.h"

#include <boost/math/tools/minima.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace ages {

namespace {

// Brent's tolerance in the logarithm of a parameter: 2^(1 - bits), some 3e-5 of the value. The
// ridge of ages with errors of a few per cent is a few tenths of a per cent wide, and a profile
// point whose inner minimum is off by a tenth of that width is off by 0.01 in chi2.
constexpr int logBits = 16;
constexpr std::uintmax_t brentIterations = 40;
// Evaluations of one inner minimisation, and outer steps of the refined best, for the progress.
constexpr double expectedBrentEvaluations = 25;
constexpr double expectedOuterSteps = 15;
// Passes of profile points at the ends of the ranges.
constexpr int rangePasses = 2;
// The simplex's initial steps, as a share of each parameter.
constexpr double simplexStepShare = 0.01;
const double notANumber = std::numeric_limits<double>::quiet_NaN();

using TaskRun = TaskMisfit;

// The least chi2 over parameter 1 - held with parameter held at value: Brent's method in the
// logarithm of the free parameter across its bounds.
Trial innerMinimum(TaskRun& run, const std::size_t held, const double value, const ValueBounds free)
{
    Trial best;
    const auto objective = [&](const double lnFree) {
        std::vector<double> parameters(2, value);
        parameters[1 - held] = std::exp(lnFree);
        const Trial trial { parameters, run(parameters) };
        if (trial.betterThan(best))
            best = trial;
        return std::isnan(trial.chi2) ? unusableChi2 : trial.chi2;
    };
    std::uintmax_t iterations = brentIterations;
    boost::math::tools::brent_find_minima(
        objective, std::log(free.low), std::log(free.high), logBits, iterations);
    return best;
}

std::vector<double> geometricallySpaced(const ValueBounds bounds, const int count)
{
    std::vector<double> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = bounds.low * std::pow(bounds.high / bounds.low, double(i) / (count - 1));
    values.back() = bounds.high;
    return values;
}

// A profile point: the value held and the least chi2 over the other parameter.
struct ProfilePoint {
    std::size_t held = 0;
    double value = 0;
    Trial trial;
};

// The points' inner minima, in parallel, each task's histories kept in the tasks' order.
void computePoints(std::vector<ProfilePoint>& points, const HistorySpace& space,
    const HistoryMisfit& misfit, ProgressCounter& counter, const unsigned threads,
    std::vector<TriedHistory>& tried)
{
    std::vector<std::vector<TriedHistory>> taskTried(points.size());
    parallelFor(points.size(), threads, [&](std::size_t k) {
        TaskRun run(space, misfit, counter);
        ProfilePoint& point = points[k];
        point.trial
            = innerMinimum(run, point.held, point.value, parameterBounds(space, 1 - point.held));
        taskTried[k] = std::move(run.tried);
    });
    for (auto& task : taskTried)
        std::move(task.begin(), task.end(), std::back_inserter(tried));
}

// Parameter p's profile from the points that hold it, with the best as one more point (no
// profile point lies below the best: the best is the lowest history of all), its range read.
ChangeTimeProfile profileOf(const std::vector<ProfilePoint>& points, const std::size_t p,
    const HistoryFit& fit, const ValueBounds bounds)
{
    std::vector<std::pair<double, double>> curve { { fit.best[p], fit.level.chi2Min } };
    for (const ProfilePoint& point : points) {
        if (point.held == p && point.value != fit.best[p])
            curve.emplace_back(point.value, point.trial.chi2);
    }
    std::sort(curve.begin(), curve.end());
    ChangeTimeProfile profile;
    profile.change = 0;
    for (const auto& [value, chi2] : curve) {
        profile.changeTimesMa.push_back(value);
        profile.chi2.push_back(chi2);
    }
    readRange(profile, fit.level.level, bounds);
    return profile;
}

} // namespace

HistoryFit fitShapedPhaseGrid(const HistorySpace& space, const HistoryMisfit& misfit,
    const ShapedGridSettings& settings, const FitProgress& progress)
{
    if (space.phaseCount != 1 || !space.shaped() || space.other
        || !historySpaceError(space).empty())
        throw std::invalid_argument(
            "the shaped grid fits a usable space of one ramp or decay phase, no other parameter");
    if (settings.valueCount < 3 || settings.refinementEvaluations < 4)
        throw std::invalid_argument("the shaped grid needs at least 3 values per parameter and "
                                    "the refinement at least 4 evaluations");
    const int count = settings.valueCount;
    const std::vector<double> values[2] = { geometricallySpaced(parameterBounds(space, 0), count),
        geometricallySpaced(parameterBounds(space, 1), count) };
    ProgressCounter counter(progress,
        (2.0 * count + 4.0 * rangePasses + expectedOuterSteps) * expectedBrentEvaluations
            + settings.refinementEvaluations);
    HistoryFit fit;
    fit.space = space;

    // 1. The profiles at the grid values.
    std::vector<ProfilePoint> points;
    for (std::size_t p = 0; p < 2; ++p)
        for (const double value : values[p])
            points.push_back({ p, value, {} });
    computePoints(points, space, misfit, counter, settings.threads, fit.tried);
    const auto lowest = std::min_element(points.begin(), points.end(),
        [](const ProfilePoint& a, const ProfilePoint& b) { return a.trial.betterThan(b.trial); });
    if (std::isnan(lowest->trial.chi2))
        throw std::runtime_error("no history of the grid gave a misfit that is a number");

    // 2. r0 refined between the grid values around the lowest point, then the simplex.
    TaskRun run(space, misfit, counter);
    const double startRate = lowest->trial.parameters[0];
    const auto around = std::lower_bound(values[0].begin(), values[0].end(), startRate);
    const double below = around == values[0].begin() ? values[0].front() : *std::prev(around);
    const double above = around == values[0].end()                    ? values[0].back()
        : *around > startRate || std::next(around) == values[0].end() ? *around
                                                                      : *std::next(around);
    if (below < above) {
        const auto outer = [&](const double lnRate) {
            const Trial trial = innerMinimum(run, 0, std::exp(lnRate), parameterBounds(space, 1));
            return std::isnan(trial.chi2) ? unusableChi2 : trial.chi2;
        };
        std::uintmax_t iterations = brentIterations;
        boost::math::tools::brent_find_minima(
            outer, std::log(below), std::log(above), logBits, iterations);
    }
    const auto bestTried
        = [](const std::vector<TriedHistory>& a, const std::vector<TriedHistory>& b) {
              const TriedHistory* best = nullptr;
              for (const auto* list : { &a, &b })
                  for (const TriedHistory& tried : *list)
                      if (!std::isnan(tried.chi2) && (!best || tried.chi2 < best->chi2))
                          best = &tried;
              return *best;
          };
    const TriedHistory nested = bestTried(fit.tried, run.tried);
    const std::vector<double> steps { simplexStepShare * nested.parameters[0],
        simplexStepShare * nested.parameters[1] };
    const auto objective = [&](const std::vector<double>& x) {
        if (!isInside(space, x))
            return std::numeric_limits<double>::infinity();
        const double chi2 = run(x);
        return std::isnan(chi2) ? std::numeric_limits<double>::infinity() : chi2;
    };
    SimplexSettings simplex;
    simplex.maxEvaluations = settings.refinementEvaluations;
    simplexMinimum(objective, nested.parameters, steps, simplex);
    const TriedHistory best = bestTried(fit.tried, run.tried);
    std::move(run.tried.begin(), run.tried.end(), std::back_inserter(fit.tried));
    fit.best = best.parameters;
    fit.level = misfitLevel(best.chi2, space);

    // 3. The ranges, then the profiles at their ends and the ranges again, twice: the first
    //    ends come from parabolas across grid steps, the second from points beside the crossing.
    for (int pass = 0; pass < rangePasses; ++pass) {
        std::vector<ProfilePoint> ends;
        for (std::size_t p = 0; p < 2; ++p) {
            const ChangeTimeProfile profile = profileOf(points, p, fit, parameterBounds(space, p));
            for (const double end : { profile.rangeLowMa, profile.rangeHighMa }) {
                const bool known
                    = std::any_of(points.begin(), points.end(), [&](const ProfilePoint& q) {
                          return q.held == p && std::abs(q.value - end) <= 1e-9 * std::abs(end);
                      });
                if (!known && end != fit.best[p])
                    ends.push_back({ p, end, {} });
            }
        }
        computePoints(ends, space, misfit, counter, settings.threads, fit.tried);
        points.insert(points.end(), ends.begin(), ends.end());
    }
    for (std::size_t p = 0; p < 2; ++p)
        fit.parameterProfiles.push_back(
            { p, profileOf(points, p, fit, parameterBounds(space, p)) });
    counter.finish();
    return fit;
}

} // namespace ages

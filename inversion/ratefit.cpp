#include "ratefit.h"

#include "textformat.h"

#include "misfitlevel.h"
#include "parallelfor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <mutex>
#include <stdexcept>

namespace ages {

namespace {

// One unit of chi2, the one-standard-error interval of a single fitted parameter. Two dips of
// the misfit count as separate minima only when the curve rises at least this much between
// them; a smaller wiggle lies inside one interval anyway.
constexpr double deltaChi2 = 1.0;

// The decimals of today's summary line; more only where a narrow range needs them.
constexpr int summaryDecimals = 3;

// The parabola through three points, in the form p(x) = curvature (x - vertex)^2 + lowest.
struct Parabola {
    double curvature = 0;
    double vertex = 0;
    double lowest = 0;
};

// Through (x0, y0), (x1, y1), (x2, y2) with x0 < x1 < x2 and y1 the lowest of the three.
Parabola parabolaThrough(double x0, double y0, double x1, double y1, double x2, double y2)
{
    // Divided differences: p(x) = y0 + d01 (x - x0) + d012 (x - x0)(x - x1).
    const double d01 = (y1 - y0) / (x1 - x0);
    const double d12 = (y2 - y1) / (x2 - x1);
    const double d012 = (d12 - d01) / (x2 - x0);
    if (!(d012 > 0)) {
        return { 0, x1, y1 }; // flat: no curvature to refine with
    }
    const double vertex = 0.5 * (x0 + x1) - d01 / (2 * d012);
    const double lowest = y0 + d01 * (vertex - x0) + d012 * (vertex - x0) * (vertex - x1);
    return { d012, vertex, lowest };
}

// Whether a grid point lies within the range; a misfit that is not a number never does.
bool withinLevel(double chi2, double level)
{
    return chi2 <= level;
}

double crossing(double xa, double ya, double xb, double yb, double level)
{
    return xa + (level - ya) / (yb - ya) * (xb - xa);
}

// Walks from index start (inside the range) towards the end in direction step (+1 or -1) and
// returns where the straight lines between grid points cross the level, or the end of the sweep.
double walkToLevel(const std::vector<double>& rates, const std::vector<double>& chi2,
    std::size_t start, int step, double level, bool& reachesEnd)
{
    const std::size_t last = step < 0 ? 0 : rates.size() - 1;
    std::size_t index = start;
    while (index != last) {
        const std::size_t next = index + step;
        if (!withinLevel(chi2[next], level)) {
            reachesEnd = false;
            if (std::isnan(chi2[next])) {
                return rates[index];
            }
            return crossing(rates[index], chi2[index], rates[next], chi2[next], level);
        }
        index = next;
    }
    reachesEnd = true;
    return rates[last];
}

// Minima separated by a rise of at least deltaChi2 on both sides (on one side at an end of the
// sweep), found in one pass with hysteresis so that small wiggles do not count.
int separateMinima(const std::vector<double>& chi2)
{
    int count = 0;
    bool descending = true; // looking for the bottom of a dip
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    for (const double value : chi2) {
        if (std::isnan(value)) {
            continue;
        }
        low = std::min(low, value);
        high = std::max(high, value);
        if (descending && value > low + deltaChi2) {
            ++count;
            descending = false;
            high = value;
        } else if (!descending && value < high - deltaChi2) {
            descending = true;
            low = value;
        }
    }
    return descending ? count + 1 : count;
}

} // namespace

double chiSquare(const std::vector<MeasuredAge>& samples, const std::vector<double>& predictedMa)
{
    double sum = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double residual = (samples[i].ageMa - predictedMa[i]) / samples[i].sigmaMa;
        sum += residual * residual;
    }
    return sum;
}

RateFit fitRate(const std::vector<double>& rates, const std::vector<MeasuredAge>& samples,
    const AgePrediction& predict, const FitProgress& progress)
{
    if (rates.empty() || samples.empty()) {
        throw std::invalid_argument("a fit needs at least one rate and one sample");
    }
    std::vector<double> chi2(rates.size());
    std::mutex progressLock;
    std::size_t done = 0; // guarded by progressLock
    parallelFor(rates.size(), defaultThreadCount(), [&](std::size_t i) {
        const auto predicted = predict(rates[i]);
        if (predicted.size() != samples.size()) {
            throw std::logic_error("a prediction gave the wrong number of ages");
        }
        chi2[i] = chiSquare(samples, predicted);
        if (progress) {
            const std::lock_guard lock(progressLock);
            progress(static_cast<double>(++done) / static_cast<double>(rates.size()));
        }
    });
    return fitMisfitCurve(rates, std::move(chi2), samples.size());
}

namespace {

// The level of the range, from the minimum of the curve.
using LevelRule = std::function<MisfitLevel(double chi2Min)>;

RateFit readMisfitCurve(std::vector<double> rates, std::vector<double> chi2, const LevelRule& rule)
{
    if (rates.empty() || rates.size() != chi2.size()) {
        throw std::invalid_argument("a misfit curve needs one chi2 per rate");
    }
    RateFit fit;
    fit.rates = std::move(rates);
    fit.chi2 = std::move(chi2);
    const auto& r = fit.rates;
    const auto& c = fit.chi2;
    const std::size_t n = r.size();

    std::size_t best = n;
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isnan(c[i]) && (best == n || c[i] < c[best])) {
            best = i;
        }
    }
    if (best == n) {
        throw std::runtime_error("no rate of the sweep gave a misfit that is a number");
    }

    const bool interior
        = best > 0 && best + 1 < n && !std::isnan(c[best - 1]) && !std::isnan(c[best + 1]);
    Parabola parabola { 0, r[best], c[best] };
    if (interior) {
        parabola
            = parabolaThrough(r[best - 1], c[best - 1], r[best], c[best], r[best + 1], c[best + 1]);
    }
    fit.bestRate = parabola.vertex;
    fit.chi2Min = std::max(0.0, parabola.lowest); // chi2 is a sum of squares
    const MisfitLevel misfit = rule(fit.chi2Min);
    fit.reducedChi2 = misfit.reducedChi2;
    fit.rangeLevel = misfit.level;
    fit.rangeScaled = misfit.scaled;
    fit.minimumCount = separateMinima(c);
    const double level = misfit.level;
    if (!(level >= parabola.lowest)) { // a level below the curve: no rate lies within it
        fit.rangeLow = fit.rangeHigh = fit.bestRate;
        return fit;
    }

    // Next to the minimum the curve is the parabola; beyond its three points, straight lines.
    const auto parabolaCrossing = [&](int side) {
        return parabola.vertex + side * std::sqrt((level - parabola.lowest) / parabola.curvature);
    };
    if (interior && parabola.curvature > 0 && !withinLevel(c[best - 1], level)) {
        fit.rangeLow = parabolaCrossing(-1);
    } else {
        const std::size_t start = interior ? best - 1 : best;
        fit.rangeLow = walkToLevel(r, c, start, -1, level, fit.rangeReachesLowEnd);
    }
    if (interior && parabola.curvature > 0 && !withinLevel(c[best + 1], level)) {
        fit.rangeHigh = parabolaCrossing(+1);
    } else {
        const std::size_t start = interior ? best + 1 : best;
        fit.rangeHigh = walkToLevel(r, c, start, +1, level, fit.rangeReachesHighEnd);
    }
    return fit;
}

} // namespace

RateFit fitMisfitCurve(std::vector<double> rates, std::vector<double> chi2, std::size_t sampleCount)
{
    // One fitted parameter, the rate.
    const long freedom = static_cast<long>(sampleCount) - 1;
    return readMisfitCurve(std::move(rates), std::move(chi2),
        [freedom](double chi2Min) { return misfitLevel(chi2Min, freedom); });
}

RateFit fitMisfitCurveAtLevel(std::vector<double> rates, std::vector<double> chi2, double level)
{
    return readMisfitCurve(std::move(rates), std::move(chi2), [level](double chi2Min) {
        MisfitLevel given = misfitLevel(chi2Min, 0);
        given.level = level;
        given.scaled = level > chi2Min + deltaChi2;
        return given;
    });
}

double refinedMinimum(const std::vector<double>& x, const std::vector<double>& y)
{
    if (std::all_of(y.begin(), y.end(), [](double value) { return std::isnan(value); }))
        return std::numeric_limits<double>::quiet_NaN();
    const double interior = fitMisfitCurveAtLevel(x, y, 0.0).chi2Min;
    // The lowest point at an end: the parabola through the three points there still places the
    // minimum inside the curve when it bends up with its vertex between the ends (a coarse grid
    // of three values, whose lowest is an end, while the minimum lies short of it).
    const std::size_t n = x.size();
    if (n < 3)
        return interior;
    const auto lowestIndex
        = static_cast<std::size_t>(std::min_element(y.begin(), y.end(), [](double a, double b) {
              return !std::isnan(a) && (std::isnan(b) || a < b);
          }) - y.begin());
    if (lowestIndex != 0 && lowestIndex != n - 1)
        return interior;
    const std::size_t first = lowestIndex == 0 ? 0 : n - 3;
    const Parabola parabola = parabolaThrough(
        x[first], y[first], x[first + 1], y[first + 1], x[first + 2], y[first + 2]);
    if (parabola.curvature > 0 && parabola.vertex > x.front() && parabola.vertex < x.back()
        && std::isfinite(parabola.lowest))
        return std::min(interior, parabola.lowest);
    return interior;
}

std::string fitSummary(const RateFit& fit, const std::string_view label)
{
    const int decimals = rangeDecimals(fit.rangeLow, fit.rangeHigh, summaryDecimals);
    return "best rate" + (label.empty() ? std::string() : " (" + std::string(label) + ")") + ": "
        + textformat::fixed(fit.bestRate, decimals) + " mm/yr, range "
        + textformat::fixed(fit.rangeLow, decimals) + " to "
        + textformat::fixed(fit.rangeHigh, decimals)
        + (fit.rangeScaled ? " (scaled by reduced chi2)" : "") + ", reduced chi2 "
        + (std::isnan(fit.reducedChi2) ? std::string("undefined (one sample)")
                                       : textformat::fixed(fit.reducedChi2, 2));
}

std::string fitWarnings(const RateFit& fit, const bool adviseRates)
{
    std::vector<std::string> notes;
    if (adviseRates && fit.rangeReachesLowEnd) {
        notes.push_back("the range reaches the lowest rate of the sweep ("
            + textformat::fixed(fit.rates.front(), 3)
            + " mm/yr), so the rate may lie lower: extend --rates");
    }
    if (adviseRates && fit.rangeReachesHighEnd) {
        notes.push_back("the range reaches the highest rate of the sweep ("
            + textformat::fixed(fit.rates.back(), 3)
            + " mm/yr), so the rate may lie higher: extend --rates");
    }
    if (fit.minimumCount > 1) {
        notes.push_back("chi2 has " + std::to_string(fit.minimumCount)
            + " separate minima, so more than one rate explains the ages: see the misfit curve");
    }
    if (notes.empty()) {
        return {};
    }
    std::string line = "warning: " + notes.front();
    for (std::size_t i = 1; i < notes.size(); ++i) {
        line += "; " + notes[i];
    }
    return line;
}

} // namespace ages

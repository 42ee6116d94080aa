#include "rategrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

namespace ages {

std::vector<double> evenlySpacedValues(const ValueBounds bounds, const int count)
{
    std::vector<double> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = bounds.low + (bounds.high - bounds.low) * i / (count - 1);
    values.back() = bounds.high;
    return values;
}

namespace {

// The misfits found at one rate, in order of the other: the grid's column and refined points.
std::vector<std::pair<double, double>> pointsAtRate(const std::vector<double>& others,
    const std::vector<double>& chi2, std::size_t rate, std::size_t rateCount,
    const std::vector<RefinedPoint>& refined)
{
    std::vector<std::pair<double, double>> points;
    for (std::size_t j = 0; j < others.size(); ++j)
        points.emplace_back(others[j], chi2[j * rateCount + rate]);
    for (const RefinedPoint& point : refined)
        if (point.rate == rate)
            points.emplace_back(point.other, point.chi2);
    std::sort(points.begin(), points.end());
    return points;
}

bool lowerThan(double a, double b)
{
    return !std::isnan(a) && (std::isnan(b) || a < b);
}

} // namespace

double nextOther(const std::vector<double>& others, const std::vector<double>& chi2,
    const std::size_t rate, const std::size_t rateCount, const std::vector<RefinedPoint>& refined)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto points = pointsAtRate(others, chi2, rate, rateCount, refined);
    if (points.size() < 3)
        return nan;
    std::size_t lowest = 0;
    for (std::size_t k = 1; k < points.size(); ++k)
        if (lowerThan(points[k].second, points[lowest].second))
            lowest = k;
    if (std::isnan(points[lowest].second))
        return nan;
    // The least chi2 at this rate lies between the lowest point's neighbours (a valley of one
    // minimum over the base).
    const double below = points[lowest == 0 ? 0 : lowest - 1].first;
    const double above = points[std::min(lowest + 1, points.size() - 1)].first;
    const double resolution = 1e-6 * (others.back() - others.front());
    const auto isNew = [&](double x) {
        return std::none_of(points.begin(), points.end(),
            [&](const auto& point) { return std::abs(point.first - x) < resolution; });
    };
    const std::size_t first = lowest == 0 ? 0 : std::min(lowest - 1, points.size() - 3);
    const auto& [x0, y0] = points[first];
    const auto& [x1, y1] = points[first + 1];
    const auto& [x2, y2] = points[first + 2];
    // p(x) = y0 + d01 (x - x0) + d012 (x - x0)(x - x1), its vertex where p'(x) = 0.
    const double d01 = (y1 - y0) / (x1 - x0);
    const double d012 = ((y2 - y1) / (x2 - x1) - d01) / (x2 - x0);
    const double vertex = 0.5 * (x0 + x1) - d01 / (2 * d012);
    if (d012 > 0 && vertex > below && vertex < above && isNew(vertex))
        return vertex;
    // The parabola of coarse values misses a narrow valley (its vertex outside the bracket, or
    // no curvature): halve the wider side of the bracket instead, which always closes in.
    const double lowestX = points[lowest].first;
    const double middle = lowestX - below > above - lowestX ? 0.5 * (below + lowestX)
                                                            : 0.5 * (lowestX + above);
    if (std::abs(middle - lowestX) >= resolution && isNew(middle))
        return middle;
    return nan;
}

RateGridFit fitRateGrid(const std::vector<double>& rates, const std::vector<double>& others,
    const std::vector<double>& chi2, const long degreesOfFreedom,
    const std::vector<RefinedPoint>& refined)
{
    const std::size_t count = rates.size();
    if (count == 0 || others.empty() || chi2.size() != count * others.size())
        throw std::invalid_argument("a misfit grid needs one chi2 per rate and other value");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> rateProfile(count, nan), otherProfile(others.size(), nan);
    for (std::size_t i = 0; i < count; ++i) {
        std::vector<double> column;
        for (std::size_t j = 0; j < others.size(); ++j)
            column.push_back(chi2[j * count + i]);
        if (refined.empty()) {
            rateProfile[i] = refinedMinimum(others, column);
            continue;
        }
        // The least the model gave at this rate: an upper bound of the profile, which the
        // refinement has brought down to its floor.
        for (const auto& point : pointsAtRate(others, chi2, i, count, refined))
            if (lowerThan(point.second, rateProfile[i]))
                rateProfile[i] = point.second;
    }
    for (std::size_t j = 0; j < others.size(); ++j)
        otherProfile[j] = refinedMinimum(
            rates, std::vector<double>(chi2.begin() + j * count, chi2.begin() + (j + 1) * count));
    const auto lowest = std::min_element(chi2.begin(), chi2.end(),
        [](double a, double b) { return !std::isnan(a) && (std::isnan(b) || a < b); });
    if (std::isnan(*lowest))
        throw std::runtime_error("no point of the grid gave a misfit that is a number");
    const std::size_t bestCell = static_cast<std::size_t>(lowest - chi2.begin());
    const std::size_t bestRow = bestCell / count, bestColumn = bestCell % count;
    const std::vector<double> row(
        chi2.begin() + bestRow * count, chi2.begin() + (bestRow + 1) * count);
    std::vector<double> column;
    for (std::size_t j = 0; j < others.size(); ++j)
        column.push_back(chi2[j * count + bestColumn]);

    RateGridFit fit;
    fit.bestRate = fitMisfitCurveAtLevel(rates, row, 0.0).bestRate;
    fit.bestOther = fitMisfitCurveAtLevel(others, column, 0.0).bestRate;
    double least = *lowest;
    for (const RefinedPoint& point : refined) {
        if (lowerThan(point.chi2, least)) {
            // Off the grid: the rate from the profile around it, the other where it was run.
            least = point.chi2;
            fit.bestOther = point.other;
            fit.bestRate = fitMisfitCurveAtLevel(rates, rateProfile, 0.0).bestRate;
        }
    }
    // The level from the least of the rate's profile (refined over both), the fit's minimum.
    fit.level = misfitLevel(
        std::min(fitMisfitCurveAtLevel(rates, rateProfile, 0.0).chi2Min, least),
        degreesOfFreedom);
    const auto atLevel
        = [&](const std::vector<double>& x, const std::vector<double>& y, const double best) {
              RateFit curve = fitMisfitCurveAtLevel(x, y, fit.level.level);
              curve.bestRate = best;
              curve.chi2Min = fit.level.chi2Min;
              curve.reducedChi2 = fit.level.reducedChi2;
              curve.rangeLevel = fit.level.level;
              curve.rangeScaled = fit.level.scaled;
              return curve;
          };
    fit.rateFit = atLevel(rates, rateProfile, fit.bestRate);
    fit.otherFit = atLevel(others, otherProfile, fit.bestOther);
    // The grid's profile of the other stands above a valley that the refinement found between
    // its values when the rates are coarse (the least chi2 over the grid's rates at a grid value
    // misses a floor that lies between two rates), so that its range could leave out the best
    // value itself. Every refined point within the level has a rate at which the other fits:
    // the range holds them all.
    for (const RefinedPoint& point : refined) {
        if (point.chi2 <= fit.level.level) {
            fit.otherFit.rangeLow = std::min(fit.otherFit.rangeLow, point.other);
            fit.otherFit.rangeHigh = std::max(fit.otherFit.rangeHigh, point.other);
        }
    }
    fit.rateFitAtBestOther = atLevel(rates, row, fit.bestRate);
    return fit;
}

} // namespace ages

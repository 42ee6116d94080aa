#pragma once
// The erosion rate that best explains a set of measured ages, found by a sweep.
//
// For every rate r of the sweep the misfit is
//
//     chi2(r) = sum_i ((age_obs_i - age_pred_i(r)) / sigma_i)^2        (dimensionless)
//
// over the N samples. The best rate is refined between grid points by the parabola through the
// lowest grid point and its two neighbours. That costs no further model runs (a bracketed
// minimiser would run the model at rates off the sweep), and near its minimum chi2 is a parabola
// in r as long as the ages vary about linearly with the rate over a few steps, so the vertex is
// where a finer sweep would find the minimum. The reduced chi2 is chi2_min / (N - 1): N samples
// less one fitted parameter, the rate. The range is where chi2 lies at or below the level
// chi2_min + max(1, reduced chi2) (misfitlevel.h): the one-standard-error interval of one fitted
// parameter, widened when the scatter exceeds the errors. Between grid points the curve is the
// refining parabola next to the minimum and a straight line elsewhere.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// The erosion rates a fit may search, mm/yr: from 0.1 m/Myr, slower than the most stable
// cratons erode, to 100 mm/yr, faster than any erosion measured. Outside them a model's path is
// longer than the Earth's history or its closure depths lie within a grid cell of the surface.
inline constexpr double slowestFitRateMmYr = 1e-4;
inline constexpr double fastestFitRateMmYr = 100.0;

struct MeasuredAge {
    double ageMa = 0;
    double sigmaMa = 1; // > 0
};

// Predicted ages (Ma) of the samples, in their order, for one erosion rate (mm/yr). Called from
// several threads at once, so it must not share mutable state between calls.
using AgePrediction = std::function<std::vector<double>(double rateMmYr)>;

struct RateFit {
    std::vector<double> rates; // mm/yr, the sweep
    std::vector<double> chi2; // one per rate
    double bestRate = 0; // mm/yr, refined between grid points
    double chi2Min = 0; // at bestRate
    double rangeLow = 0; // mm/yr, chi2 <= rangeLevel from here ...
    double rangeHigh = 0; // ... to here
    double reducedChi2 = 0; // chi2Min / (N - 1); NaN for a single sample or a level given
    double rangeLevel = 1; // the chi2 the range is read at
    bool rangeScaled = false; // rangeLevel is chi2Min + reducedChi2 (> chi2Min + 1)
    bool rangeReachesLowEnd = false; // the sweep's first rate is still inside the range
    bool rangeReachesHighEnd = false;
    int minimumCount = 1; // separate minima of chi2 (a rise of at least 1 between them)
};

// chi2 of the samples for one set of predicted ages (same order and size).
double chiSquare(const std::vector<MeasuredAge>& samples, const std::vector<double>& predictedMa);

// The share of the rates done, 0 .. 1; called from the worker threads, one call at a time.
using FitProgress = std::function<void(double fraction)>;

// Runs the prediction for every rate on all cores and fits. rates: increasing, at least one;
// samples: at least one. A prediction that throws ends the sweep and the exception is rethrown.
RateFit fitRate(const std::vector<double>& rates, const std::vector<MeasuredAge>& samples,
    const AgePrediction& predict, const FitProgress& progress = {});

// The fit from a misfit curve already computed (rates increasing, chi2 of the same size) of
// sampleCount samples, its range at the level of misfitLevel.
RateFit fitMisfitCurve(
    std::vector<double> rates, std::vector<double> chi2, std::size_t sampleCount);

// The same with the range read at a given chi2 level, as a --fit-output file's chi2_level column
// holds it (a level below the curve leaves the range at the best rate). The reduced chi2 is then
// unknown (NaN).
RateFit fitMisfitCurveAtLevel(std::vector<double> rates, std::vector<double> chi2, double level);

// The least value of a curve sampled at x (increasing), refined between points by the parabola
// through its lowest point and the two beside it, as the fits refine their minima; NaN when no
// value is a number. The least chi2 over a parameter gridded coarsely (the profile's inner
// minimum) without the envelope of the grid's values.
double refinedMinimum(const std::vector<double>& x, const std::vector<double>& y);

// "best rate: 0.731 mm/yr, range 0.702 to 0.760, reduced chi2 0.84"; with a widened range
// "best rate: 0.7312 mm/yr, range 0.7302 to 0.7331 (scaled by reduced chi2), reduced chi2 35.12".
// At least three decimals, more where the range needs them to show two digits of its width. A
// label names a subset of the samples: "best rate (AFT): ...".
std::string fitSummary(const RateFit& fit, std::string_view label = {});

// The warnings about a fit that cannot be trusted as it stands (the range reaching an end of the
// sweep, several minima), as one line; empty when there is none. Without adviseRates the range
// reaching an end is not reported: the caller knows a cause that widening --rates would not mend.
std::string fitWarnings(const RateFit& fit, bool adviseRates = true);

} // namespace ages

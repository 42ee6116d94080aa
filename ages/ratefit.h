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
// where a finer sweep would find the minimum. The range is where chi2 <= chi2_min + 1, the
// one-standard-error interval of one fitted parameter; between grid points the curve is the
// refining parabola next to the minimum and a straight line elsewhere. The reduced chi2 is
// chi2_min / (N - 1): N samples less one fitted parameter, the rate.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace ages {

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
    double rangeLow = 0; // mm/yr, chi2 <= chi2Min + 1 from here ...
    double rangeHigh = 0; // ... to here
    double reducedChi2 = 0; // chi2Min / (N - 1); NaN for a single sample
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

// The fit from a misfit curve already computed (rates increasing, chi2 of the same size).
RateFit fitMisfitCurve(
    std::vector<double> rates, std::vector<double> chi2, std::size_t sampleCount);

// "best rate: 0.731 mm/yr, range 0.702 to 0.760, reduced chi2 0.84"
std::string fitSummary(const RateFit& fit);

// The warnings about a fit that cannot be trusted as it stands (the range reaching an end of the
// sweep, several minima), as one line; empty when there is none.
std::string fitWarnings(const RateFit& fit);

} // namespace ages

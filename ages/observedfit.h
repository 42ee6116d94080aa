#pragma once
// The fit of a cooling_ages run to measured ages: read and check the samples before any work,
// predict every sample at every rate of the sweep (in parallel), find the best rate and its range,
// and write the misfit curve, the residuals and the summary.
//
// transient: every sample is compared with the age of the rock exposed at the exposure time (-o);
// surface samples of one site dated with several systems are what this model explains.
// periodic: a sample at field elevation e sits at e - M on the model's surface (M the
// --mean-elevation) and takes the age read off the predicted age-elevation relationship of the
// ridge-to-valley half-profile there.

#include "agecommandline.h"
#include "agekind.h"
#include "fitoptions.h"
#include "fittables.h"
#include "observedages.h"
#include "ratefit.h"
#include "samplepredictor.h"

#include <istream>
#include <ostream>
#include <vector>

namespace ages {

struct FitResult {
    RateFit fit;
    std::vector<Residual> residuals; // at the best rate
};

// Reads options.observedFile and checks every row (and, for periodic, every elevation against the
// relief) for the request's model. Throws InputError naming the file, the line and the problem.
std::vector<ObservedAge> readCheckedSamples(const AgeRequest& request, const FitOptions& options);

// The same from the text of such a file (options.observedFile only labels the messages): samples
// that come from elsewhere than a file, such as a table in Python.
std::vector<ObservedAge> parseCheckedSamples(
    std::istream& text, const AgeRequest& request, const FitOptions& options);

class ObservedFit {
public:
    // The samples as readCheckedSamples gives them. Throws InputError when a sample's own grain
    // is unusable. request and options must outlive the fit.
    ObservedFit(
        const AgeRequest& request, const FitOptions& options, std::vector<ObservedAge> samples);

    // The predicted ages (Ma) of the samples, in their order, for one erosion rate. Safe to call
    // from many threads at once. Preconditions: the model's parameters at that rate are usable.
    std::vector<double> predictedAges(double rateMmYr) const;

    // Every rate of the request (the sweep, or the model's one rate), then the residuals at the
    // best rate.
    FitResult run(const FitProgress& progress = {}) const;

    // The summary on err ("best rate: ..."; with one rate "chi2 ... at ..."), the warning line if
    // any, and the --fit-output and --residuals files. Throws InputError when a file cannot be
    // written.
    void report(const FitResult& result, std::ostream& err) const;

    const std::vector<ObservedAge>& samples() const { return m_samples; }

private:
    std::vector<double> periodicPredictedAges(double rateMmYr) const;

    const AgeRequest& m_request;
    const FitOptions& m_options;
    std::vector<ObservedAge> m_samples;
    std::vector<AgeKind> m_kinds;
    SamplePredictor m_predictor;
    std::vector<double> m_modelElevationsM; // periodic: e - M per sample
};

} // namespace ages

#pragma once
// A run of `cooling_ages history`: the table of ages along the path of the rock exposed today
// under --erosion's history, and with --observed the comparison with measured ages: the misfit
// of that history, or with --fit-phases the fit of a history of N phases and its files.
//
//   1. every refusal, before any work: the options, the history, the thermal parameters, the
//      measured ages and their grains, the fit's space and engine;
//   2. the work: the table, the path, the fit (a progress line on a terminal);
//   3. the files, replaced together once all are complete (a temporary beside each, renamed
//      when every one is written), the table (to standard output without --output), then the
//      summary and the warnings on standard error.
//
// The fit's summary is the engines' (historyfiles.h), followed by their warnings and one for
// the samples whose prediction at the best history is not reset (historymisfit.h).
//
// Steps 1 and 2 are functions of plain values, which the Python module calls without the files:
//
//     checkHistoryRequest(request);
//     const HistorySamples samples = historySamples(parseObservedAges(text, "DataFrame"), ...);
//     const HistoryOutcome outcome = computeHistoryRun(request, samples, { .table = false });

#include "agekind.h"
#include "agerequest.h"
#include "agerow.h"
#include "elevationprofile.h"
#include "fitoptions.h"
#include "fittables.h"
#include "historyfitresult.h"
#include "historysampler.h"
#include "lengthmisfit.h"
#include "historypath.h"
#include "observedages.h"
#include "ratefit.h"
#include "samplelengthtable.h"
#include "samplepath.h"
#include "textformat.h"

#include "replacementgroup.h"

#include <functional>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// The measured ages of a run and what each is predicted as, and the measured track lengths; empty
// without measured data.
struct HistorySamples {
    std::vector<ObservedAge> ages;
    std::vector<AgeKind> kinds;
    std::vector<JoinedLengths> lengths;
    std::vector<ObservedTemperature> temperatures; // rows of system T
    std::vector<ObservedHeatFlow> heatFlows; // rows of system Q

    bool empty() const { return ages.empty() && lengths.empty(); }
};

// The kinds of samples read from somewhere (label names it in the messages), by the request's age
// options, and the lengths joined with them (lengthsLabel names where they came from). Throws
// InputError for a sample the options cannot date.
HistorySamples historySamples(std::vector<ObservedAge> ages, const AgeRequest& request,
    std::string_view label, std::vector<SampleLengths> lengths = {},
    std::string_view lengthsLabel = {});
// The same with the temperatures and heat flows of the data.
HistorySamples historySamples(ObservedData data, const AgeRequest& request, std::string_view label,
    std::vector<SampleLengths> lengths = {}, std::string_view lengthsLabel = {});

// One residual per sample, for the ages predicted for them (in their order); counted: whether
// each entered chi2 (empty: all did).
std::vector<Residual> sampleResiduals(const HistorySamples& samples,
    const std::vector<thermochron::Age>& predicted, const std::vector<bool>& counted = {});

// The "assumed:" line of a history or terrain run, ending in a line end: the column's parameters,
// the path's start, where the samples are, the kinetics and the grain values taken from the
// options.
std::string assumedLine(const AgeRequest& request, const HistorySamples& samples);

// A run's summary lines (each ending in a line end) and its warnings as values, which the
// program prints after the summary and the module raises.
struct SampleReport {
    std::string summary;
    std::vector<textformat::Warning> warnings;
};

// A history compared with the samples without a fit: "chi2 3.21 for the history 20:0.300 (no
// fit), reduced chi2 0.80", the assumed: line, and the warning of predictions not reset; chi2 is
// that of the counted samples (counted empty: all). Throws InputError for a chi2 that is not a
// number.
SampleReport comparisonReport(const AgeRequest& request, const HistorySamples& samples,
    const std::vector<thermochron::Age>& predicted, const std::vector<bool>& counted,
    const ErosionHistory& history, double chi2);

// A fit: the engines' lines, the assumed: line; the engines' warnings and that of the predictions
// at the best history that are not reset.
SampleReport fitReport(const AgeRequest& request, const HistoryFit& fit,
    const HistorySamples& samples, const std::vector<thermochron::Age>& predicted,
    const std::vector<bool>& counted = {});

// A file of a run: its path and what writes its text.
using RunFile = std::pair<std::string, std::function<void(std::ostream&)>>;

// The residuals and, with a fit, its tables, where options name files for them.
void appendFitFiles(const FitOptions& options, const std::vector<Residual>& residuals,
    const std::optional<HistoryFit>& fit, std::vector<RunFile>& files);

// Each file into group (its temporary written, replaced at the group's commit), after removing
// what a killed run left beside it. Throws InputError naming a file that cannot be written.
void writeRunFiles(const std::vector<RunFile>& files, wholefile::ReplacementGroup& group);

// What a run computes besides the fit or the comparison.
struct HistoryWork {
    bool table = true; // the table of ages along --erosion's path
    bool path = false; // that path (--path-output)
    bool geotherm = false; // the column today (--geotherm-output), of --erosion without samples
};

// What a run has computed, before anything is written.
struct HistoryOutcome {
    std::vector<AgeRow> rows;
    std::optional<SamplePath> path;
    std::optional<HistoryFit> fit; // with --fit-phases
    // The present geotherm of the best history (of --erosion's without a fit), with samples.
    std::optional<thermal::Geotherm> geotherm;
    std::vector<Residual> residuals; // pointing into the samples the run was given
    std::vector<LengthComparison> lengths; // the measured lengths at the history compared
    // The predicted distributions of the samples of lengths there, in the lengths' order.
    std::vector<SampleLengthPrediction> sampleLengths;
    // With --elevation-output: the ages along the samples' elevations at that history.
    std::vector<ElevationProfileRow> elevationProfile;
    std::string summary; // lines for standard error, each ending in a line end, warnings too
    std::vector<textformat::Warning> warnings; // those of the summary, as values
};

// The refusals of the request before any sample is read: its age options and its history on its
// thermal parameters. Throws InputError.
void checkHistoryRequest(const AgeRequest& request);

// Step 2 with the refusals of the fit first (its space, its engine, a slowest history that cannot
// be run): with request.history.fitPhases the fit of the samples, else with samples the misfit of
// --erosion's history. progress hears the share of the fit done, from any thread, one call at a
// time; an exception it throws ends the fit and is passed on. Throws InputError.
HistoryOutcome computeHistoryRun(const AgeRequest& request, const HistorySamples& samples,
    const HistoryWork& work, const FitProgress& progress = {});

// The sampler's fit in two steps, for chains run elsewhere (one Dask task each): chain k of the
// fit (0 .. --chains - 1) on the fit's threads, with computeHistoryRun's refusals first; then the
// outcome of computeHistoryRun (without table or path) from every chain, in order: the same
// values as the fit run at once. Throw InputError, also for a fit that is not the sampler's.
SampledChain computeHistoryChain(const AgeRequest& request, const HistorySamples& samples,
    int chain, const FitProgress& progress = {});
HistoryOutcome mergeHistoryChains(
    const AgeRequest& request, const HistorySamples& samples, std::vector<SampledChain> chains);

// Throws InputError for whatever the user can mend; nothing is written then.
void runHistoryModel(const AgeRequest& request, const FitOptions& options, std::ostream& out,
    std::ostream& err, bool showProgress);

} // namespace ages

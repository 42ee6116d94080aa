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
#include "fitoptions.h"
#include "fittables.h"
#include "historyfitresult.h"
#include "historypath.h"
#include "observedages.h"
#include "ratefit.h"
#include "samplepath.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// The measured ages of a run and what each is predicted as; empty without measured ages.
struct HistorySamples {
    std::vector<ObservedAge> ages;
    std::vector<AgeKind> kinds;
    std::vector<ObservedTemperature> temperatures; // rows of system T
    std::vector<ObservedHeatFlow> heatFlows; // rows of system Q
};

// The kinds of samples read from somewhere (label names it in the messages), by the request's age
// options. Throws InputError for a sample the options cannot date.
HistorySamples historySamples(
    std::vector<ObservedAge> ages, const AgeRequest& request, std::string_view label);
// The same with the temperatures and heat flows of the data.
HistorySamples historySamples(ObservedData data, const AgeRequest& request, std::string_view label);

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
    std::string summary; // lines for standard error, each ending in a line end
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

// Throws InputError for whatever the user can mend; nothing is written then.
void runHistoryModel(const AgeRequest& request, const FitOptions& options, std::ostream& out,
    std::ostream& err, bool showProgress);

} // namespace ages

#include "historyrun.h"

#include "agekind.h"
#include "agetable.h"
#include "fittables.h"
#include "historyfiles.h"
#include "historymisfit.h"
#include "historymodel.h"
#include "historyplacement.h"
#include "inputerror.h"
#include "observedages.h"

#include "progressline.h"
#include "replacementgroup.h"
#include "textformat.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace ages {

namespace {

// The fit cannot find a history when even the slowest one leaves the column: say so before the
// work, naming the bound to move.
void checkSlowestHistory(const HistoryRequest& history, const HistoryPlacement& placement)
{
    const thermal::ErosionHistory slowest { { history.pathStartMa(), history.ratesMmYr.low } };
    if (const auto error = thermal::placedRunError(history.thermal, slowest,
            { placement.presentDepthsM, placement.lapseRateCm }, fitResolution))
        throw InputError("--rates " + textformat::number(history.ratesMmYr.low) + ":"
            + textformat::number(history.ratesMmYr.high)
            + ": the slowest history the fit would try ("
            + thermal::formatErosionHistory(slowest, 2, 3) + ") cannot be run: " + *error);
}

std::string fixed(const double value, const int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::vector<Residual> residualsOf(
    const HistorySamples& samples, const std::vector<thermochron::Age>& predicted)
{
    std::vector<Residual> residuals;
    for (std::size_t i = 0; i < samples.ages.size(); ++i)
        residuals.push_back({ &samples.ages[i], samples.kinds[i].method, samples.kinds[i].kinetics,
            predicted[i].ageMa, predicted[i].reset, true, samples.kinds[i].grain });
    return residuals;
}

// --observed without a fit: --erosion's own history against the samples, along the table's path.
void compareHistory(const AgeRequest& request, const HistorySamples& samples,
    const HistoryPlacement& placement, HistoryOutcome& outcome)
{
    const thermal::ErosionHistory& history = request.history.erosion;
    const HistoryAgeMisfit misfit(
        request.history.thermal, samples.ages, samples.kinds, thermal::Resolution {}, placement);
    if (const auto error = thermal::placedRunError(
            request.history.thermal, history, { placement.presentDepthsM, placement.lapseRateCm }))
        throw InputError(*error);
    const auto predicted = misfit.prediction(history, std::nan(""));
    if (!predicted)
        throw InputError("the history " + thermal::formatErosionHistory(history, 2, 3)
            + " cannot be compared with the samples: its path leaves the temperatures the age "
              "models take");
    const double chi2 = misfit.chi2(*predicted);
    outcome.residuals = residualsOf(samples, predicted->ages);
    outcome.geotherm = predicted->presentGeotherm;
    outcome.summary = "chi2 " + fixed(chi2, 2) + " for the history "
        + thermal::formatErosionHistory(history, 2, 3) + " (no fit), reduced chi2 "
        + fixed(chi2 / static_cast<double>(misfit.dataCount()), 2) + "\n"
        + historyAssumedLine(request.history, samples.ages, samples.kinds, request.settings) + "\n"
        + presentColumnSummary(*predicted, placement, "the history");
    if (const std::string note
        = reliefNote(samples.ages, placement, predicted->ages, history, "the history");
        !note.empty())
        outcome.summary += note + "\n";
    if (const std::string warning
        = notResetWarning(samples.ages, predicted->ages, history, "the history");
        !warning.empty())
        outcome.summary += warning + "\n";
}

void fitHistoryToSamples(const AgeRequest& request, const HistorySpace& space,
    const HistorySamples& samples, const HistoryPlacement& placement, const FitProgress& progress,
    HistoryOutcome& outcome)
{
    const HistoryAgeMisfit misfit(
        request.history.thermal, samples.ages, samples.kinds, fitResolution, placement);
    try {
        outcome.fit = fitHistory(space, std::cref(misfit), request.history.fit, progress);
    } catch (const std::system_error&) {
        throw; // the system's own failure (threads), not the fit's
    } catch (const std::runtime_error& error) {
        // No history of the fit could be run (each left the column or the temperatures the
        // age models take).
        throw InputError(std::string(error.what())
            + ": narrow --rates towards its slowest rates, or deepen the column (-z)");
    }
    const HistoryFit& fit = *outcome.fit;
    const thermal::ErosionHistory best = fit.bestHistory();
    const auto predicted = misfit.prediction(best, otherOf(fit.space, fit.best));
    if (!predicted)
        throw std::logic_error("the best history of a fit has no predictions");
    outcome.residuals = residualsOf(samples, predicted->ages);
    outcome.geotherm = predicted->presentGeotherm;
    const HistoryRequest& history = request.history;
    outcome.summary = historySummary(fit) + fittedBaseSummary(fit, history)
        + historyAssumedLine(history, samples.ages, samples.kinds, request.settings) + "\n"
        + presentColumnSummary(*predicted, placement, "the best history") + historyWarnings(fit)
        + fittedBaseWarnings(fit, history);
    if (const std::string note
        = reliefNote(samples.ages, placement, predicted->ages, best, "the best history");
        !note.empty())
        outcome.summary += note + "\n";
    if (const std::string warning
        = notResetWarning(samples.ages, predicted->ages, best, "the best history");
        !warning.empty())
        outcome.summary += warning + "\n";
}

// Every file of the run into one group: nothing is replaced unless all could be written.
void writeFiles(const FitOptions& options, const AgeRequest& request, const HistoryOutcome& outcome,
    wholefile::ReplacementGroup& group)
{
    using Writer = std::function<void(std::ostream&)>;
    std::vector<std::pair<std::string, Writer>> files;
    if (!request.outputFile.empty())
        files.emplace_back(
            request.outputFile, [&](std::ostream& out) { writeAgeTable(out, outcome.rows); });
    if (outcome.path)
        files.emplace_back(
            options.pathOutput, [&](std::ostream& out) { writePathTable(out, *outcome.path); });
    if (!options.residualsOutput.empty())
        files.emplace_back(options.residualsOutput,
            [&](std::ostream& out) { writeResidualTable(out, outcome.residuals); });
    if (!options.geothermOutput.empty() && outcome.geotherm)
        files.emplace_back(options.geothermOutput,
            [&](std::ostream& out) { writeGeothermTable(out, *outcome.geotherm); });
    if (outcome.fit) {
        const HistoryFit& fit = *outcome.fit;
        if (!options.fitOutput.empty())
            files.emplace_back(
                options.fitOutput, [&](std::ostream& out) { writeHistoryFitTable(out, fit); });
        if (!options.profileOutput.empty())
            files.emplace_back(options.profileOutput,
                [&](std::ostream& out) { writeHistoryProfileTable(out, fit); });
        if (!options.posteriorOutput.empty())
            files.emplace_back(options.posteriorOutput,
                [&](std::ostream& out) { writeHistoryPosteriorTable(out, fit); });
    }
    for (const auto& [file, write] : files) {
        wholefile::removeAbandonedTemporaries(file); // what a killed run left beside it
        if (const auto failure = group.write(file, write))
            throw InputError("cannot write " + file + ": " + std::strerror(failure->error));
    }
}

} // namespace

HistorySamples historySamples(
    ObservedData data, const AgeRequest& request, const std::string_view label)
{
    HistorySamples samples = historySamples(std::move(data.ages), request, label);
    samples.temperatures = std::move(data.temperatures);
    samples.heatFlows = std::move(data.heatFlows);
    return samples;
}

HistorySamples historySamples(
    std::vector<ObservedAge> ages, const AgeRequest& request, const std::string_view label)
{
    HistorySamples samples;
    samples.ages = std::move(ages);
    try {
        samples.kinds = sampleAgeKinds(samples.ages, request.settings, label);
    } catch (const ObservedAgesError& error) {
        throw InputError(error.what());
    }
    return samples;
}

void checkHistoryRequest(const AgeRequest& request)
{
    if (const auto error = settingsError(request.settings))
        throw InputError(*error);
    const HistoryRequest& history = request.history;
    if (const auto error = thermal::runError(history.thermal, history.erosion))
        throw InputError(*error);
}

HistoryOutcome computeHistoryRun(const AgeRequest& request, const HistorySamples& samples,
    const HistoryWork& work, const FitProgress& progress)
{
    const HistoryRequest& history = request.history;
    const HistoryPlacement placement
        = historyPlacement(history, samples.ages, samples.temperatures, samples.heatFlows);
    std::optional<HistorySpace> space;
    if (history.fitPhases != 0) {
        space = history.fitSpace(
            samples.ages.size() + placement.temperatures.size() + placement.heatFlowsMWm2.size());
        if (const std::string error = historyFitError(*space, history.fit); !error.empty())
            throw InputError(error);
        checkSlowestHistory(history, placement);
    }

    HistoryOutcome outcome;
    if (work.table)
        outcome.rows = historyAgeRows(history.thermal, history.erosion, request.settings);
    if (work.path)
        outcome.path = historySamplePath(history.thermal, history.erosion);
    if (space)
        fitHistoryToSamples(request, *space, samples, placement, progress, outcome);
    else if (!samples.ages.empty())
        compareHistory(request, samples, placement, outcome);
    if (work.geotherm && !outcome.geotherm)
        outcome.geotherm = thermal::historyRun(history.thermal, history.erosion).presentGeotherm;
    return outcome;
}

void runHistoryModel(const AgeRequest& request, const FitOptions& options, std::ostream& out,
    std::ostream& err, const bool showProgress)
{
    // 1. Every refusal first.
    if (const auto error = fitOptionsError(request, options))
        throw InputError(*error);
    checkHistoryRequest(request);
    HistorySamples samples;
    if (options.fits()) {
        try {
            samples = historySamples(
                readObservedData(options.observedFile), request, options.observedFile);
        } catch (const ObservedAgesError& error) {
            throw InputError(error.what());
        }
    }

    // 2. The work (the fit's refusals first).
    HistoryOutcome outcome;
    {
        // Erased (by its destructor) before anything else is written on err.
        erosion::ProgressLine line = showProgress && request.history.fitPhases != 0
            ? erosion::ProgressLine(err, "cooling_ages: fitting the erosion history")
            : erosion::ProgressLine();
        outcome = computeHistoryRun(request, samples,
            { .table = true,
                .path = !options.pathOutput.empty(),
                .geotherm = !options.geothermOutput.empty() },
            [&](double fraction) { line.update(fraction); });
    }

    // 3. The files together, the table, the summary.
    wholefile::ReplacementGroup group;
    writeFiles(options, request, outcome, group);
    if (request.outputFile.empty()) {
        writeAgeTable(out, outcome.rows);
        out.flush();
        if (!out)
            throw InputError("cannot write the table to standard output");
    }
    if (const auto failure = group.commit())
        throw InputError("cannot write " + failure->path + ": " + std::strerror(failure->error));
    err << outcome.summary;
}

} // namespace ages

#include "historyrun.h"

#include "agekind.h"
#include "agetable.h"
#include "fittables.h"
#include "historyfiles.h"
#include "historymisfit.h"
#include "historymodel.h"
#include "inputerror.h"
#include "observedages.h"

#include "progressline.h"
#include "replacementgroup.h"
#include "textformat.h"

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
void checkSlowestHistory(const HistoryRequest& history)
{
    const thermal::ErosionHistory slowest { { history.pathStartMa(), history.ratesMmYr.low } };
    if (const auto error = thermal::runError(history.thermal, slowest, fitResolution))
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

// --observed without a fit: --erosion's own history against the samples, along the table's path.
void compareHistory(
    const AgeRequest& request, const HistorySamples& samples, HistoryOutcome& outcome)
{
    const thermal::ErosionHistory& history = request.history.erosion;
    const HistoryAgeMisfit misfit(
        request.history.thermal, samples.ages, samples.kinds, thermal::Resolution {});
    const auto predicted = misfit.predictions(history);
    if (!predicted)
        throw InputError("the history " + thermal::formatErosionHistory(history, 2, 3)
            + " cannot be compared with the samples: its path leaves the temperatures the age "
              "models take");
    outcome.residuals = sampleResiduals(samples, *predicted);
    outcome.summary = comparisonSummary(samples, *predicted, history, misfit.chi2(*predicted));
}

void fitHistoryToSamples(const AgeRequest& request, const HistorySpace& space,
    const HistorySamples& samples, const FitProgress& progress, HistoryOutcome& outcome)
{
    const HistoryAgeMisfit misfit(request.history.thermal, samples.ages, samples.kinds);
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
    const auto predicted = misfit.predictions(best);
    if (!predicted)
        throw std::logic_error("the best history of a fit has no predictions");
    outcome.residuals = sampleResiduals(samples, *predicted);
    outcome.summary = fitSummary(fit, samples, *predicted);
}

// Every file of the run into one group: nothing is replaced unless all could be written.
void writeFiles(const FitOptions& options, const AgeRequest& request, const HistoryOutcome& outcome,
    wholefile::ReplacementGroup& group)
{
    std::vector<RunFile> files;
    if (!request.outputFile.empty())
        files.emplace_back(
            request.outputFile, [&](std::ostream& out) { writeAgeTable(out, outcome.rows); });
    if (outcome.path)
        files.emplace_back(
            options.pathOutput, [&](std::ostream& out) { writePathTable(out, *outcome.path); });
    appendFitFiles(options, outcome.residuals, outcome.fit, files);
    writeRunFiles(files, group);
}

} // namespace

void appendFitFiles(const FitOptions& options, const std::vector<Residual>& residuals,
    const std::optional<HistoryFit>& fit, std::vector<RunFile>& files)
{
    if (!options.residualsOutput.empty())
        files.emplace_back(options.residualsOutput,
            [&](std::ostream& out) { writeResidualTable(out, residuals); });
    if (!fit)
        return;
    if (!options.fitOutput.empty())
        files.emplace_back(
            options.fitOutput, [&](std::ostream& out) { writeHistoryFitTable(out, *fit); });
    if (!options.profileOutput.empty())
        files.emplace_back(
            options.profileOutput, [&](std::ostream& out) { writeHistoryProfileTable(out, *fit); });
    if (!options.posteriorOutput.empty())
        files.emplace_back(options.posteriorOutput,
            [&](std::ostream& out) { writeHistoryPosteriorTable(out, *fit); });
}

void writeRunFiles(const std::vector<RunFile>& files, wholefile::ReplacementGroup& group)
{
    for (const auto& [file, write] : files) {
        wholefile::removeAbandonedTemporaries(file); // what a killed run left beside it
        if (const auto failure = group.write(file, write))
            throw InputError("cannot write " + file + ": " + std::strerror(failure->error));
    }
}

std::vector<Residual> sampleResiduals(
    const HistorySamples& samples, const std::vector<thermochron::Age>& predicted)
{
    std::vector<Residual> residuals;
    for (std::size_t i = 0; i < samples.ages.size(); ++i)
        residuals.push_back({ &samples.ages[i], samples.kinds[i].method, samples.kinds[i].kinetics,
            predicted[i].ageMa, predicted[i].reset, true, samples.kinds[i].grain });
    return residuals;
}

std::string comparisonSummary(const HistorySamples& samples,
    const std::vector<thermochron::Age>& predicted, const ErosionHistory& history,
    const double chi2)
{
    std::string summary = "chi2 " + fixed(chi2, 2) + " for the history "
        + thermal::formatErosionHistory(history, 2, 3) + " (no fit), reduced chi2 "
        + fixed(chi2 / static_cast<double>(samples.ages.size()), 2) + "\n";
    if (const std::string warning
        = notResetWarning(samples.ages, predicted, history, "the history");
        !warning.empty())
        summary += warning + "\n";
    return summary;
}

std::string fitSummary(const HistoryFit& fit, const HistorySamples& samples,
    const std::vector<thermochron::Age>& predicted)
{
    std::string summary = historySummary(fit) + historyWarnings(fit);
    if (const std::string warning
        = notResetWarning(samples.ages, predicted, fit.bestHistory(), "the best history");
        !warning.empty())
        summary += warning + "\n";
    return summary;
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
    std::optional<HistorySpace> space;
    if (history.fitPhases != 0) {
        space = history.fitSpace(samples.ages.size());
        if (const std::string error = historyFitError(*space, history.fit); !error.empty())
            throw InputError(error);
        checkSlowestHistory(history);
    }

    HistoryOutcome outcome;
    if (work.table)
        outcome.rows = historyAgeRows(history.thermal, history.erosion, request.settings);
    if (work.path)
        outcome.path = historySamplePath(history.thermal, history.erosion);
    if (space)
        fitHistoryToSamples(request, *space, samples, progress, outcome);
    else if (!samples.ages.empty())
        compareHistory(request, samples, outcome);
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
                readObservedAges(options.observedFile), request, options.observedFile);
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
            { .table = true, .path = !options.pathOutput.empty() },
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

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

std::vector<Residual> residualsOf(
    const HistorySamples& samples, const std::vector<thermochron::Age>& predicted)
{
    std::vector<Residual> residuals;
    for (std::size_t i = 0; i < samples.ages.size(); ++i)
        residuals.push_back({ &samples.ages[i], samples.kinds[i].method, samples.kinds[i].kinetics,
            predicted[i].ageMa, predicted[i].reset, true, samples.kinds[i].grain });
    return residuals;
}

std::vector<LengthSample> lengthSamples(const HistorySamples& samples)
{
    std::vector<LengthSample> lengths;
    for (const JoinedLengths& joined : samples.lengths)
        lengths.push_back(joined.lengths);
    return lengths;
}

// The lines of the lengths at a history, and their warnings: empty without lengths. comparisons
// receives the lengths against their prediction.
std::string lengthsSummary(const HistoryAgeMisfit& misfit, const thermal::ErosionHistory& history,
    std::vector<LengthComparison>& comparisons)
{
    if (misfit.lengths().empty())
        return {};
    const auto predicted = misfit.lengthPredictions(history);
    std::string text;
    for (std::size_t k = 0; k < misfit.lengths().size(); ++k) {
        const std::vector<LengthComparison> sample = compareLengths(
            predicted ? (*predicted)[k] : std::nullopt, misfit.lengths()[k].measured);
        if (sample.empty())
            text += textformat::warningLine("the history leaves no track to be measured in "
                        + textformat::printable(misfit.lengths()[k].measured.sample)
                        + ", whose lengths were measured")
                + "\n";
        comparisons.insert(comparisons.end(), sample.begin(), sample.end());
    }
    std::string lines;
    for (const LengthComparison& comparison : comparisons)
        lines += lengthReportLine(comparison) + "\n";
    if (const std::string warning = lengthWarning(comparisons); !warning.empty())
        text += warning + "\n";
    return lines + text;
}

// --observed without a fit: --erosion's own history against the samples, along the table's path.
void compareHistory(
    const AgeRequest& request, const HistorySamples& samples, HistoryOutcome& outcome)
{
    const thermal::ErosionHistory& history = request.history.erosion;
    const HistoryAgeMisfit misfit(request.history.thermal, samples.ages, samples.kinds,
        thermal::Resolution {}, lengthSamples(samples), request.settings);
    const auto predicted = misfit.predictions(history);
    if (!predicted)
        throw InputError("the history " + thermal::formatErosionHistory(history, 2, 3)
            + " cannot be compared with the samples: its path leaves the temperatures the age "
              "models take");
    const double chi2 = misfit.chi2(*predicted);
    outcome.residuals = residualsOf(samples, *predicted);
    outcome.summary = "chi2 " + fixed(chi2, 2) + " for the history "
        + thermal::formatErosionHistory(history, 2, 3) + " (no fit), reduced chi2 "
        + fixed(chi2 / static_cast<double>(samples.ages.size()), 2) + "\n"
        + lengthsSummary(misfit, history, outcome.lengths);
    if (const std::string warning
        = notResetWarning(samples.ages, *predicted, history, "the history");
        !warning.empty())
        outcome.summary += warning + "\n";
}

void fitHistoryToSamples(const AgeRequest& request, const HistorySpace& space,
    const HistorySamples& samples, const FitProgress& progress, HistoryOutcome& outcome)
{
    const HistoryAgeMisfit misfit(request.history.thermal, samples.ages, samples.kinds,
        fitResolution, lengthSamples(samples), request.settings);
    try {
        const HistoryMisfit lengthsPart = samples.lengths.empty()
            ? HistoryMisfit()
            : HistoryMisfit([&misfit](const thermal::ErosionHistory& history) {
                  return misfit.lengthsMisfit(history);
              });
        outcome.fit
            = fitHistory(space, std::cref(misfit), request.history.fit, progress, lengthsPart);
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
    outcome.residuals = residualsOf(samples, *predicted);
    outcome.summary = historySummary(fit) + lengthsSummary(misfit, best, outcome.lengths)
        + historyWarnings(fit);
    if (const std::string warning
        = notResetWarning(samples.ages, *predicted, best, "the best history");
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
    if (!request.lengthsOutputFile.empty())
        files.emplace_back(request.lengthsOutputFile,
            [&](std::ostream& out) { writeLengthTable(out, outcome.rows); });
    if (outcome.path)
        files.emplace_back(
            options.pathOutput, [&](std::ostream& out) { writePathTable(out, *outcome.path); });
    if (!options.residualsOutput.empty())
        files.emplace_back(options.residualsOutput,
            [&](std::ostream& out) { writeResidualTable(out, outcome.residuals); });
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

HistorySamples historySamples(std::vector<ObservedAge> ages, const AgeRequest& request,
    const std::string_view label, std::vector<SampleLengths> lengths,
    const std::string_view lengthsLabel)
{
    HistorySamples samples;
    samples.ages = std::move(ages);
    try {
        samples.lengths
            = joinLengths(samples.ages, std::move(lengths), request.settings, lengthsLabel);
        samples.kinds = sampleAgeKinds(samples.ages, request.settings, label);
    } catch (const ObservedAgesError& error) {
        throw InputError(error.what());
    } catch (const TrackLengthsError& error) {
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
            samples = historySamples(options.observedFile.empty()
                    ? std::vector<ObservedAge> {}
                    : readObservedAges(options.observedFile),
                request, options.observedFile,
                options.lengthsFile.empty()
                    ? std::vector<SampleLengths> {}
                    : readTrackLengths(options.lengthsFile, options.lengthsSample),
                options.lengthsFile);
        } catch (const ObservedAgesError& error) {
            throw InputError(error.what());
        } catch (const TrackLengthsError& error) {
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

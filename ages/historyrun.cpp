#include "historyrun.h"

#include "agekind.h"
#include "agesbeyondpath.h"
#include "assumptions.h"
#include "agetable.h"
#include "fittables.h"
#include "historyfiles.h"
#include "historymisfit.h"
#include "historymodel.h"
#include "historyplacement.h"
#include "inputerror.h"
#include "observedages.h"
#include "samplelengthtable.h"

#include "progressline.h"
#include "replacementgroup.h"
#include "textformat.h"

#include <algorithm>
#include <cmath>
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

// The samples that enter chi2, and the predictions of those alone.
HistorySamples countedSamples(const HistorySamples& samples, const std::vector<bool>& counted)
{
    HistorySamples subset;
    subset.lengths = samples.lengths; // a length is no lower bound: they all count
    subset.temperatures = samples.temperatures; // nor is a temperature or a heat flow today
    subset.heatFlows = samples.heatFlows;
    for (std::size_t i = 0; i < samples.ages.size(); ++i) {
        if (!counted[i])
            continue;
        subset.ages.push_back(samples.ages[i]);
        subset.kinds.push_back(samples.kinds[i]);
    }
    return subset;
}

std::vector<thermochron::Age> countedPredictions(
    const std::vector<thermochron::Age>& predicted, const std::vector<bool>& counted)
{
    std::vector<thermochron::Age> subset;
    for (std::size_t i = 0; i < predicted.size(); ++i)
        if (counted[i])
            subset.push_back(predicted[i]);
    return subset;
}

// What the answer rests on besides the ages: the column's parameters, the path's start, the
// kinetics and the grain values that came from the age options.
std::string assumedLineOf(const AgeRequest& request, const HistorySamples& samples,
    const std::string_view placement)
{
    const thermal::ThermalParameters& p = request.history.thermal;
    using textformat::number;
    std::string line = "assumed: surface " + number(p.surfaceTemperatureC) + " C, base "
        + (p.base == thermal::BaseCondition::Temperature
                ? number(p.baseTemperatureC) + " C"
                : "heat flow " + number(p.baseHeatFlowMWm2) + " mW/m2")
        + " at " + number(p.baseDepthM) + " m, conductivity " + number(p.conductivityWmK)
        + " W/m/K, diffusivity " + number(p.diffusivityM2s) + " m2/s, heat production "
        + number(p.heatProductionUWm3) + " uW/m3";
    if (p.heatProductionUWm3 != 0)
        line += p.heatProductionShape == thermal::HeatProductionShape::Exponential
            ? " falling off over " + number(p.heatProductionScaleM) + " m"
            : " down to " + number(p.heatProductionDepthM) + " m";
    line += p.initial == thermal::InitialState::Steady
        ? ", steady initial state"
        : ", linear initial state of " + number(p.initialGradientCm) + " C/m";
    line += ", path start " + number(request.history.pathStartMa())
        + " Ma (the first START of --erosion), " + std::string(placement) + "; "
        + kineticsAssumed(samples.kinds);
    if (const std::string grains
        = grainDefaultsAssumed(samples.ages, samples.kinds, request.settings);
        !grains.empty())
        line += "; " + grains;
    return line + "\n";
}

std::vector<LengthSample> lengthSamples(const HistorySamples& samples)
{
    std::vector<LengthSample> lengths;
    for (const JoinedLengths& joined : samples.lengths)
        lengths.push_back(joined.lengths);
    return lengths;
}

// The lines of the lengths at a history, and their warnings: empty without lengths. The outcome
// receives the lengths against their prediction, and the predicted distributions (for
// --lengths-output).
std::string lengthsSummary(const HistoryAgeMisfit& misfit, const thermal::ErosionHistory& history,
    HistoryOutcome& outcome, std::vector<textformat::Warning>& warnings)
{
    if (misfit.lengths().empty())
        return {};
    std::vector<LengthComparison>& comparisons = outcome.lengths;
    const auto predicted = misfit.lengthPredictions(history);
    for (std::size_t k = 0; k < misfit.lengths().size(); ++k) {
        outcome.sampleLengths.push_back({ misfit.lengths()[k].measured.sample,
            predicted ? (*predicted)[k] : std::nullopt });
        const std::vector<LengthComparison> sample = compareLengths(
            predicted ? (*predicted)[k] : std::nullopt, misfit.lengths()[k].measured);
        if (sample.empty())
            warnings.push_back({ .kind = "no_tracks",
                .samples = { misfit.lengths()[k].measured.sample },
                .text = "the history leaves no track to be measured in "
                    + textformat::printable(misfit.lengths()[k].measured.sample)
                    + ", whose lengths were measured" });
        comparisons.insert(comparisons.end(), sample.begin(), sample.end());
    }
    std::string lines;
    for (const LengthComparison& comparison : comparisons)
        lines += lengthReportLine(comparison) + "\n";
    constexpr std::string_view mark = "warning: ";
    if (const std::string warning = lengthWarning(comparisons); !warning.empty())
        warnings.push_back({ .kind = "lengths_misfit",
            .text = warning.starts_with(mark) ? warning.substr(mark.size()) : warning });
    return lines;
}

// --observed without a fit: --erosion's own history against the samples, along the table's path.
void compareHistory(const AgeRequest& request, const HistorySamples& samples,
    const std::vector<bool>& counted, HistoryOutcome& outcome)
{
    const thermal::ErosionHistory& history = request.history.erosion;
    // Every sample placed and predicted; chi2 of those within the path, with the column's data.
    const HistorySamples fitted = countedSamples(samples, counted);
    const HistoryPlacement placement
        = historyPlacement(request.history, samples.ages, samples.temperatures, samples.heatFlows);
    const HistoryAgeMisfit misfit(request.history.thermal, samples.ages, samples.kinds,
        thermal::Resolution {}, placement, lengthSamples(samples), request.settings);
    if (const auto error = thermal::placedRunError(
            request.history.thermal, history, { placement.presentDepthsM, placement.lapseRateCm }))
        throw InputError(*error);
    const auto predicted = misfit.prediction(history, std::nan(""));
    if (!predicted)
        throw InputError("the history " + thermal::formatErosionHistory(history, 2, 3)
            + " cannot be compared with the samples: its path leaves the temperatures the age "
              "models take");
    HistoryPrediction countedPrediction = *predicted;
    countedPrediction.ages = countedPredictions(predicted->ages, counted);
    const HistoryPlacement fittedPlacement
        = historyPlacement(request.history, fitted.ages, samples.temperatures, samples.heatFlows);
    const HistoryAgeMisfit countedMisfit(request.history.thermal, fitted.ages, fitted.kinds,
        thermal::Resolution {}, fittedPlacement);
    const double chi2 = countedMisfit.chi2(countedPrediction);
    outcome.residuals = sampleResiduals(samples, predicted->ages, counted);
    outcome.geotherm = predicted->presentGeotherm;
    SampleReport report
        = comparisonReport(request, samples, predicted->ages, counted, history, chi2);
    outcome.summary = report.summary + presentColumnSummary(*predicted, placement, "the history")
        + lengthsSummary(misfit, history, outcome, report.warnings);
    if (const std::string note
        = reliefNote(samples.ages, placement, predicted->ages, history, "the history");
        !note.empty())
        outcome.summary += note + "\n";
    outcome.warnings = std::move(report.warnings);
}

// The sampler's settings of the request, on the fit's threads.
SamplerSettings samplerSettings(const HistoryRequest& history)
{
    SamplerSettings mcmc = history.fit.mcmc;
    mcmc.threads = history.fit.threads;
    return mcmc;
}

// The fit, or with chains the sampler's fit of the chains run already.
void fitHistoryToSamples(const AgeRequest& request, const HistorySpace& space,
    const HistorySamples& samples, const std::vector<bool>& counted, const FitProgress& progress,
    HistoryOutcome& outcome, std::vector<SampledChain>* chains = nullptr)
{
    const HistorySamples fitted = countedSamples(samples, counted);
    const HistoryPlacement placement
        = historyPlacement(request.history, fitted.ages, samples.temperatures, samples.heatFlows);
    const HistoryAgeMisfit misfit(request.history.thermal, fitted.ages, fitted.kinds,
        fitResolution, placement, lengthSamples(samples), request.settings);
    try {
        const HistoryMisfit lengthsPart = samples.lengths.empty()
            ? HistoryMisfit()
            : HistoryMisfit([&misfit](const thermal::ErosionHistory& history, const double base) {
                  return misfit.lengthsMisfit(history, base);
              });
        outcome.fit = chains
            ? mergeChains(space, samplerSettings(request.history), std::move(*chains))
            : fitHistory(space, std::cref(misfit), request.history.fit, progress, lengthsPart);
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
    // Every sample at the best history, those left out of chi2 too.
    const HistoryPlacement allPlacement
        = historyPlacement(request.history, samples.ages, samples.temperatures, samples.heatFlows);
    const auto predicted = HistoryAgeMisfit(request.history.thermal, samples.ages, samples.kinds,
        fitResolution, allPlacement)
                               .prediction(best, otherOf(fit.space, fit.best));
    if (!predicted)
        throw std::logic_error("the best history of a fit has no predictions");
    outcome.residuals = sampleResiduals(samples, predicted->ages, counted);
    outcome.geotherm = predicted->presentGeotherm;
    const HistoryRequest& history = request.history;
    SampleReport report = fitReport(request, fit, samples, predicted->ages, counted);
    outcome.summary = report.summary + fittedBaseSummary(fit, history)
        + presentColumnSummary(*predicted, allPlacement, "the best history")
        + lengthsSummary(misfit, best, outcome, report.warnings)
        + fittedBaseWarnings(fit, history);
    if (const std::string note
        = reliefNote(samples.ages, allPlacement, predicted->ages, best, "the best history");
        !note.empty())
        outcome.summary += note + "\n";
    outcome.warnings = std::move(report.warnings);
}

// Every file of the run into one group: nothing is replaced unless all could be written.
void writeFiles(const FitOptions& options, const AgeRequest& request, const HistoryOutcome& outcome,
    wholefile::ReplacementGroup& group)
{
    std::vector<RunFile> files;
    if (!request.outputFile.empty())
        files.emplace_back(
            request.outputFile, [&](std::ostream& out) { writeAgeTable(out, outcome.rows); });
    // With measured lengths, their samples' distributions at the history fitted or compared.
    if (!request.lengthsOutputFile.empty() && !outcome.sampleLengths.empty())
        files.emplace_back(request.lengthsOutputFile,
            [&](std::ostream& out) { writeSampleLengthTable(out, outcome.sampleLengths); });
    else if (!request.lengthsOutputFile.empty())
        files.emplace_back(request.lengthsOutputFile,
            [&](std::ostream& out) { writeLengthTable(out, outcome.rows); });
    if (outcome.path)
        files.emplace_back(
            options.pathOutput, [&](std::ostream& out) { writePathTable(out, *outcome.path); });
    if (!options.elevationOutput.empty())
        files.emplace_back(options.elevationOutput,
            [&](std::ostream& out) { writeElevationProfileTable(out, outcome.elevationProfile); });
    if (!options.geothermOutput.empty() && outcome.geotherm)
        files.emplace_back(options.geothermOutput,
            [&](std::ostream& out) { writeGeothermTable(out, *outcome.geotherm); });
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

std::vector<Residual> sampleResiduals(const HistorySamples& samples,
    const std::vector<thermochron::Age>& predicted, const std::vector<bool>& counted)
{
    std::vector<Residual> residuals;
    for (std::size_t i = 0; i < samples.ages.size(); ++i)
        residuals.push_back({ &samples.ages[i], samples.kinds[i].method, samples.kinds[i].kinetics,
            predicted[i].ageMa, predicted[i].reset, counted.empty() || counted[i],
            samples.kinds[i].grain });
    return residuals;
}

HistorySamples historySamples(ObservedData data, const AgeRequest& request,
    const std::string_view label, std::vector<SampleLengths> lengths,
    const std::string_view lengthsLabel)
{
    HistorySamples samples
        = historySamples(std::move(data.ages), request, label, std::move(lengths), lengthsLabel);
    samples.temperatures = std::move(data.temperatures);
    samples.heatFlows = std::move(data.heatFlows);
    return samples;
}

std::string assumedLine(const AgeRequest& request, const HistorySamples& samples)
{
    if (request.model == Model::terrain)
        return assumedLineOf(
            request, samples, "each sample where it was taken, on its own vertical path under the DEM");
    return historyAssumedLine(request.history, samples.ages, samples.kinds, request.settings) + "\n";
}

SampleReport comparisonReport(const AgeRequest& request, const HistorySamples& samples,
    const std::vector<thermochron::Age>& predicted, const std::vector<bool>& counted,
    const ErosionHistory& history, const double chi2)
{
    const HistorySamples fitted = counted.empty() ? samples : countedSamples(samples, counted);
    if (!std::isfinite(chi2))
        throw InputError("the misfit of the history " + thermal::formatErosionHistory(history, 2, 3)
            + " to the samples is not a number (chi2 " + textformat::number(chi2)
            + "): a prediction or a sigma the misfit cannot use");
    SampleReport report;
    report.summary = "chi2 " + textformat::fixed(chi2, 2) + " for the history "
        + thermal::formatErosionHistory(history, 2, 3) + " (no fit), reduced chi2 "
        + textformat::fixed(chi2
                / static_cast<double>(
                    fitted.ages.size() + samples.temperatures.size() + samples.heatFlows.size()),
            2)
        + "\n"
        + assumedLine(request, samples);
    if (auto warning = notResetWarning(fitted.ages,
            counted.empty() ? predicted : countedPredictions(predicted, counted), history,
            "the history"))
        report.warnings.push_back(std::move(*warning));
    return report;
}

SampleReport fitReport(const AgeRequest& request, const HistoryFit& fit,
    const HistorySamples& samples, const std::vector<thermochron::Age>& predicted,
    const std::vector<bool>& counted)
{
    const HistorySamples fitted = counted.empty() ? samples : countedSamples(samples, counted);
    SampleReport report;
    report.summary = historySummary(fit) + assumedLine(request, samples);
    report.warnings = historyWarnings(fit);
    if (auto warning = notResetWarning(fitted.ages,
            counted.empty() ? predicted : countedPredictions(predicted, counted),
            fit.bestHistory(), "the best history"))
        report.warnings.push_back(std::move(*warning));
    return report;
}

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

namespace {

// Per sample: whether it enters chi2, its age no older than the path (or --keep-unreset). Throws
// InputError when none does.
std::vector<bool> countedOf(const HistoryRequest& history, const HistorySamples& samples)
{
    const std::vector<bool> counted
        = agesWithinPath(samples.ages, history.pathStartMa(), history.keepUnreset);
    if (!samples.ages.empty() && std::none_of(counted.begin(), counted.end(), std::identity {}))
        throw InputError("every measured age is older than the path, which starts at "
            + textformat::number(history.pathStartMa())
            + " Ma and can only give lower bounds of them: start the path earlier (the first "
              "START of --erosion), or give --keep-unreset to fit them all the same");
    return counted;
}

// The run's last summary lines: the warning of the ages left out, then every warning's line.
void finishReport(const HistoryRequest& history, const HistorySamples& samples,
    const std::vector<bool>& counted, HistoryOutcome& outcome)
{
    if (auto warning = agesBeyondPathWarning(samples.ages, counted,
            "the path (from " + textformat::number(history.pathStartMa()) + " Ma)",
            "start the path earlier (the first START of --erosion)"))
        outcome.warnings.push_back(std::move(*warning));
    for (const textformat::Warning& warning : outcome.warnings)
        outcome.summary += warning.line() + "\n";
}

// The space of the request's fit, refused as computeHistoryRun refuses it.
HistorySpace checkedFitSpace(const HistoryRequest& history, const HistorySamples& samples)
{
    const std::vector<bool> counted = countedOf(history, samples);
    const HistorySamples fitted = countedSamples(samples, counted);
    const HistoryPlacement placement
        = historyPlacement(history, fitted.ages, samples.temperatures, samples.heatFlows);
    const HistorySpace space = history.fitSpace(fitted.ages.size() + placement.temperatures.size()
        + placement.heatFlowsMWm2.size());
    if (const std::string error = historyFitError(space, history.fit); !error.empty())
        throw InputError(error);
    checkSlowestHistory(history, placement);
    return space;
}

HistorySpace checkedSamplerSpace(const HistoryRequest& history, const HistorySamples& samples)
{
    if (history.fitPhases == 0)
        throw InputError("chains are a sampler's: add --fit-phases N");
    const HistorySpace space = checkedFitSpace(history, samples);
    if (historyEngine(space, history.fit) != HistorySampler::mcmc)
        throw InputError("chains are the ensemble sampler's: add --sampler mcmc");
    return space;
}

} // namespace

SampledChain computeHistoryChain(const AgeRequest& request, const HistorySamples& samples,
    const int chain, const FitProgress& progress)
{
    const HistorySpace space = checkedSamplerSpace(request.history, samples);
    const HistorySamples fitted = countedSamples(samples, countedOf(request.history, samples));
    const HistoryPlacement placement
        = historyPlacement(request.history, fitted.ages, samples.temperatures, samples.heatFlows);
    const HistoryAgeMisfit misfit(request.history.thermal, fitted.ages, fitted.kinds,
        fitResolution, placement, lengthSamples(samples), request.settings);
    try {
        return sampleChain(
            space, std::cref(misfit), samplerSettings(request.history), chain, progress);
    } catch (const std::invalid_argument& error) {
        throw InputError(error.what());
    }
}

HistoryOutcome mergeHistoryChains(
    const AgeRequest& request, const HistorySamples& samples, std::vector<SampledChain> chains)
{
    const HistorySpace space = checkedSamplerSpace(request.history, samples);
    const std::vector<bool> counted = countedOf(request.history, samples);
    HistoryOutcome outcome;
    fitHistoryToSamples(request, space, samples, counted, {}, outcome, &chains);
    finishReport(request.history, samples, counted, outcome);
    return outcome;
}

HistoryOutcome computeHistoryRun(const AgeRequest& request, const HistorySamples& samples,
    const HistoryWork& work, const FitProgress& progress)
{
    const HistoryRequest& history = request.history;
    const std::vector<bool> counted = countedOf(history, samples);
    std::optional<HistorySpace> space;
    if (history.fitPhases != 0)
        space = checkedFitSpace(history, samples);

    HistoryOutcome outcome;
    if (work.table)
        outcome.rows = historyAgeRows(history.thermal, history.erosion, request.settings);
    if (work.path)
        outcome.path = historySamplePath(history.thermal, history.erosion);
    if (space)
        fitHistoryToSamples(request, *space, samples, counted, progress, outcome);
    else if (!samples.ages.empty())
        compareHistory(request, samples, counted, outcome);
    if (work.geotherm && !outcome.geotherm)
        outcome.geotherm = thermal::historyRun(history.thermal, history.erosion).presentGeotherm;
    finishReport(history, samples, counted, outcome);
    return outcome;
}

void runHistoryModel(const AgeRequest& given, const FitOptions& options, std::ostream& out,
    std::ostream& err, const bool showProgress)
{
    AgeRequest request = given;
    request.history.keepUnreset = options.keepUnreset;
    // 1. Every refusal first.
    if (const auto error = fitOptionsError(request, options))
        throw InputError(*error);
    checkHistoryRequest(request);
    HistorySamples samples;
    std::vector<std::string> notes; // the reader's (the columns it ignores) and the samples'
    if (options.fits()) {
        try {
            samples = historySamples(options.observedFile.empty()
                    ? ObservedData {}
                    : readObservedData(options.observedFile, &notes),
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
        if (auto warning = sigmaAboveAgeWarning(samples.ages, options.observedFile))
            notes.push_back(std::move(*warning));
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

    if (!options.elevationOutput.empty())
        outcome.elevationProfile = outcome.fit
            ? elevationProfile(request.history, samples.ages, samples.kinds,
                  outcome.fit->bestHistory(), otherOf(outcome.fit->space, outcome.fit->best))
            : elevationProfile(request.history, samples.ages, samples.kinds,
                  request.history.erosion, std::nan(""));

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
    for (const std::string& note : notes)
        err << note << '\n';
    err << outcome.summary;
}

} // namespace ages

#include "agerun.h"

#include "replacementgroup.h"

#include "ageprediction.h"
#include "agetable.h"
#include "samplelengthtable.h"
#include "fitstage.h"
#include "historymodel.h"
#include "historyrun.h"
#include "inputerror.h"
#include "pathfile.h"
#include "pathlimits.h"
#include "progressline.h"
#include "ratefitbase.h"
#include "steadystatefit.h"
#include "sweeppredictions.h"
#include "terrainrun.h"
#include "transientpath.h"
#include "textformat.h"

#include <cstring>
#include <algorithm>
#include <filesystem>
#include <limits>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string_view>

namespace ages {

namespace {

// A model's refusal of one rate of a sweep names the sweep and the rate, since the user gave no -r.
InputError refusal(const AgeRequest& request, double rate, const std::string& message)
{
    if (!request.sweep)
        return InputError(message);
    return InputError("--rates at " + textformat::number(rate) + " mm/yr: " + message);
}

// The rates of the run: the sweep's, or the model's single -r.
std::vector<double> ratesOf(const AgeRequest& request, double modelRate)
{
    return request.sweep ? request.sweep->rates() : std::vector<double> { modelRate };
}

// The bases whose models bound those of a --fit-base grid (its first and last), or the request's
// own base (NaN) without one.
std::vector<double> gridEnds(const std::vector<double>& bases)
{
    if (bases.empty())
        return { std::numeric_limits<double>::quiet_NaN() };
    return { bases.front(), bases.back() };
}

// What one pass over the rates gives: the table's rows in the order of the rates (when the
// table is wanted) and the fit's misfits of every rate (when there is a fit).
struct RatePass {
    std::vector<AgeRow> rows;
    std::vector<std::vector<double>> misfits;
    // The samples' predictions at every rate, when --predictions asks for them: the very ages
    // the misfits were computed from.
    std::vector<std::vector<SweepAge>> predictions;
};

// What a pass computes at each rate.
struct PassWork {
    bool table = true;
    const ObservedFit* fit = nullptr;
    bool keepPredictions = false; // with a fit: keep the samples' ages of every rate
};

// The fit's misfits of one rate from the samples' predictions, which are kept when wanted.
void fitAtRate(RatePass& pass, std::size_t k, const PassWork& wanted,
    const std::vector<thermochron::Age>& predicted, const ObservedFit::LengthPredictions& lengths)
{
    pass.misfits[k] = wanted.fit->groupMisfits(predicted, lengths);
    if (wanted.keepPredictions)
        for (const thermochron::Age& age : predicted)
            pass.predictions[k].push_back({ age.ageMa, age.reset });
}

std::vector<AgeRow> joined(std::vector<std::vector<AgeRow>>& rowsOf)
{
    std::vector<AgeRow> rows;
    for (auto& rateRows : rowsOf)
        rows.insert(rows.end(), rateRows.begin(), rateRows.end());
    return rows;
}

RatePass transientPass(const AgeRequest& request, const PassWork& wanted,
    const ProgressReport& report, const unsigned threads)
{
    const std::vector<double> rates = ratesOf(request, request.transient.erosionRate);
    const double exposure = request.transient.historyTime;
    const auto atRate = [&](double rate) {
        erosion::RunParameters parameters = request.transient;
        parameters.setErosionRate(rate);
        return parameters;
    };
    const auto atRateAndBase = [&](double rate, double base) {
        erosion::RunParameters parameters = withRateFitBase(request, base).transient;
        parameters.setErosionRate(rate);
        return parameters;
    };
    // The model's refusals do not depend on the rate (every rate of a sweep is positive).
    if (const auto error = transientParameterError(atRate(rates.front()), exposure))
        throw InputError(*error);
    // The path's temperatures do: the faster the rate, the deeper and hotter the rock started;
    // with --fit-base, the steeper the gradient (the grid's ends bound its paths).
    const std::vector<double> bases = wanted.fit ? wanted.fit->bases() : std::vector<double> {};
    for (const double rate : rates) {
        for (const double base : gridEnds(bases)) {
            const SamplePath sample = transientCoolingPath(atRateAndBase(rate, base), exposure);
            if (const auto point = undatablePoint(sample.path)) {
                const bool tooHot = point->temperatureC > hottestPathC;
                throw refusal(request, rate,
                    request.sweep && tooHot
                        ? temperatureRangeMessage(*point,
                            bases.empty() ? "narrow --rates or shorten -o"
                                          : "narrow --rates or --fit-base, or shorten -o")
                        : *temperatureRangeError(sample.path));
            }
        }
    }
    // One path per rate serves the table and the fit; with --fit-base the fit takes one path
    // per rate and base.
    std::vector<std::vector<AgeRow>> rowsOf(wanted.table ? rates.size() : 0);
    RatePass pass;
    pass.misfits.resize(wanted.fit ? rates.size() * std::max<std::size_t>(1, bases.size()) : 0);
    pass.predictions.resize(wanted.keepPredictions ? rates.size() : 0);
    forEachRate(
        rates,
        [&](std::size_t k, const RateWork&) {
            const erosion::RunParameters parameters = atRate(rates[k]);
            const SamplePath path = transientCoolingPath(parameters, exposure);
            if (wanted.table) {
                rowsOf[k] = pathAgeRows(path, request.settings);
                for (AgeRow& row : rowsOf[k])
                    row.rateMmYr = rates[k];
            }
            if (wanted.fit && bases.empty())
                fitAtRate(pass, k, wanted, wanted.fit->transientPredictions(path, parameters),
                    wanted.fit->transientLengths(path, parameters));
            for (std::size_t j = 0; j < bases.size(); ++j) {
                const erosion::RunParameters at = atRateAndBase(rates[k], bases[j]);
                pass.misfits[j * rates.size() + k]
                    = wanted.fit->transientMisfits(transientCoolingPath(at, exposure), at);
            }
        },
        report, threads);
    pass.rows = joined(rowsOf);
    return pass;
}

RatePass periodicPass(const AgeRequest& request, const PassWork& wanted,
    const ProgressReport& report, const unsigned threads)
{
    const std::vector<double> rates = ratesOf(request, request.periodic.erosionRate);
    const auto atRate = [&](double rate) {
        periodic::PeriodicParameters parameters = request.periodic;
        parameters.erosionRate = rate;
        return parameters;
    };
    const auto atRateAndBase = [&](double rate, double base) {
        periodic::PeriodicParameters parameters = withRateFitBase(request, base).periodic;
        parameters.erosionRate = rate;
        return parameters;
    };
    const std::vector<double> bases = wanted.fit ? wanted.fit->bases() : std::vector<double> {};
    for (const double rate : rates)
        for (const double base : gridEnds(bases))
            if (const auto error = periodicParameterError(atRateAndBase(rate, base)))
                throw refusal(request, rate, *error);
    // One steady state per rate serves the table's profile and the samples' places; with
    // --fit-base the fit takes one per rate and base.
    std::vector<std::vector<AgeRow>> rowsOf(wanted.table ? rates.size() : 0);
    RatePass pass;
    pass.misfits.resize(wanted.fit ? rates.size() * std::max<std::size_t>(1, bases.size()) : 0);
    pass.predictions.resize(wanted.keepPredictions ? rates.size() : 0);
    forEachRate(
        rates,
        [&](std::size_t k, const RateWork& work) {
            if (wanted.table || bases.empty()) {
                const periodic::PeriodicParameters parameters = atRate(rates[k]);
                const periodic::PeriodicSteadyState model = fittedSteadyState(parameters);
                if (wanted.table)
                    rowsOf[k] = periodicAgeRows(model, parameters, request.settings, work);
                if (wanted.fit && bases.empty())
                    fitAtRate(pass, k, wanted, wanted.fit->periodicPredictions(model, parameters),
                        wanted.fit->periodicLengths(model, parameters));
            }
            for (std::size_t j = 0; j < bases.size(); ++j) {
                const periodic::PeriodicParameters parameters = atRateAndBase(rates[k], bases[j]);
                pass.misfits[j * rates.size() + k]
                    = wanted.fit->periodicMisfits(fittedSteadyState(parameters), parameters);
            }
        },
        report, threads);
    pass.rows = joined(rowsOf);
    return pass;
}

// The rows and misfits the request and the fit ask for, in one pass over the rates.
RatePass ratePass(const AgeRequest& request, const PassWork& wanted, const ProgressReport& report,
    const unsigned threads = defaultThreadCount())
{
    if (const auto error = settingsError(request.settings))
        throw InputError(*error);
    switch (request.model) {
    case Model::transient:
        return transientPass(request, wanted, report, threads);
    case Model::periodic:
        return periodicPass(request, wanted, report, threads);
    case Model::history:
    case Model::path:
    case Model::terrain:
        break;
    }
    // One path, no rates: the history's fit is its own (historyrun.h).
    RatePass pass;
    if (wanted.table)
        pass.rows = request.model == Model::history
            ? historyAgeRows(request.history.thermal, request.history.erosion, request.settings)
            : pathAgeRows(readCoolingPathFile(request.pathFile), request.settings);
    return pass;
}

// An output file in a directory that does not exist, or that names a directory, would only fail
// once every age is computed; say so first.
void checkOutputFile(const std::string& file)
{
    if (file.empty())
        return;
    const std::filesystem::path path(file);
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw InputError("--output " + file + " is a directory");
    const std::filesystem::path parent
        = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    if (!std::filesystem::is_directory(parent, error))
        throw InputError(
            "--output " + file + ": no directory " + parent.string() + " to write it in");
}

} // namespace

std::vector<AgeRow> requestedAgeRows(const AgeRequest& request, const ProgressReport& report)
{
    return ratePass(request, {}, report).rows;
}

FitResult requestedFit(const AgeRequest& request, const ObservedFit& fit,
    const ProgressReport& report, const unsigned threads)
{
    return fit.fitMisfits(fit.rates(), ratePass(request, { false, &fit }, report, threads).misfits);
}

void runRequest(const AgeRequest& request, const FitOptions& fitOptions, std::ostream& out,
    std::ostream& err, const bool showProgress)
{
    checkOutputFile(request.outputFile);
    if (request.model == Model::history) {
        runHistoryModel(request, fitOptions, out, err, showProgress);
        return;
    }
    if (request.model == Model::terrain) {
        runTerrainRequest(request, fitOptions, out, err, showProgress);
        return;
    }
    // A path file is read once before any work, so that its refusal comes first and its
    // warnings (kelvin under a Celsius name) follow the table.
    std::vector<std::string> pathWarnings;
    if (request.model == Model::path) {
        if (const auto error = settingsError(request.settings))
            throw InputError(*error);
        readCoolingPathFile(request.pathFile, &pathWarnings);
    }
    const FitStage fit(request, fitOptions); // measured ages read and checked before any work
    // A fit of measured lengths writes the lengths of its samples at the best rate instead of
    // those of the table's rows.
    const bool sampleLengths = fit.observedFit() && !fit.observedFit()->lengths().empty();
    const PassWork wanted { !request.outputFile.empty()
            || (!request.lengthsOutputFile.empty() && !sampleLengths) || !fit.observedFit(),
        fit.observedFit(),
        // With --fit-base the pass runs over a grid of bases, and the ages along the sweep are
        // those at the best base, computed once it is known.
        fit.observedFit() && !fitOptions.predictionsOutput.empty()
            && fit.observedFit()->bases().empty() };
    RatePass pass;
    {
        // Erased (by its destructor) before the table or a message is written.
        erosion::ProgressLine progress = showProgress
            ? erosion::ProgressLine(err,
                wanted.table ? "cooling_ages: predicting ages" : "cooling_ages: fitting the rate")
            : erosion::ProgressLine();
        std::mutex progressLock;
        pass = ratePass(request, wanted, [&](double fraction) {
            const std::lock_guard lock(progressLock);
            progress.update(fraction);
        });
    }
    fit.toFieldElevations(pass.rows);
    const FitStageResult fitted = fit.compute(pass.misfits);
    // The table and the fit's files as one group: a file that cannot be written leaves every
    // earlier file of the run as it was.
    std::vector<FitFile> files;
    if (wanted.table && !request.outputFile.empty())
        files.push_back({ request.outputFile,
            [&pass](std::ostream& stream) { writeAgeTable(stream, pass.rows); } });
    std::vector<SampleLengthPrediction> bestLengths;
    if (!request.lengthsOutputFile.empty() && sampleLengths && fitted.fit) {
        const auto predicted = fit.observedFit()->lengthsAt(fitted.fit->fit.bestRate);
        const auto& measured = fit.observedFit()->lengths();
        for (std::size_t k = 0; k < measured.size(); ++k)
            bestLengths.push_back({ measured[k].lengths.measured.sample, predicted[k] });
        files.push_back({ request.lengthsOutputFile, [&bestLengths](std::ostream& stream) {
                             writeSampleLengthTable(stream, bestLengths);
                         } });
    } else if (!request.lengthsOutputFile.empty()) {
        files.push_back({ request.lengthsOutputFile,
            [&pass](std::ostream& stream) { writeLengthTable(stream, pass.rows); } });
    }
    for (FitFile& file : fit.files(fitted))
        files.push_back(std::move(file));
    const SweepPredictions sweep = !fitOptions.predictionsOutput.empty() && fitted.fit
        ? fitSweepPredictions(*fit.observedFit(), *fitted.fit, request.model == Model::periodic,
              std::move(pass.predictions))
        : SweepPredictions {};
    if (!sweep.ages.empty())
        files.push_back({ fitOptions.predictionsOutput, [&sweep, &fitted](std::ostream& stream) {
                             writeSweepPredictionTable(stream, sweep, fitted.fit->residuals,
                                 fitted.fit->fit.bestRate);
                         } });
    wholefile::ReplacementGroup group;
    for (const FitFile& file : files) // what a killed run of any program left beside them
        wholefile::removeAbandonedTemporaries(file.path);
    for (const FitFile& file : files)
        if (const auto failure = group.write(file.path, file.write))
            throw InputError("cannot write " + file.path + ": " + std::strerror(failure->error));
    if (request.outputFile.empty() && !fit.observedFit()) { // a fit reports on err alone
        writeAgeTable(out, pass.rows);
        out.flush();
        if (!out)
            throw InputError("cannot write the table to standard output");
    }
    if (const auto failure = group.commit())
        throw InputError("cannot write " + failure->path + ": " + std::strerror(failure->error));
    fit.report(fitted, err);
    for (const std::string& warning : pathWarnings)
        err << warning << '\n';
}

} // namespace ages

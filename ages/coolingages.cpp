#include "coolingages.h"

#include "agetable.h"
#include "fitstage.h"
#include "historymodel.h"
#include "historyrun.h"
#include "inputerror.h"
#include "parallelfor.h"
#include "pathfile.h"
#include "pathlimits.h"
#include "progressline.h"
#include "transientpath.h"

#include <filesystem>
#include <mutex>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string_view>

namespace ages {

namespace {

// A model's refusal of one rate of a sweep names the sweep and the rate, since the user gave no -r.
InputError refusal(const AgeRequest& request, double rate, const std::string& message)
{
    if (!request.sweep)
        return InputError(message);
    std::ostringstream text;
    text << "--rates at " << rate << " mm/yr: " << message;
    return InputError(text.str());
}

// The rates of the run: the sweep's, or the model's single -r.
std::vector<double> ratesOf(const AgeRequest& request, double modelRate)
{
    return request.sweep ? request.sweep->rates() : std::vector<double> { modelRate };
}

std::vector<AgeRow> transientRows(const AgeRequest& request, const ProgressReport& report)
{
    const std::vector<double> rates = ratesOf(request, request.transient.erosionRate);
    const double exposure = request.transient.historyTime;
    const auto atRate = [&](double rate) {
        erosion::RunParameters parameters = request.transient;
        parameters.setErosionRate(rate);
        return parameters;
    };
    // The model's refusals do not depend on the rate (every rate of a sweep is positive).
    if (const auto error = transientParameterError(atRate(rates.front()), exposure))
        throw InputError(*error);
    // The path's temperatures do: the faster the rate, the deeper and hotter the rock started.
    for (const double rate : rates) {
        const SamplePath sample = transientCoolingPath(atRate(rate), exposure);
        if (const auto point = undatablePoint(sample.path)) {
            const bool tooHot = point->temperatureC > hottestPathC;
            throw refusal(request, rate,
                request.sweep && tooHot
                    ? temperatureRangeMessage(*point, "narrow --rates or shorten -o")
                    : *temperatureRangeError(sample.path));
        }
    }
    return sweepAgeRows(
        rates,
        [&](double rate, const RateWork&) {
            return transientAgeRows(atRate(rate), exposure, request.settings);
        },
        report);
}

std::vector<AgeRow> periodicRows(const AgeRequest& request, const ProgressReport& report)
{
    const std::vector<double> rates = ratesOf(request, request.periodic.erosionRate);
    const auto atRate = [&](double rate) {
        periodic::PeriodicParameters parameters = request.periodic;
        parameters.erosionRate = rate;
        return parameters;
    };
    for (const double rate : rates)
        if (const auto error = periodicParameterError(atRate(rate)))
            throw refusal(request, rate, *error);
    return sweepAgeRows(
        rates,
        [&](double rate, const RateWork& work) {
            return periodicAgeRows(atRate(rate), request.settings, work);
        },
        report);
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

// The run once the command line is read: every refusal first, then the ages, the fit and the
// files. Throws InputError for what the user can mend.
void predictAndWrite(const AgeRequest& request, const FitOptions& fitOptions, std::ostream& out,
    std::ostream& err, const bool showProgress)
{
    checkOutputFile(request.outputFile);
    if (request.model == Model::history) {
        runHistoryModel(request, fitOptions, out, err, showProgress);
        return;
    }
    const FitStage fit(request, fitOptions); // measured ages read and checked before any work
    std::vector<AgeRow> rows;
    {
        // Erased (by its destructor) before the table or a message is written.
        erosion::ProgressLine progress = showProgress
            ? erosion::ProgressLine(err, "cooling_ages: predicting ages")
            : erosion::ProgressLine();
        std::mutex progressLock;
        rows = requestedAgeRows(request, [&](double fraction) {
            const std::lock_guard lock(progressLock);
            progress.update(fraction);
        });
    }
    fit.toFieldElevations(rows);
    const FitStageResult fitted = fit.compute(err, showProgress);
    if (request.outputFile.empty()) {
        writeAgeTable(out, rows);
        out.flush();
        if (!out)
            throw InputError("cannot write the table to standard output");
    } else {
        writeAgeTableFile(request.outputFile, rows);
    }
    fit.write(fitted, err);
}

// The one place the program's refusals reach standard error: every message is composed without
// the "ERROR: " that starts its line here.
int refuse(std::ostream& err, const std::string_view message)
{
    err << "ERROR: " << message << '\n';
    return 1;
}

} // namespace

std::vector<AgeRow> requestedAgeRows(const AgeRequest& request, const ProgressReport& report)
{
    if (const auto error = settingsError(request.settings))
        throw InputError(*error);
    switch (request.model) {
    case Model::transient:
        return transientRows(request, report);
    case Model::periodic:
        return periodicRows(request, report);
    case Model::history:
        return historyAgeRows(request.history.thermal, request.history.erosion, request.settings);
    case Model::path:
        break;
    }
    return pathAgeRows(readCoolingPathFile(request.pathFile), request.settings);
}

int coolingAgesMain(const int argc, const char* const argv[], std::ostream& out, std::ostream& err,
    const bool showProgress)
{
    AgeCommandLine line;
    FitOptions fitOptions;
    addFitOptions(line, fitOptions);
    try {
        if (line.parse(argc, argv, out) == AgeCommandLine::Outcome::finish)
            return 0;
        predictAndWrite(line.request(), fitOptions, out, err, showProgress);
    } catch (const InputError& error) {
        return refuse(err, error.what());
    } catch (const std::invalid_argument& error) {
        // An age model's own refusal of a path or grain that the checks let through.
        return refuse(err, error.what());
    } catch (const std::bad_alloc&) {
        return refuse(err, "Heap Allocation Error");
    }
    return 0;
}

} // namespace ages

#include "ageprediction.h"

#include "inputerror.h"
#include "parallelfor.h"
#include "parametercheck.h"
#include "pathlimits.h"
#include "periodicpaths.h"
#include "profile.h"
#include "steadystatefit.h"
#include "transientpath.h"

#include "thermochron/predict.h"
#include "textformat.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <stdexcept>

namespace ages {

namespace {

// Paths reach back at most to the formation of the Earth.
std::optional<std::string> longestPathError(double durationMyr)
{
    if (durationMyr <= oldestPathMa)
        return std::nullopt;
    return "-o " + textformat::number(durationMyr)
        + " Myr: a cooling path cannot be longer than the age of the Earth ("
        + textformat::number(oldestPathMa) + " Myr)";
}

} // namespace

std::vector<AgeRow> pathAgeRows(const SamplePath& sample, const AgeSettings& settings)
{
    if (const auto error = temperatureRangeError(sample.path))
        throw InputError(*error);
    std::vector<AgeRow> rows;
    for (const thermochron::System system : settings.systems) {
        const thermochron::Grain grain = settings.grainFor(system);
        for (const thermochron::Method method : settings.methodsFor(system)) {
            AgeRow row;
            row.system = system;
            row.method = method;
            row.age
                = thermochron::predictAge(sample.path, system, method, grain, settings.kinetics);
            row.closureDepthM = sample.depthAt(row.age.ageMa);
            if (system == thermochron::System::AFT && method == thermochron::Method::Annealing)
                row.lengths = predictedLengths(sample.path, grain, settings);
            rows.push_back(row);
        }
    }
    return rows;
}

thermochron::TrackLengths apatiteLengths(const thermochron::CoolingPath& path,
    const thermochron::Grain& grain, const AgeSettings& settings)
{
    return thermochron::apatiteTrackLengths(
        path, grain, { .californiumIrradiated = settings.californiumIrradiated });
}

PredictedLengths predictedLengths(const thermochron::CoolingPath& path,
    const thermochron::Grain& grain, const AgeSettings& settings)
{
    PredictedLengths predicted;
    std::optional<thermochron::TrackLengths> lengths;
    try {
        lengths = apatiteLengths(path, grain, settings);
    } catch (const std::invalid_argument&) {
        return predicted; // every track erased: no length to predict (the age says 0)
    }
    predicted.projectedMeanUm = lengths->projected.meanUm();
    predicted.projectedSdUm = lengths->projected.sdUm();
    predicted.unprojectedMeanUm = lengths->unprojected.meanUm();
    predicted.unprojectedSdUm = lengths->unprojected.sdUm();
    if (settings.keepLengthBins) {
        const auto& projected = lengths->projected.bins();
        const auto& unprojected = lengths->unprojected.bins();
        predicted.projectedBins.assign(projected.begin(), projected.end());
        predicted.unprojectedBins.assign(unprojected.begin(), unprojected.end());
    }
    return predicted;
}

std::optional<std::string> transientParameterError(
    const erosion::RunParameters& parameters, const double exposureMyr)
{
    if (auto error = erosion::checkParameters(parameters))
        return error;
    // The path is the closed form's, evaluated on the half-space: no grid, and no time axis of
    // whole Myr, limits the exposure. What the closed form needs of the time is the solver's
    // to say; what a dated rock needs is ours.
    if (!(exposureMyr > 0))
        return std::string("-o exposure time must be greater than 0 million years: the "
                           "rock needs a cooling path to be dated");
    if (auto error = erosion::exposureTimeError(parameters, exposureMyr))
        return error;
    return longestPathError(exposureMyr);
}

std::vector<AgeRow> transientAgeRows(
    const erosion::RunParameters& parameters, const double exposureMyr, const AgeSettings& settings)
{
    std::vector<AgeRow> rows = pathAgeRows(transientCoolingPath(parameters, exposureMyr), settings);
    for (AgeRow& row : rows)
        row.rateMmYr = parameters.erosionRate;
    return rows;
}

std::optional<std::string> periodicParameterError(const periodic::PeriodicParameters& parameters)
{
    if (auto error = periodic::parameterError(parameters))
        return error;
    return longestPathError(parameters.historyDuration);
}

std::vector<AgeRow> periodicAgeRows(const periodic::PeriodicParameters& parameters,
    const AgeSettings& settings, const RateWork& work)
{
    return periodicAgeRows(fittedSteadyState(parameters), parameters, settings, work);
}

std::vector<AgeRow> periodicAgeRows(const periodic::PeriodicSteadyState& model,
    const periodic::PeriodicParameters& parameters, const AgeSettings& settings,
    const RateWork& work)
{
    const std::vector<periodic::ProfilePoint> points = periodic::profilePoints(model, parameters);
    // The profile is symmetric about the ridge at x = 0: the rock at -x has the path of +x. Each
    // point left of the ridge whose mirror image is on the profile takes the mirror's ages.
    std::vector<std::size_t> source(points.size());
    std::vector<std::size_t> computed;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto mirror = std::lower_bound(points.begin(), points.end(), -points[i].xM,
            [](const periodic::ProfilePoint& point, double x) { return point.xM < x; });
        const bool mirrored
            = points[i].xM < 0 && mirror != points.end() && mirror->xM == -points[i].xM;
        source[i] = mirrored ? static_cast<std::size_t>(mirror - points.begin()) : i;
        if (!mirrored)
            computed.push_back(i);
    }
    std::vector<std::vector<AgeRow>> rowsAt(points.size());
    std::atomic<std::size_t> done { 0 };
    parallelFor(computed.size(), work.threads, [&](std::size_t k) {
        const std::size_t i = computed[k];
        rowsAt[i] = pathAgeRows(
            periodicCoolingPath(model, std::abs(points[i].xM), parameters.historyDuration),
            settings);
        if (work.report)
            work.report(static_cast<double>(++done) / computed.size());
    });
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (source[i] != i)
            rowsAt[i] = rowsAt[source[i]];
        for (AgeRow& row : rowsAt[i]) {
            row.rateMmYr = parameters.erosionRate;
            row.xM = points[i].xM;
            row.elevationM = points[i].elevationM;
            row.site = points[i].site;
        }
    }

    std::vector<AgeRow> rows;
    for (auto& pointRows : rowsAt)
        rows.insert(rows.end(), pointRows.begin(), pointRows.end());
    return rows;
}

void forEachRate(const std::vector<double>& rates, const RateTask& atRate,
    const ProgressReport& report, const unsigned threads)
{
    if (rates.size() == 1) {
        atRate(0, { threads, report });
        return;
    }
    std::atomic<std::size_t> done { 0 };
    parallelFor(rates.size(), threads, [&](std::size_t k) {
        atRate(k, {});
        if (report)
            report(static_cast<double>(++done) / rates.size());
    });
}

std::vector<AgeRow> sweepAgeRows(
    const std::vector<double>& rates, const RateRows& rowsAt, const ProgressReport& report)
{
    std::vector<std::vector<AgeRow>> rowsOf(rates.size());
    forEachRate(
        rates, [&](std::size_t k, const RateWork& work) { rowsOf[k] = rowsAt(rates[k], work); },
        report);

    std::vector<AgeRow> rows;
    for (auto& rateRows : rowsOf)
        rows.insert(rows.end(), rateRows.begin(), rateRows.end());
    return rows;
}

} // namespace ages

#include "terrainrun.h"

#include "ageprediction.h"
#include "agetable.h"
#include "historyfiles.h"
#include "historymisfit.h"
#include "historyplacement.h"
#include "inputerror.h"
#include "parallelfor.h"
#include "pathlimits.h"

#include "agemapwriter.h"
#include "fieldwriter.h"
#include "progressline.h"
#include "replacementgroup.h"
#include "textformat.h"
#include "thermochron/predict.h"

#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace ages {

namespace {

constexpr const char* elevationBandName = "elevation_m";
constexpr std::string_view runPart = "running the terrain model";
constexpr std::string_view fitPart = "fitting the erosion history";

// The fit cannot find a history when even the slowest one cannot be run (a rock that would
// start below the base): say so before the work, naming the bound to move.
void checkSlowestHistory(const AgeRequest& request, const TerrainSetup& setup)
{
    const HistoryRequest& history = request.history;
    const thermal::ErosionHistory slowest { { history.pathStartMa(), history.ratesMmYr.low } };
    if (const auto error
        = terrain::runError(setup.dem, setup.parameters, slowest, setup.placed.points))
        throw InputError("--rates " + textformat::number(history.ratesMmYr.low) + ":"
            + textformat::number(history.ratesMmYr.high)
            + ": the slowest history the fit would try ("
            + thermal::formatErosionHistory(slowest, 2, 3) + ") cannot be run: " + *error);
}

// The table: the ages along each sample's path, located.
std::vector<AgeRow> sampleRows(
    const AgeRequest& request, const TerrainSetup& setup, const terrain::TerrainRun& run)
{
    std::vector<AgeRow> rows;
    const double rate = request.history.erosion.back().rateMmYr;
    for (std::size_t p = 0; p < setup.placed.points.size(); ++p) {
        const terrain::SamplePoint& point = setup.placed.points[p];
        std::vector<AgeRow> sampleRows;
        try {
            sampleRows = pathAgeRows(samplePathOf(run.samplePaths[p]), request.settings);
        } catch (const InputError& error) {
            throw InputError(
                "sample " + textformat::quoted(setup.placed.names[p]) + ": " + error.what());
        }
        for (AgeRow& row : sampleRows) {
            row.rateMmYr = rate;
            row.xM = point.xM;
            row.yM = point.yM;
            row.elevationM = point.elevationM;
            row.sample = setup.placed.names[p];
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

// The method of a system's band: the kinetic one unless the options leave it out.
std::optional<thermochron::Method> bandMethod(
    const AgeSettings& settings, const thermochron::System system)
{
    const std::vector<thermochron::Method> methods = settings.methodsFor(system);
    if (methods.empty())
        return std::nullopt;
    return methods.back(); // Dodson first, the kinetic method after it
}

void mapAges(const AgeRequest& request, const terrain::TerrainRun& run, TerrainOutcome& outcome)
{
    struct Band {
        thermochron::System system;
        thermochron::Method method;
        thermochron::Grain grain;
    };
    std::vector<Band> bands;
    for (const thermochron::System system : request.settings.systems)
        if (const auto method = bandMethod(request.settings, system)) {
            bands.push_back({ system, *method, request.settings.grainFor(system) });
            outcome.bandNames.emplace_back(thermochron::systemName(system));
        }
    outcome.ageMap.assign(bands.size(), std::vector<double>(run.surfacePaths.size()));
    parallelFor(run.surfacePaths.size(), defaultThreadCount(), [&](const std::size_t node) {
        const thermochron::CoolingPath& path = run.surfacePaths[node].cooling;
        if (undatablePoint(path)) {
            for (std::vector<double>& band : outcome.ageMap)
                band[node] = std::nan("");
            return;
        }
        for (std::size_t b = 0; b < bands.size(); ++b)
            outcome.ageMap[b][node] = thermochron::predictAge(
                path, bands[b].system, bands[b].method, bands[b].grain, request.settings.kinetics)
                                          .ageMa;
    });
}

// --observed without a fit: --erosion's own history against the samples, on the table's run.
void compareHistory(const AgeRequest& request, const TerrainSetup& setup,
    const TerrainAgeMisfit& misfit, const terrain::TerrainRun& run, TerrainOutcome& outcome)
{
    const thermal::ErosionHistory& history = request.history.erosion;
    const auto predicted = misfit.predictions(run);
    if (!predicted)
        throw InputError("the history " + thermal::formatErosionHistory(history, 2, 3)
            + " cannot be compared with the samples: a path leaves the temperatures the age "
              "models take");
    outcome.residuals = sampleResiduals(setup.samples, *predicted);
    SampleReport report = comparisonReport(
        request, setup.samples, *predicted, {}, history, misfit.chi2(*predicted));
    outcome.summary += report.summary;
    outcome.warnings = std::move(report.warnings);
}

// The history's fit settings with the terrain model's few bases.
HistoryFitSettings terrainFitSettings(const HistoryRequest& history)
{
    HistoryFitSettings settings = history.fit;
    settings.otherCount = terrainFitBaseCount;
    settings.grid.otherCount = terrainFitBaseCount;
    return settings;
}

void fitHistoryToSamples(const AgeRequest& request, const TerrainSetup& setup,
    const HistorySpace& space, const TerrainAgeMisfit& misfit, const TerrainProgress& progress,
    TerrainOutcome& outcome)
{
    try {
        outcome.fit = fitHistory(space, std::cref(misfit), terrainFitSettings(request.history),
            [&](const double fraction) {
                if (progress)
                    progress(fitPart, fraction);
            });
    } catch (const std::system_error&) {
        throw; // the system's own failure (threads), not the fit's
    } catch (const std::runtime_error& error) {
        throw InputError(std::string(error.what())
            + ": narrow --rates towards its slowest rates, or deepen the model (-z)");
    }
    const HistoryFit& fit = *outcome.fit;
    const thermal::ErosionHistory best = fit.bestHistory();
    const auto predicted = misfit.predictions(best, otherOf(fit.space, fit.best));
    if (!predicted)
        throw std::logic_error("the best history of a fit has no predictions");
    outcome.residuals = sampleResiduals(setup.samples, *predicted);
    SampleReport report = fitReport(request, fit, setup.samples, *predicted);
    outcome.summary += report.summary + fittedBaseSummary(fit, request.history)
        + fittedBaseWarnings(fit, request.history);
    outcome.warnings = std::move(report.warnings);
}

// What a writer that takes a path (GDAL's, the field's) puts in a file, as bytes: written to a
// scratch file of this process and read back, so that the result joins the run's files replaced
// together (replacementgroup.h). The scratch file keeps the extension, which GDAL may read.
std::string bytesWrittenBy(
    const std::string& extension, const std::function<void(const std::string& path)>& write)
{
    static std::atomic<int> count { 0 };
    const std::filesystem::path scratch = std::filesystem::temp_directory_path()
        / ("cooling_ages-" + std::to_string(::getpid()) + "-" + std::to_string(count++)
            + extension);
    struct Removal {
        std::filesystem::path path;
        ~Removal()
        {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    } removal { scratch };
    write(scratch.string());
    std::ifstream in(scratch, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in)
        throw std::runtime_error("cannot read back " + scratch.string());
    return bytes.str();
}

void writeFiles(const FitOptions& options, const AgeRequest& request, const TerrainSetup& setup,
    const TerrainOutcome& outcome, wholefile::ReplacementGroup& group)
{
    std::vector<RunFile> files;
    if (!request.outputFile.empty())
        files.emplace_back(request.outputFile,
            [&](std::ostream& out) { writeAgeTable(out, outcome.rows, terrainAgeTableColumns()); });
    appendFitFiles(options, outcome.residuals, outcome.fit, files);
    const TerrainRequest& terrainRequest = request.terrain;
    try {
        if (!terrainRequest.ageMapFile.empty()) {
            // The model's DEM as the last band, so that the file alone makes a map (plot_ages
            // map shades its relief under the ages).
            std::vector<std::string> names = outcome.bandNames;
            std::vector<std::vector<double>> bands = outcome.ageMap;
            names.emplace_back(elevationBandName);
            bands.push_back(setup.dem.heights);
            const std::string bytes = bytesWrittenBy(".tif", [&](const std::string& path) {
                terrain::writeAgeMap(path, setup.dem, names, bands);
            });
            files.emplace_back(
                terrainRequest.ageMapFile, [bytes](std::ostream& out) { out << bytes; });
        }
        if (!terrainRequest.fieldFile.empty()) {
            const std::string bytes = bytesWrittenBy(".vts", [&](const std::string& path) {
                terrain::writeTemperatureField(path, *outcome.grid, outcome.temperatureC);
            });
            files.emplace_back(
                terrainRequest.fieldFile, [bytes](std::ostream& out) { out << bytes; });
        }
    } catch (const std::runtime_error& error) {
        throw InputError(error.what());
    }
    writeRunFiles(files, group);
}

} // namespace

TerrainSetup prepareTerrainRun(const AgeRequest& request, std::vector<ObservedAge> ages,
    const std::string_view label, const TerrainWork& /*work*/)
{
    TerrainSetup setup = prepareTerrainModel(request);
    placeTerrainRunSamples(request, std::move(ages), label, setup);
    return setup;
}

TerrainSetup prepareTerrainModel(const AgeRequest& request)
{
    if (const auto error = settingsError(request.settings))
        throw InputError(*error);
    const HistoryRequest& history = request.history;
    if (const auto error = thermal::historyError(history.erosion))
        throw InputError(*error);
    TerrainSetup setup;
    setup.parameters = terrainParameters(request.terrain, history.thermal);
    // The values that need no DEM first, so that a typo is not hidden behind a slow read.
    if (const auto error = terrain::reliefError(setup.parameters.relief))
        throw InputError("--relief: " + *error);
    setup.dem = readTerrainDem(request.terrain);
    setup.parameters.upliftFactors = readUpliftMap(request.terrain, setup.dem);
    if (const auto error = terrain::parameterError(setup.parameters, setup.dem))
        throw InputError(*error);
    return setup;
}

void placeTerrainRunSamples(const AgeRequest& request, std::vector<ObservedAge> ages,
    const std::string_view label, TerrainSetup& setup)
{
    const HistoryRequest& history = request.history;
    setup.samples = historySamples(std::move(ages), request, label);
    setup.placed = placeTerrainSamples(setup.samples.ages, setup.dem, label);
    if (const auto error
        = terrain::runError(setup.dem, setup.parameters, history.erosion, setup.placed.points))
        throw InputError(*error);
}

TerrainOutcome computeTerrainRun(const AgeRequest& request, const TerrainSetup& setup,
    const TerrainWork& work, const TerrainProgress& progress)
{
    const HistoryRequest& history = request.history;
    std::optional<HistorySpace> space;
    if (history.fitPhases != 0) {
        space = history.fitSpace(setup.samples.ages.size());
        if (const std::string error = historyFitError(*space, terrainFitSettings(history));
            !error.empty())
            throw InputError(error);
        checkSlowestHistory(request, setup);
    }
    const bool compares = !space && !setup.samples.ages.empty();
    TerrainOutcome outcome;
    const TerrainAgeMisfit misfit(
        setup.dem, setup.parameters, setup.placed, setup.samples.ages, setup.samples.kinds);

    if (work.table || work.ageMap || work.field || compares) {
        const terrain::TerrainRun run = terrain::runTerrainModel(setup.dem, setup.parameters,
            history.erosion, setup.placed.points, work.ageMap, [&](const double fraction) {
                if (progress)
                    progress(runPart, fraction);
            });
        if (work.table)
            outcome.rows = sampleRows(request, setup, run);
        if (work.ageMap)
            mapAges(request, run, outcome);
        if (work.field) {
            outcome.grid = run.presentGrid;
            outcome.temperatureC = run.presentTemperatureC;
        }
        if (compares)
            compareHistory(request, setup, misfit, run, outcome);
    }
    if (space)
        fitHistoryToSamples(request, setup, *space, misfit, progress, outcome);
    for (const textformat::Warning& warning : outcome.warnings)
        outcome.summary += warning.line() + "\n";
    return outcome;
}

void runTerrainRequest(const AgeRequest& request, const FitOptions& options, std::ostream& out,
    std::ostream& err, const bool showProgress)
{
    // 1. Every refusal first.
    if (const auto error = fitOptionsError(request, options))
        throw InputError(*error);
    const TerrainRequest& terrainRequest = request.terrain;
    if (!options.fits() && terrainRequest.ageMapFile.empty() && terrainRequest.fieldFile.empty())
        throw InputError("the terrain model has nothing to compute: give the samples "
                         "(--observed FILE), an age map (--age-map FILE.tif) or the field "
                         "(--field FILE.vts)");
    std::vector<ObservedAge> ages;
    if (options.fits()) {
        try {
            ages = readObservedAges(options.observedFile);
        } catch (const ObservedAgesError& error) {
            throw InputError(error.what());
        }
    }
    const TerrainWork work { .table = true,
        .ageMap = !terrainRequest.ageMapFile.empty(),
        .field = !terrainRequest.fieldFile.empty() };
    const TerrainSetup setup
        = prepareTerrainRun(request, std::move(ages), options.observedFile, work);

    // 2. The work, a progress line for each part.
    TerrainOutcome outcome;
    {
        std::optional<erosion::ProgressLine> line;
        std::string shown;
        outcome = computeTerrainRun(
            request, setup, work, [&](const std::string_view part, const double fraction) {
                if (!showProgress)
                    return;
                if (!line || shown != part) {
                    line.reset(); // erases the last part's line
                    shown = part;
                    line.emplace(err, "cooling_ages: " + shown);
                }
                line->update(fraction);
            });
    }

    // 3. The files together, the table, the summary.
    wholefile::ReplacementGroup group;
    writeFiles(options, request, setup, outcome, group);
    if (request.outputFile.empty()) {
        writeAgeTable(out, outcome.rows, terrainAgeTableColumns());
        out.flush();
        if (!out)
            throw InputError("cannot write the table to standard output");
    }
    if (const auto failure = group.commit())
        throw InputError("cannot write " + failure->path + ": " + std::strerror(failure->error));
    err << outcome.summary;
}

} // namespace ages

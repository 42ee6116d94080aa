// terrain_ages and fit_history_terrain: the 3D thermal model under a DEM, as `cooling_ages
// terrain` runs it (terrainrun.h): the request built as a plain value, the program's steps called
// directly (no file is written), and the results converted: the table of the samples' ages, their
// chi2 and residuals, the age map as arrays, and the fit of a history with this forward model.

#include "argumenthelp.h"
#include "arrays.h"
#include "bindings.h"
#include "grainkeywords.h"
#include "helptext.h"
#include "historyfitanswer.h"
#include "historyinput.h"
#include "interruption.h"
#include "settingsinput.h"
#include "tables.h"
#include "usertext.h"

#include "agerequest.h"
#include "agetable.h"
#include "batchfit.h"
#include "fittables.h"
#include "inputerror.h"
#include "observedages.h"
#include "terrainrun.h"
#include "thermalparametertable.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <optional>
#include <sstream>

namespace erosion_python {

namespace {

const terrain::TerrainParameters terrainDefaults;

// The keywords of the 3D model and of its column, as both terrain functions take them: the DEM's
// uplift map, relief history and grid, then the thermal parameters of the column's table (the
// terrain model starts from its steady state: no initial state).
auto terrainModelKeywords()
{
    using thermal::thermalParameter;
    return std::make_tuple(py::arg("uplift_map") = py::none(), py::arg("relief") = py::none(),
        py::arg("resample_m") = 0.0, py::arg("lapse_rate_c_km") = terrainDefaults.lapseRateCkm,
        py::arg("levels") = terrainDefaults.levels,
        py::arg("level_ratio") = terrainDefaults.levelSpacingRatio,
        py::arg("time_step_myr") = terrainDefaults.timeStepMyr, keyword(thermalParameter("-T")),
        keyword(thermalParameter("-z")), optionalKeyword(thermalParameter("-b")),
        optionalKeyword(thermalParameter("-q")), keyword(thermalParameter("-k")),
        keyword(thermalParameter("-a")), keyword(thermalParameter("-H")),
        optionalKeyword(thermalParameter("--hr")), optionalKeyword(thermalParameter("--h-depth")));
}

// The arguments of the model beyond the history's: the DEM and its grid, the relief history.
struct TerrainArguments {
    std::string dem;
    std::optional<std::string> upliftMap;
    std::optional<std::string> relief;
    double resampleM;
    double lapseRateCkm;
    int levels;
    double levelRatio;
    double timeStepMyr;
};

ages::AgeRequest terrainRequest(const py::object& erosion, const TerrainArguments& model,
    const ThermalArguments& thermal, const py::handle& systems, const std::string& method,
    const GrainArguments& grain)
{
    ages::AgeRequest request;
    request.model = ages::Model::terrain;
    request.history.erosion = erosionHistory(erosion);
    // The history model's thermal arguments but the initial state (given as "steady", the
    // default), which the terrain model takes as the steady state of its first phase.
    request.history.thermal = thermalParameters(thermal);
    ages::TerrainRequest& terrainRequest = request.terrain;
    terrainRequest.demFile = model.dem;
    terrainRequest.upliftMapFile = model.upliftMap.value_or("");
    terrainRequest.resampleM = model.resampleM;
    try {
        terrainRequest.model.relief = terrain::parseReliefHistory(model.relief.value_or(""));
    } catch (const std::invalid_argument& error) {
        throw ages::InputError("relief: " + std::string(error.what()));
    }
    terrainRequest.model.lapseRateCkm = model.lapseRateCkm;
    terrainRequest.model.levels = model.levels;
    terrainRequest.model.levelSpacingRatio = model.levelRatio;
    terrainRequest.model.timeStepMyr = model.timeStepMyr;
    request.settings = ageSettings(systems, method, grain);
    return request;
}

std::vector<ages::ObservedAge> observedAges(
    const std::optional<std::string>& observed, const std::optional<std::string>& observedText)
{
    if (!observed)
        return {};
    if (observedText) {
        std::istringstream stream(*observedText);
        return ages::parseObservedAges(stream, *observed);
    }
    return ages::readObservedAges(*observed);
}

// The age map's bands as arrays of rows (row 0 the southernmost) by columns, with the nodes'
// coordinates.
py::dict ageMapArrays(const terrain::Dem& dem, const ages::TerrainOutcome& outcome)
{
    py::dict map;
    std::vector<double> x, y;
    for (int i = 0; i < dem.columns; ++i)
        x.push_back(dem.x(i));
    for (int j = 0; j < dem.rows; ++j)
        y.push_back(dem.y(j));
    map["x_m"] = toArray(std::move(x));
    map["y_m"] = toArray(std::move(y));
    for (std::size_t b = 0; b < outcome.bandNames.size(); ++b) {
        py::array_t<double> band({ dem.rows, dem.columns });
        std::copy(outcome.ageMap[b].begin(), outcome.ageMap[b].end(), band.mutable_data());
        map[py::str(outcome.bandNames[b])] = band;
    }
    return map;
}

py::dict terrainAges(const std::string& dem, const py::object& erosion,
    const std::optional<std::string>& observed, const std::optional<std::string>& observedText,
    const bool ageMap, const std::optional<std::string>& upliftMap,
    const std::optional<std::string>& relief, const double resampleM, const double lapseRateCkm,
    const int levels, const double levelRatio, const double timeStepMyr,
    const double surfaceTemperatureC, const double baseDepthM,
    const std::optional<double> baseTemperatureC, const std::optional<double> baseHeatFlowMWm2,
    const double conductivityWmK, const double diffusivityM2s, const double heatProductionUWm3,
    const std::optional<double> heatProductionScaleM,
    const std::optional<double> heatProductionDepthM, const py::object& systems,
    const std::string& method, GRAIN_PARAMETERS)
{
    const ages::AgeRequest request = terrainRequest(erosion,
        { dem, upliftMap, relief, resampleM, lapseRateCkm, levels, levelRatio, timeStepMyr },
        { surfaceTemperatureC, baseDepthM, baseTemperatureC, baseHeatFlowMWm2, conductivityWmK,
            diffusivityM2s, heatProductionUWm3, heatProductionScaleM, heatProductionDepthM,
            "steady", std::nullopt },
        systems, method,
        GRAIN_ARGUMENTS);
    if (!observed && !ageMap)
        throw ages::InputError("terrain_ages has nothing to compute: give the samples "
                               "(observed) or ask for the age map (age_map=True)");
    const ages::TerrainWork work { .table = true, .ageMap = ageMap, .field = false };
    const ages::TerrainSetup setup = ages::prepareTerrainRun(
        request, observedAges(observed, observedText), observed.value_or("samples"), work);

    const ages::TerrainOutcome outcome = runInterruptibly([&](const ages::FitProgress& progress) {
        return ages::computeTerrainRun(request, setup, work,
            [&](std::string_view, const double fraction) { progress(fraction); });
    });
    raiseWarnings(outcome.warnings);

    py::dict answer;
    answer["table"] = tableColumns(ages::terrainAgeTableColumns(), outcome.rows);
    answer["summary"] = userText(outcome.summary);
    answer["warnings"] = warningValues(outcome.warnings);
    if (observed) {
        double chi2 = 0;
        for (const ages::Residual& residual : outcome.residuals)
            chi2 += residual.inSigmas() * residual.inSigmas();
        answer["chi2"] = chi2;
        answer["residuals"] = tableColumns(ages::residualTableColumns(), outcome.residuals);
    } else {
        answer["chi2"] = py::none();
        answer["residuals"] = py::none();
    }
    answer["age_map"] = ageMap ? py::object(ageMapArrays(setup.dem, outcome)) : py::none();
    return answer;
}

// fit_history_terrain's arguments, in its order, for the functions that take them.
// clang-format off
#define TERRAIN_FIT_PARAMETERS                                                                     \
    const std::string &observed, const py::object &erosion, const int phases,                      \
        const std::string &dem, const std::optional<std::string> &observedText,                    \
        const std::optional<Bounds> &rates, const std::optional<Bounds> &changeTimes,              \
        const std::optional<std::string> &sampler, const std::optional<int> steps,                 \
        const std::optional<int> walkers, const std::optional<int> burnIn,                         \
        const std::optional<py::int_> &seed, const std::optional<Bounds> &fitBase,                 \
        const std::optional<std::string> &upliftMap, const std::optional<std::string> &relief,     \
        const double resampleM, const double lapseRateCkm, const int levels,                       \
        const double levelRatio, const double timeStepMyr, const double surfaceTemperatureC,       \
        const double baseDepthM, const std::optional<double> baseTemperatureC,                     \
        const std::optional<double> baseHeatFlowMWm2, const double conductivityWmK,                \
        const double diffusivityM2s, const double heatProductionUWm3,                              \
        const std::optional<double> heatProductionScaleM,                                          \
        const std::optional<double> heatProductionDepthM, const std::string &method,               \
        GRAIN_PARAMETERS
#define TERRAIN_FIT_REQUEST_ARGUMENTS                                                              \
    erosion, phases, dem, rates, changeTimes, sampler, steps, walkers, burnIn, seed, fitBase,      \
        upliftMap, relief, resampleM, lapseRateCkm, levels, levelRatio, timeStepMyr,               \
        surfaceTemperatureC, baseDepthM, baseTemperatureC, baseHeatFlowMWm2, conductivityWmK,      \
        diffusivityM2s, heatProductionUWm3, heatProductionScaleM, heatProductionDepthM, method,    \
        GRAIN_NAMES
// clang-format on

// The request of a terrain fit, refused as the program refuses its options.
ages::AgeRequest terrainFitRequest(const py::object& erosion, const int phases,
    const std::string& dem, const std::optional<Bounds>& rates,
    const std::optional<Bounds>& changeTimes, const std::optional<std::string>& sampler,
    const std::optional<int> steps, const std::optional<int> walkers,
    const std::optional<int> burnIn, const std::optional<py::int_>& seed,
    const std::optional<Bounds>& fitBase, const std::optional<std::string>& upliftMap,
    const std::optional<std::string>& relief, const double resampleM, const double lapseRateCkm,
    const int levels, const double levelRatio, const double timeStepMyr,
    const double surfaceTemperatureC, const double baseDepthM,
    const std::optional<double> baseTemperatureC, const std::optional<double> baseHeatFlowMWm2,
    const double conductivityWmK, const double diffusivityM2s, const double heatProductionUWm3,
    const std::optional<double> heatProductionScaleM,
    const std::optional<double> heatProductionDepthM, const std::string& method,
    GRAIN_PARAMETERS)
{
    ages::AgeRequest request = terrainRequest(erosion,
        { dem, upliftMap, relief, resampleM, lapseRateCkm, levels, levelRatio, timeStepMyr },
        { surfaceTemperatureC, baseDepthM, baseTemperatureC, baseHeatFlowMWm2, conductivityWmK,
            diffusivityM2s, heatProductionUWm3, heatProductionScaleM, heatProductionDepthM,
            "steady", std::nullopt },
        defaultSystemNames(), method,
        GRAIN_ARGUMENTS);
    setFit(request.history,
        { phases, rates, changeTimes, sampler, steps, walkers, burnIn, seed, std::nullopt });
    setFitBase(request.history, fitBase);
    return request;
}

py::dict fitHistoryTerrain(TERRAIN_FIT_PARAMETERS)
{
    const ages::AgeRequest request = terrainFitRequest(TERRAIN_FIT_REQUEST_ARGUMENTS);
    const ages::TerrainWork work { .table = false, .ageMap = false, .field = false };
    const ages::TerrainSetup setup
        = ages::prepareTerrainRun(request, observedAges(observed, observedText), observed, work);

    const ages::TerrainOutcome outcome = runInterruptibly([&](const ages::FitProgress& progress) {
        return ages::computeTerrainRun(request, setup, work,
            [&](std::string_view, const double fraction) { progress(fraction); });
    });
    raiseWarnings(outcome.warnings);
    return historyFitAnswer(
        *outcome.fit, request.history.fit, outcome.summary, outcome.residuals, outcome.warnings);
}

// The batch's model of the same arguments, the DEM read once for every group: observed labels
// the messages (the groups bring the ages, so observed_text is refused).
ages::BatchModel batchModelTerrain(TERRAIN_FIT_PARAMETERS)
{
    if (observedText)
        throw ages::InputError("fit_batch takes the ages as its data, not as observed_text");
    ages::BatchModel model { terrainFitRequest(TERRAIN_FIT_REQUEST_ARGUMENTS), {}, nullptr };
    model.options.observedFile = observed;
    ages::prepareBatchModel(model);
    return model;
}

// fit_history_terrain's arguments for function (its signature).
template <class Function>
void defineTerrainFit(
    py::module_& module, const char* name, Function function, const std::string& help)
{
    defineFunction(module, name, function, py::arg("observed"), py::arg("erosion"), py::arg("phases"),
        py::kw_only(), py::arg("dem"), py::arg("observed_text") = py::none(),
        py::arg("rates") = py::none(), py::arg("change_times") = py::none(),
        py::arg("sampler") = py::none(), py::arg("steps") = py::none(),
        py::arg("walkers") = py::none(), py::arg("burn_in") = py::none(),
        py::arg("seed") = py::none(), py::arg("fit_base") = py::none(),
        terrainModelKeywords(), py::arg("method") = "all",
        grainKeywords(), help.c_str());
}

// The help lines of the model's own arguments.
std::vector<ArgumentHelp> terrainArgumentHelp()
{
    return {
        { "dem",
            "the digital elevation model today: a GeoTIFF or any raster GDAL reads (an ESRI ASCII "
            "grid without .prj is in metres); one in longitude and latitude is projected to its "
            "UTM zone" },
        { "uplift_map",
            "rock uplift relative to the erosion history's rates: a raster of factors (>= 0) on "
            "the DEM's grid; None: 1 everywhere" },
        { "relief",
            "the relief in the past, START:FACTOR,... oldest first, START in Ma: today's relief "
            "above the DEM's lowest point times FACTOR, the last FACTOR 1; None: today's at all "
            "times" },
        { "resample_m",
            "the model's horizontal node spacing, the DEM resampled to it; 0 keeps "
            "the DEM's (m)" },
        { "lapse_rate_c_km", "the surface is colder by this per km of elevation (C/km)" },
        { "levels", "grid levels from the surface to the base, finer near the surface" },
        { "level_ratio", "the deepest level spacing over the shallowest (1: uniform)" },
        { "time_step_myr", "the longest time step (Myr)" },
    };
}

// The thermal arguments' help but the initial state's.
std::vector<ArgumentHelp> terrainThermalHelp()
{
    std::vector<ArgumentHelp> help;
    for (ArgumentHelp& line : thermalArgumentHelp())
        if (line.name != "initial" && line.name != "initial_gradient_c_m")
            help.push_back(std::move(line));
    return help;
}

const char* const samplesHelp
    = "the measured samples: a CSV file with the columns sample, system, age_ma, sigma_ma, x_m "
      "and y_m (in the DEM's coordinate system) or lon and lat, and optionally elevation_m (the "
      "model's surface when empty), radius_um, u_ppm, th_ppm, sm_ppm, dpar_um; each sample on "
      "its own path";

} // namespace

void bindTerrain(py::module_& module)
{
    std::vector<ArgumentHelp> help { { "dem", "" }, { "erosion", erosionHelp },
        { "observed", std::string(samplesHelp) + "; None: no samples" },
        { "observed_text",
            "the text of such a file instead; observed then names it in the messages" },
        { "age_map", "whether to compute the age of the rock at every DEM node today" } };
    help.front() = terrainArgumentHelp().front();
    std::vector<ArgumentHelp> model = terrainArgumentHelp();
    model.erase(model.begin());
    append(help, model);
    append(help, terrainThermalHelp());
    help.push_back({ "systems",
        "systems to date, a list of names or one text separated by commas, any case" });
    append(help, ageOptionHelp());

    defineFunction(module, "terrain_ages", &terrainAges, py::arg("dem"), py::arg("erosion"), py::kw_only(),
        py::arg("observed") = py::none(), py::arg("observed_text") = py::none(),
        py::arg("age_map") = false, terrainModelKeywords(), py::arg("systems") = defaultSystemNames(),
        py::arg("method") = "all", grainKeywords(),
        helpText("The ages of samples where they were taken under a real topography, as "
                 "cooling_ages terrain computes them: the 3D thermal model of the crust under the "
                 "DEM for the erosion history (rock rising vertically, relief scaled by the "
                 "relief history, the steady state of the first phase to start from), each "
                 "sample's path followed back through the field, and its ages for the systems "
                 "and methods asked for. Runs with the GIL released; Ctrl-C stops it.",
            help,
            "a dict: table (the program's table, one row per sample, system and method: the "
            "age table's columns, then y_m and sample); summary (with observed: the chi2 line "
            "the program writes); chi2 (of the samples for the history; None without "
            "observed); residuals (the program's --residuals table; None without observed); "
            "age_map (with age_map=True: x_m and y_m of the DEM's nodes and, per system, an "
            "array of rows (the southernmost first) by columns of the age of the rock at each "
            "node today, Ma; None otherwise). erosion_thermal.terrain_ages returns the table as "
            "a DataFrame with the rest in its attrs.")
            .c_str());

    std::vector<ArgumentHelp> fitHelp { { "observed", samplesHelp },
        { "erosion",
            std::string(erosionHelp)
                + "; its first start is where every fitted history starts, the rest is the fit's "
                  "to choose" },
        { "phases", "phases of the history to fit: 1, 2 or 3" } };
    append(fitHelp, terrainArgumentHelp());
    fitHelp.push_back({ "observed_text",
        "the text of such a file instead; observed then names it in the messages" });
    append(fitHelp, fitArgumentHelp());
    // The base's line says what a fitted base costs with the 3D model.
    for (ArgumentHelp& line : fitHelp)
        if (line.name == "fit_base")
            line.meaning += "; " + std::to_string(ages::terrainFitBaseCount)
                + " bases, each a sweep of the rates (or rows of the grid) of 3D runs: the fit "
                  "costs "
                + std::to_string(ages::terrainFitBaseCount) + " times one at a held base";
    append(fitHelp, terrainThermalHelp());
    append(fitHelp, ageOptionHelp());
    defineTerrainFit(module, "fit_history_terrain", &fitHistoryTerrain,
        helpText("The erosion history of 1 to 3 phases that best explains measured ages, with "
                 "the 3D terrain model as the forward model, as cooling_ages terrain "
                 "--observed --fit-phases fits it: every history tried is one 3D run shared by "
                 "the samples, each sample dated on its own path. Called by "
                 "erosion_thermal.fit_history(model=\"terrain\", dem=...).",
            fitHelp, "the dict of fit_history."));
    defineTerrainFit(module, "_batch_model_terrain", &batchModelTerrain,
        "The model fit_batch fits every group with: fit_history_terrain's arguments, observed "
        "naming the data in the messages, the DEM read once.");
}

} // namespace erosion_python

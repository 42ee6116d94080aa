#pragma once
// A run of `cooling_ages terrain`: the 3D thermal model under a DEM (terrain/terrainmodel.h)
// for --erosion's history, the ages of the measured samples where they were taken (each on its
// own vertical path through the one field), and with --observed the comparison with their
// measured ages: the chi2 of that history, or with --fit-phases the fit of a history of N
// phases, the terrain model the forward model of every history tried.
//
//   1. every refusal, before any work: the options, the DEM, the model's parameters and the
//      history, the measured ages, their grains and positions, the fit's space and engine;
//   2. the work: the run of --erosion's history (the table, the age map, the field), then the
//      fit, with a progress line on a terminal;
//   3. the files, replaced together once all are complete, the table (to standard output
//      without --output), then the summary on standard error.
//
// The table has the age table's columns for every system and method of the age options and
// every sample (x_m and elevation_m where the sample is, rate_mm_yr today's rate), then y_m and
// sample (agetable.h: terrainAgeTableColumns). The age map (--age-map) has a band per system,
// named after it: the age of the rock at every DEM node today by the system's kinetic method
// (Dodson's for a system without one or with --method dodson), with the age options' grain and
// kinetics, and after them a band elevation_m, the model's DEM. Both are --erosion's history's,
// with or without a fit: paste a fit's best history into --erosion to map it.
//
// Steps 1 and 2 are functions of plain values, which the Python module calls without the files:
//
//     const TerrainSetup setup = prepareTerrainRun(request, ages, "DataFrame", work);
//     const TerrainOutcome outcome = computeTerrainRun(request, setup, work);

#include "agerequest.h"
#include "agerow.h"
#include "fitoptions.h"
#include "fittables.h"
#include "historyfitresult.h"
#include "historyrun.h"
#include "observedages.h"
#include "terrainpaths.h"

#include "dem.h"
#include "terrainmodel.h"

#include "textformat.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// What a run computes besides the fit or the comparison.
struct TerrainWork {
    bool table = true; // the ages of the samples under --erosion's history
    bool ageMap = false; // the ages of the rock at every DEM node today
    bool field = false; // today's temperature field
};

// What the run is made of once every refusal is passed.
struct TerrainSetup {
    terrain::Dem dem;
    terrain::TerrainParameters parameters;
    HistorySamples samples; // the measured ages and what each is predicted as
    TerrainSamples placed; // where they are
};

// Step 1: the DEM read and the samples placed, with every refusal. label names the samples'
// source in the messages. Throws InputError.
TerrainSetup prepareTerrainRun(const AgeRequest& request, std::vector<ObservedAge> ages,
    std::string_view label, const TerrainWork& work);

// Step 1 in two parts, for sets of samples that share one model (the groups of a batch): the
// model, with the refusals that need no sample (the options, the history, the DEM and the
// uplift map read, the parameters on them), and its samples left empty...
TerrainSetup prepareTerrainModel(const AgeRequest& request);
// ...then the samples placed on it, with theirs. Both throw InputError.
void placeTerrainRunSamples(const AgeRequest& request, std::vector<ObservedAge> ages,
    std::string_view label, TerrainSetup& setup);


// Hears how far a part of the work has got: its name ("running the terrain model", "fitting the
// erosion history") and the share done, one call at a time.
using TerrainProgress = std::function<void(std::string_view part, double fraction)>;

struct TerrainOutcome {
    std::vector<AgeRow> rows; // the table
    std::optional<HistoryFit> fit; // with --fit-phases
    std::vector<Residual> residuals; // pointing into the setup's samples
    std::string summary; // lines for standard error, each ending in a line end (warnings last)
    std::vector<textformat::Warning> warnings; // the summary's warnings, as values
    std::vector<std::string> bandNames; // the age map's, one per band
    std::vector<std::vector<double>> ageMap; // [band][Dem::index(i, j)], Ma
    std::optional<terrain::TerrainGrid> grid; // today's, with the field
    std::vector<double> temperatureC; // at the grid's nodes
};

// Step 2, with the refusals of the fit first. Throws InputError.
TerrainOutcome computeTerrainRun(const AgeRequest& request, const TerrainSetup& setup,
    const TerrainWork& work, const TerrainProgress& progress = {});

// The whole run. Throws InputError for whatever the user can mend; nothing is written then.
void runTerrainRequest(const AgeRequest& request, const FitOptions& options, std::ostream& out,
    std::ostream& err, bool showProgress);

} // namespace ages

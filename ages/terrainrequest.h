#pragma once
// The `terrain` model of cooling_ages as plain values: the 3D thermal model under a DEM
// (terrain/terrainmodel.h) driven by the erosion history and thermal parameters of the history
// model (historyrequest.h, the same options and names), the samples where they were taken, and
// the maps it writes.
//
//     cooling_ages terrain --dem FILE --erosion PHASES [--relief START:FACTOR,...]
//         [--resample M] [-L C/km] [--levels N] [--time-step MYR]
//         [-T -z -b -q -k -a -H --hr --h-depth] [age options]
//         [--observed FILE [--residuals FILE] [--fit-phases N ...]]
//         [--age-map FILE.tif] [--field FILE.vts]
//
// The command line fills one (terrainoptions.h); the Python module builds one directly.

#include "demreader.h"
#include "terrainparameters.h"

#include "thermalparameters.h"

#include <string>
#include <vector>

namespace ages {

struct TerrainRequest {
    std::string demFile; // --dem: any raster GDAL reads
    double resampleM = 0; // --resample: the model's horizontal spacing, m; 0 keeps the DEM's
    // --relief, -L, --levels, --time-step, with the model's defaults. Its thermal member is not
    // read: the thermal parameters are the history request's (-T -z -b -q -k -a -H ...).
    terrain::TerrainParameters model;
    // --uplift-map: a raster on the DEM's grid of the rock uplift relative to the erosion
    // history's rate (a tilted block, a gradient across a range); empty: 1 everywhere.
    std::string upliftMapFile;
    std::string ageMapFile; // --age-map: GeoTIFF, a band per system
    std::string fieldFile; // --field: today's temperature field, VTK XML structured grid
};

// A fit of the base with the history (--fit-base) tries this many bases, evenly spaced across
// its bounds, for one phase and in the two-phase grid: each base a sweep of the rates (or rows of
// the grid) of 3D runs, so that the fit costs three times one at a held base. Three are the
// least the one-phase sweep takes; its profile of the base is the parabola through them.
inline constexpr int terrainFitBaseCount = 3;

// The model's parameters: request's, with thermal as the history options give them.
terrain::TerrainParameters terrainParameters(
    const TerrainRequest& request, const thermal::ThermalParameters& thermal);

// The DEM the request names, resampled as it asks. Throws InputError naming --dem, the file and
// GDAL's reason.
terrain::Dem readTerrainDem(const TerrainRequest& request);

// The factors of --uplift-map, one per node of dem (read, projected and resampled as the DEM
// is); none without it. Throws InputError naming the file when it cannot be read or its grid is
// not the DEM's.
std::vector<double> readUpliftMap(const TerrainRequest& request, const terrain::Dem& dem);

// What the rasters the request reads hold, as text for a batch's inputs hash: "dem_fnv1a64=H"
// and with --uplift-map "uplift_map_fnv1a64=H", H the FNV-1a-64 of every file GDAL reads for the
// raster (its companions too), name and bytes, so that a changed DEM makes every group refit.
// Throws InputError naming the file when one cannot be read.
std::string terrainRastersHash(const TerrainRequest& request);

} // namespace ages

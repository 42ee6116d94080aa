#include "terrainrequest.h"

#include "inputerror.h"

#include "stablehash.h"
#include "textformat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ages {

terrain::TerrainParameters terrainParameters(
    const TerrainRequest& request, const thermal::ThermalParameters& thermal)
{
    terrain::TerrainParameters parameters = request.model;
    parameters.thermal = thermal;
    return parameters;
}

terrain::Dem readTerrainDem(const TerrainRequest& request)
{
    if (request.demFile.empty())
        throw InputError("--dem FILE names the DEM the terrain model runs under");
    if (!(std::isfinite(request.resampleM) && request.resampleM >= 0))
        throw InputError("--resample " + textformat::number(request.resampleM)
            + ": the model's node spacing must be a finite number of metres, above 0 (or 0 to "
              "keep the DEM's)");
    std::error_code error;
    if (!std::filesystem::exists(request.demFile, error))
        throw InputError("--dem " + request.demFile + ": no such file");
    try {
        return terrain::readDem(request.demFile, { .spacingM = request.resampleM });
    } catch (const std::runtime_error& failure) {
        // GDAL's message names the file already.
        throw InputError("--dem: " + std::string(failure.what()));
    }
}

std::vector<double> readUpliftMap(const TerrainRequest& request, const terrain::Dem& dem)
{
    if (request.upliftMapFile.empty())
        return {};
    std::error_code error;
    if (!std::filesystem::exists(request.upliftMapFile, error))
        throw InputError("--uplift-map " + request.upliftMapFile + ": no such file");
    terrain::Dem map;
    try {
        map = terrain::readDem(request.upliftMapFile, { .spacingM = request.resampleM });
    } catch (const std::runtime_error& failure) {
        throw InputError("--uplift-map: " + std::string(failure.what()));
    }
    // The same nodes, to a thousandth of a cell.
    const double tolerance = 1e-3 * std::min(dem.spacingX, dem.spacingY);
    const auto gridText = [](const terrain::Dem& grid) {
        return std::to_string(grid.columns) + " x " + std::to_string(grid.rows) + " nodes from ("
            + textformat::number(grid.originX) + ", " + textformat::number(grid.originY)
            + ") every " + textformat::number(grid.spacingX) + " m";
    };
    if (map.columns != dem.columns || map.rows != dem.rows
        || std::fabs(map.originX - dem.originX) > tolerance
        || std::fabs(map.originY - dem.originY) > tolerance
        || std::fabs(map.spacingX - dem.spacingX) > tolerance
        || std::fabs(map.spacingY - dem.spacingY) > tolerance)
        throw InputError("--uplift-map " + request.upliftMapFile + ": its grid (" + gridText(map)
            + ") is not the DEM's (" + gridText(dem)
            + "): give it the DEM's extent, cells and coordinate system");
    return map.heights;
}

namespace {

// FNV-1a-64 over the raster's files, each one's file name (not its directory: a moved DEM is
// the same DEM) and bytes.
std::string rasterHash(const std::string& option, const std::string& path)
{
    std::vector<std::string> files;
    try {
        files = terrain::rasterFiles(path);
    } catch (const std::runtime_error& failure) {
        throw InputError(option + ": " + failure.what());
    }
    std::uint64_t hash = stablehash::fnv1aOffset;
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (!in)
            throw InputError(option + " " + file + ": cannot be read");
        hash = stablehash::fnv1a64(std::filesystem::path(file).filename().string() + '\n', hash);
        hash = stablehash::fnv1a64(bytes.str(), hash);
    }
    return stablehash::hexadecimal(hash);
}

} // namespace

std::string terrainRastersHash(const TerrainRequest& request)
{
    std::string text = "dem_fnv1a64=" + rasterHash("--dem", request.demFile);
    if (!request.upliftMapFile.empty())
        text += " uplift_map_fnv1a64=" + rasterHash("--uplift-map", request.upliftMapFile);
    return text;
}

} // namespace ages

#include "terrainrequest.h"

#include "inputerror.h"

#include "textformat.h"

#include <cmath>
#include <filesystem>
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

} // namespace ages

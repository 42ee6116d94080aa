#include "terrainoptions.h"

#include "inputerror.h"

#include <stdexcept>

namespace ages {

void TerrainOptions::add(CLI::App& command, NumberOptions& numbers, TerrainRequest& request)
{
    command
        .add_option("--dem", request.demFile,
            "the digital elevation model today: a GeoTIFF or any raster GDAL reads (an ESRI "
            "ASCII grid without .prj is in metres); a geographic one is projected to its UTM "
            "zone")
        ->type_name("FILE")
        ->required();
    numbers.add(command, "--resample", request.resampleM,
        "the model's horizontal node spacing, the DEM resampled to it (0: the DEM's own)", "m");
    command
        .add_option("--relief", m_reliefWord,
            "the relief in the past, START:FACTOR,... oldest first, START in Ma: today's relief "
            "above the DEM's lowest point times FACTOR, the last FACTOR 1 (default: today's "
            "relief at all times)")
        ->type_name("PHASES");
    terrain::TerrainParameters& p = request.model;
    numbers.add(command, "-L", p.lapseRateCkm,
        "lapse rate: the surface is colder by this per km of elevation", "C/km");
    numbers.addCount(command, "--levels", p.levels,
        "grid levels from the surface to the base, finer near the surface");
    numbers.add(command, "--level-ratio", p.levelSpacingRatio,
        "the deepest level spacing over the shallowest (1: uniform)", "");
    numbers.add(command, "--time-step", p.timeStepMyr, "the longest time step", "Myr");
    command
        .add_option("--uplift-map", request.upliftMapFile,
            "rock uplift relative to --erosion's rates, a raster of factors (>= 0) on the DEM's "
            "grid (default: 1 everywhere)")
        ->type_name("FILE");
    command
        .add_option("--age-map", request.ageMapFile,
            "the age of the rock at every DEM node today, a GeoTIFF band per system in the "
            "DEM's projection, then the model's DEM as the band elevation_m")
        ->type_name("FILE.tif");
    command
        .add_option("--field", request.fieldFile,
            "today's temperature field for ParaView, VTK XML structured grid")
        ->type_name("FILE.vts");
}

void TerrainOptions::interpret(TerrainRequest& request) const
{
    try {
        request.model.relief = terrain::parseReliefHistory(m_reliefWord);
    } catch (const std::invalid_argument& error) {
        throw InputError("--relief: " + std::string(error.what()));
    }
}

} // namespace ages

#pragma once
// An age map as a GeoTIFF: one band per system, each a value per DEM node in the DEM's own
// coordinate system and grid, so that GIS programs lay it over the DEM. The band's description
// is the system's name ("AHe"), its no-data value NaN (for a node whose age was not computed).
//
//     terrain::writeAgeMap("ages.tif", dem, { "AHe", "AFT" }, ages);   // ages[band][node]

#include "dem.h"

#include <span>
#include <string>
#include <vector>

namespace terrain {

// bands[b][dem.index(i, j)], Ma (or any value per node). Throws std::runtime_error naming the
// file and GDAL's reason when it cannot be written, std::invalid_argument when the names and
// bands do not match the DEM.
void writeAgeMap(const std::string& path, const Dem& dem, std::span<const std::string> names,
    std::span<const std::vector<double>> bands);

} // namespace terrain

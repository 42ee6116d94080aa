#pragma once
// A DEM from any raster GDAL reads (GeoTIFF, ESRI ASCII grids, ...), in metres on a projected
// grid, as the model takes it (dem.h).
//
// A raster in a geographic system (longitude and latitude), or in a projected one whose unit is
// not the metre, is projected with GDAL's warp (bilinear) into the UTM zone of its centre, on
// WGS 84 (EPSG:326zz north of the equator, 327zz south), whose distortion is at most 0.1 % within
// the zone. A raster without a coordinate system (an ESRI ASCII grid without its .prj) is taken
// to be in metres as it stands. Given a spacing, the raster is resampled to it (bilinear) on the
// way. Elevations are metres. Cells GDAL marks as holding no data (the corners outside the
// footprint of a reprojected raster, or holes) are cut away: the grid is trimmed from its edges,
// the edge with the most such cells first, until none is left.
//
//     const terrain::Dem dem = terrain::readDem("demo.tif", { .spacingM = 1000.0 });

#include "dem.h"

#include <string>
#include <vector>

namespace terrain {

struct DemReadOptions {
    double spacingM = 0.0; // > 0: resample to this node spacing, m; 0: keep the raster's
};

// Throws std::runtime_error naming the file and GDAL's reason when it cannot be read, and when
// fewer than 2 x 2 nodes with data are left.
Dem readDem(const std::string& path, const DemReadOptions& options = {});

// The files GDAL reads for the raster at path: the file itself and its companions (an ESRI
// grid's .prj, a world file, an .aux.xml), whose change changes the DEM as much as the file's.
// Throws std::runtime_error naming the file and GDAL's reason when it cannot be opened.
std::vector<std::string> rasterFiles(const std::string& path);

// The EPSG code of the UTM zone (WGS 84) of a longitude and latitude, degrees.
int utmZoneEpsg(double longitudeDeg, double latitudeDeg);

} // namespace terrain

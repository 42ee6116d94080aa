#pragma once
// Sample positions given as longitude and latitude (WGS 84, degrees) put in the DEM's
// coordinate system, by GDAL/OGR's transformation, so that samples located by GPS can be placed
// on a projected DEM.
//
//     const auto [x, y] = terrain::fromLonLat(dem, -84.25, 36.6);

#include "dem.h"

#include <array>

namespace terrain {

// (x, y) in the DEM's system, m. Throws std::runtime_error when the DEM has no coordinate
// system (local metres have no longitude) or GDAL cannot transform the point.
std::array<double, 2> fromLonLat(const Dem& dem, double longitudeDeg, double latitudeDeg);

// The inverse: the longitude and latitude of a point of the DEM, degrees.
std::array<double, 2> toLonLat(const Dem& dem, double xM, double yM);

} // namespace terrain

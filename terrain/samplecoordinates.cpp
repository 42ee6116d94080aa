#include "samplecoordinates.h"

#include "gdalhandles.h"

#include <stdexcept>

namespace terrain {

namespace {

std::array<double, 2> transformed(const Dem& dem, const bool fromGeographic, double x, double y)
{
    if (dem.projectionWkt.empty())
        throw std::runtime_error("the DEM has no coordinate system: give the samples' positions "
                                 "in its own metres, not as longitude and latitude");
    gdal::registerDrivers();
    const gdal::SpatialReference lonLat = gdal::referenceFrom("EPSG:4326");
    const gdal::SpatialReference demSystem = gdal::referenceFrom(dem.projectionWkt.c_str());
    const gdal::Transformation transformation(fromGeographic
            ? OCTNewCoordinateTransformation(lonLat.get(), demSystem.get())
            : OCTNewCoordinateTransformation(demSystem.get(), lonLat.get()));
    if (!transformation || !OCTTransform(transformation.get(), 1, &x, &y, nullptr))
        throw std::runtime_error(gdal::lastError("GDAL cannot transform the position"));
    return { x, y };
}

} // namespace

std::array<double, 2> fromLonLat(
    const Dem& dem, const double longitudeDeg, const double latitudeDeg)
{
    return transformed(dem, true, longitudeDeg, latitudeDeg);
}

std::array<double, 2> toLonLat(const Dem& dem, const double xM, const double yM)
{
    return transformed(dem, false, xM, yM);
}

} // namespace terrain

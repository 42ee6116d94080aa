#include "agemapwriter.h"

#include "gdalhandles.h"

#include <array>
#include <cmath>
#include <stdexcept>

namespace terrain {

void writeAgeMap(const std::string& path, const Dem& dem, const std::span<const std::string> names,
    const std::span<const std::vector<double>> bands)
{
    if (names.size() != bands.size() || bands.empty())
        throw std::invalid_argument("an age map needs one name per band, and at least one band");
    for (const std::vector<double>& band : bands)
        if (band.size() != dem.nodeCount())
            throw std::invalid_argument("an age map's band holds " + std::to_string(band.size())
                + " values for the DEM's " + std::to_string(dem.nodeCount()) + " nodes");
    gdal::registerDrivers();
    const auto failure = [&](const char* why) {
        return std::runtime_error(
            "the age map '" + path + "' cannot be written: " + gdal::lastError(why));
    };
    GDALDriverH driver = GDALGetDriverByName("GTiff");
    if (!driver)
        throw failure("GDAL has no GeoTIFF driver");
    gdal::Dataset dataset(GDALCreate(driver, path.c_str(), dem.columns, dem.rows,
        static_cast<int>(bands.size()), GDT_Float64, nullptr));
    if (!dataset)
        throw failure("GDAL cannot create it");
    // North up: the raster's first row is the DEM's northernmost; nodes are cell centres.
    std::array<double, 6> transform { dem.originX - 0.5 * dem.spacingX, dem.spacingX, 0.0,
        dem.y(dem.rows - 1) + 0.5 * dem.spacingY, 0.0, -dem.spacingY };
    if (GDALSetGeoTransform(dataset.get(), transform.data()) != CE_None)
        throw failure("GDAL cannot set its grid");
    if (!dem.projectionWkt.empty()
        && GDALSetProjection(dataset.get(), dem.projectionWkt.c_str()) != CE_None)
        throw failure("GDAL cannot set its coordinate system");
    std::vector<double> rowValues(dem.columns);
    for (std::size_t b = 0; b < bands.size(); ++b) {
        GDALRasterBandH band = GDALGetRasterBand(dataset.get(), static_cast<int>(b) + 1);
        GDALSetDescription(band, names[b].c_str());
        GDALSetRasterNoDataValue(band, std::nan(""));
        for (int row = 0; row < dem.rows; ++row) {
            const int j = dem.rows - 1 - row;
            for (int i = 0; i < dem.columns; ++i)
                rowValues[i] = bands[b][dem.index(i, j)];
            if (GDALRasterIO(band, GF_Write, 0, row, dem.columns, 1, rowValues.data(), dem.columns,
                    1, GDT_Float64, 0, 0)
                != CE_None)
                throw failure("GDAL cannot write its values");
        }
    }
    // Closing flushes the file; an error there (a full disk) is GDAL's last.
    CPLErrorReset();
    dataset.reset();
    if (CPLGetLastErrorType() >= CE_Failure)
        throw failure("GDAL failed to finish it");
}

} // namespace terrain

#include "demreader.h"

#include "gdalhandles.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace terrain {

namespace {

// The raster's centre as longitude and latitude (WGS 84), degrees.
std::array<double, 2> centreLonLat(GDALDatasetH dataset, OGRSpatialReferenceH reference)
{
    std::array<double, 6> t {};
    GDALGetGeoTransform(dataset, t.data());
    double x = t[0] + 0.5 * GDALGetRasterXSize(dataset) * t[1]
        + 0.5 * GDALGetRasterYSize(dataset) * t[2];
    double y = t[3] + 0.5 * GDALGetRasterXSize(dataset) * t[4]
        + 0.5 * GDALGetRasterYSize(dataset) * t[5];
    const gdal::SpatialReference wgs84 = gdal::referenceFrom("EPSG:4326");
    OSRSetAxisMappingStrategy(reference, OAMS_TRADITIONAL_GIS_ORDER);
    const gdal::Transformation toLonLat(OCTNewCoordinateTransformation(reference, wgs84.get()));
    if (!toLonLat || !OCTTransform(toLonLat.get(), 1, &x, &y, nullptr))
        throw std::runtime_error(
            gdal::lastError("the DEM's centre cannot be put in longitude and latitude"));
    return { x, y };
}

// The raster warped by gdalwarp's options (to GDAL's in-memory format, as doubles).
gdal::Dataset warped(GDALDatasetH source, std::vector<std::string> arguments)
{
    for (const char* word :
        { "-of", "MEM", "-ot", "Float64", "-r", "bilinear", "-dstnodata", "nan" })
        arguments.emplace_back(word);
    std::vector<char*> argv;
    for (std::string& word : arguments)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const gdal::WarpOptions options(GDALWarpAppOptionsNew(argv.data(), nullptr));
    if (!options)
        throw std::runtime_error(gdal::lastError("GDAL refused the warp's options"));
    int usageError = 0;
    gdal::Dataset result(GDALWarp("", nullptr, 1, &source, options.get(), &usageError));
    if (!result || usageError)
        throw std::runtime_error(gdal::lastError("GDAL's warp failed"));
    return result;
}

// Trims the edges holding holes, the edge with the most first, until none is left.
void trimHoles(std::vector<double>& cells, int& columns, int& rows, int& firstColumn, int& firstRow)
{
    const int fullColumns = columns;
    const auto hole = [&](const int c, const int r) {
        return !std::isfinite(
            cells[static_cast<std::size_t>(firstRow + r) * fullColumns + firstColumn + c]);
    };
    while (columns >= 2 && rows >= 2) {
        std::array<int, 4> holes {}; // left, right, top, bottom
        for (int r = 0; r < rows; ++r) {
            holes[0] += hole(0, r);
            holes[1] += hole(columns - 1, r);
        }
        for (int c = 0; c < columns; ++c) {
            holes[2] += hole(c, 0);
            holes[3] += hole(c, rows - 1);
        }
        const auto worst = std::max_element(holes.begin(), holes.end());
        if (*worst == 0)
            return;
        switch (worst - holes.begin()) {
        case 0:
            ++firstColumn, --columns;
            break;
        case 1:
            --columns;
            break;
        case 2:
            ++firstRow, --rows;
            break;
        default:
            --rows;
            break;
        }
    }
}

} // namespace

int utmZoneEpsg(const double longitudeDeg, const double latitudeDeg)
{
    const int zone
        = std::clamp(static_cast<int>(std::floor((longitudeDeg + 180.0) / 6.0)) + 1, 1, 60);
    return (latitudeDeg >= 0.0 ? 32600 : 32700) + zone;
}

Dem readDem(const std::string& path, const DemReadOptions& options)
{
    gdal::registerDrivers();
    const auto failure = [&](const std::string& why) {
        return std::runtime_error("the DEM '" + path + "' cannot be read: " + why);
    };
    gdal::Dataset dataset(
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!dataset)
        throw failure(gdal::lastError("GDAL cannot open it"));
    if (!(options.spacingM >= 0.0 && std::isfinite(options.spacingM)))
        throw failure("the resample spacing must be a finite number of at least 0 m");

    std::vector<std::string> warp;
    OGRSpatialReferenceH reference = GDALGetSpatialRef(dataset.get());
    if (reference) {
        const bool metres = OSRIsProjected(reference)
            && std::fabs(OSRGetLinearUnits(reference, nullptr) - 1.0) < 1e-12;
        if (!metres) {
            const auto [longitude, latitude] = centreLonLat(dataset.get(), reference);
            warp = { "-t_srs", "EPSG:" + std::to_string(utmZoneEpsg(longitude, latitude)) };
        }
    }
    if (options.spacingM > 0.0) {
        const std::string spacing = std::to_string(options.spacingM);
        warp.insert(warp.end(), { "-tr", spacing, spacing });
    }
    if (!warp.empty())
        dataset = warped(dataset.get(), warp);

    std::array<double, 6> t {};
    if (GDALGetGeoTransform(dataset.get(), t.data()) != CE_None)
        t = { 0.0, 1.0, 0.0, 0.0, 0.0, -1.0 };
    if (t[2] != 0.0 || t[4] != 0.0)
        throw failure("its grid is rotated; warp it north up first (gdalwarp)");
    int columns = GDALGetRasterXSize(dataset.get()), rows = GDALGetRasterYSize(dataset.get());
    GDALRasterBandH band = GDALGetRasterBand(dataset.get(), 1);
    if (!band)
        throw failure("it has no raster band");
    std::vector<double> cells(static_cast<std::size_t>(columns) * rows);
    if (GDALRasterIO(
            band, GF_Read, 0, 0, columns, rows, cells.data(), columns, rows, GDT_Float64, 0, 0)
        != CE_None)
        throw failure(gdal::lastError("GDAL cannot read its heights"));
    int hasNoData = 0;
    const double noData = GDALGetRasterNoDataValue(band, &hasNoData);
    if (hasNoData)
        for (double& cell : cells)
            if (cell == noData)
                cell = std::nan("");
    const int fullColumns = columns;
    int firstColumn = 0, firstRow = 0;
    trimHoles(cells, columns, rows, firstColumn, firstRow);
    if (columns < 2 || rows < 2)
        throw failure("fewer than 2 x 2 cells hold data");

    // Nodes at the cells' centres; row 0 of the DEM the southernmost.
    Dem dem;
    dem.columns = columns;
    dem.rows = rows;
    dem.spacingX = std::fabs(t[1]);
    dem.spacingY = std::fabs(t[5]);
    const bool northUp = t[5] < 0.0;
    const bool eastward = t[1] > 0.0;
    const double firstCentreX = t[0] + (firstColumn + (eastward ? 0.5 : columns - 0.5)) * t[1];
    const double firstCentreY = t[3] + (firstRow + (northUp ? rows - 0.5 : 0.5)) * t[5];
    dem.originX = firstCentreX;
    dem.originY = firstCentreY;
    dem.heights.resize(static_cast<std::size_t>(columns) * rows);
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            const int row = firstRow + (northUp ? rows - 1 - j : j);
            const int column = firstColumn + (eastward ? i : columns - 1 - i);
            dem.heights[dem.index(i, j)]
                = cells[static_cast<std::size_t>(row) * fullColumns + column];
        }
    if (const char* wkt = GDALGetProjectionRef(dataset.get()))
        dem.projectionWkt = wkt;
    return dem;
}

std::vector<std::string> rasterFiles(const std::string& path)
{
    gdal::registerDrivers();
    gdal::Dataset dataset(
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!dataset)
        throw std::runtime_error(
            "the raster '" + path + "' cannot be read: " + gdal::lastError("GDAL cannot open it"));
    std::vector<std::string> files;
    char** list = GDALGetFileList(dataset.get());
    for (char** file = list; file && *file; ++file)
        files.emplace_back(*file);
    CSLDestroy(list);
    if (files.empty())
        files.push_back(path);
    return files;
}

} // namespace terrain

// Reading DEMs through GDAL: an ESRI ASCII grid and the GeoTIFF GDAL makes of it give the same
// nodes; a grid in longitude and latitude is projected to metres in its UTM zone; the age map
// and the field read back as written.

#include "agemapwriter.h"
#include "demreader.h"
#include "fieldwriter.h"
#include "gdalhandles.h"
#include "samplecoordinates.h"
#include "scratchdirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

// An ESRI ASCII grid of 4 columns and 3 rows, cell size 100 m, lower-left corner (1000, 2000);
// its first text row is the northernmost.
constexpr const char* asciiGrid = "ncols 4\nnrows 3\nxllcorner 1000\nyllcorner 2000\n"
                                  "cellsize 100\nNODATA_value -9999\n"
                                  "10 11 12 13\n20 21 22 23\n30 31 32 33\n";

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

// The GeoTIFF gdal_translate would make of a raster, through GDAL's library call.
void translateToGeoTiff(const std::string& from, const std::string& to)
{
    terrain::gdal::registerDrivers();
    const terrain::gdal::Dataset source(GDALOpen(from.c_str(), GA_ReadOnly));
    ASSERT_NE(source, nullptr);
    char* argv[] = { const_cast<char*>("-of"), const_cast<char*>("GTiff"), nullptr };
    const std::unique_ptr<GDALTranslateOptions, decltype(&GDALTranslateOptionsFree)> options(
        GDALTranslateOptionsNew(argv, nullptr), &GDALTranslateOptionsFree);
    const terrain::gdal::Dataset copy(
        GDALTranslate(to.c_str(), source.get(), options.get(), nullptr));
    ASSERT_NE(copy, nullptr);
}

TEST(DemReader, AsciiGridAndItsGeoTiffGiveTheSameHeights)
{
    const terraintest::ScratchDirectory scratch;
    writeText(scratch.file("dem.asc"), asciiGrid);
    translateToGeoTiff(scratch.file("dem.asc"), scratch.file("dem.tif"));
    const terrain::Dem ascii = terrain::readDem(scratch.file("dem.asc"));
    const terrain::Dem tiff = terrain::readDem(scratch.file("dem.tif"));
    for (const terrain::Dem* dem : { &ascii, &tiff }) {
        ASSERT_EQ(dem->columns, 4);
        ASSERT_EQ(dem->rows, 3);
        EXPECT_DOUBLE_EQ(dem->spacingX, 100.0);
        // Nodes at the cells' centres, row 0 the southernmost: the grid's last text row.
        EXPECT_DOUBLE_EQ(dem->originX, 1050.0);
        EXPECT_DOUBLE_EQ(dem->originY, 2050.0);
        EXPECT_DOUBLE_EQ(dem->height(0, 0), 30.0);
        EXPECT_DOUBLE_EQ(dem->height(3, 2), 13.0);
    }
    EXPECT_EQ(ascii.heights, tiff.heights);
    EXPECT_TRUE(ascii.projectionWkt.empty()); // no .prj: local metres
    // Resampled to 50 m, bilinear: the nodes halve their spacing and keep within the heights.
    const terrain::Dem fine = terrain::readDem(scratch.file("dem.asc"), { .spacingM = 50.0 });
    EXPECT_DOUBLE_EQ(fine.spacingX, 50.0);
    EXPECT_GE(fine.columns, 6);
    EXPECT_GE(fine.lowest(), 10.0);
    EXPECT_LE(fine.highest(), 33.0);
}

TEST(DemReader, GeographicGridIsProjectedToItsUtmZone)
{
    const terraintest::ScratchDirectory scratch;
    // 3 arc-second cells in the Appalachians, the demo DEM's part of the world; a slope.
    std::ostringstream grid;
    grid << "ncols 40\nnrows 30\nxllcorner -84.3\nyllcorner 36.5\ncellsize 0.000833333333333\n";
    for (int row = 0; row < 30; ++row) {
        for (int column = 0; column < 40; ++column)
            grid << 300 + 10 * column + row << ' ';
        grid << '\n';
    }
    writeText(scratch.file("geo.asc"), grid.str());
    writeText(scratch.file("geo.prj"),
        "GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS "
        "84\",6378137,298.257223563]],PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]"
        "]");
    EXPECT_EQ(terrain::utmZoneEpsg(-84.28, 36.51), 32616);
    const terrain::Dem dem = terrain::readDem(scratch.file("geo.asc"), { .spacingM = 100.0 });
    EXPECT_NE(dem.projectionWkt.find("UTM zone 16N"), std::string::npos);
    EXPECT_DOUBLE_EQ(dem.spacingX, 100.0);
    // 40 cells of 3" at 36.5 N span 40 x 92.7 x cos(36.5) ... some 2.98 km east, 30 x 92.6 m north;
    // the trimmed corners of the warp take a cell or two.
    EXPECT_NEAR(dem.columns * dem.spacingX, 2980.0, 250.0);
    EXPECT_NEAR(dem.rows * dem.spacingY, 2778.0, 250.0);
    EXPECT_GT(dem.lowest(), 299.0);
    EXPECT_LT(dem.highest(), 720.0);
    // A point given by longitude and latitude lands where the grid's slope says.
    const auto [x, y]
        = terrain::fromLonLat(dem, -84.3 + 20.5 * 0.000833333333333, 36.5 + 15 * 0.000833333333333);
    const auto lonLat = terrain::toLonLat(dem, x, y);
    EXPECT_NEAR(lonLat[0], -84.3 + 20.5 * 0.000833333333333, 1e-9);
    const int i = static_cast<int>(std::lround((x - dem.originX) / dem.spacingX));
    const int j = static_cast<int>(std::lround((y - dem.originY) / dem.spacingY));
    EXPECT_NEAR(dem.height(i, j), 300 + 10 * 20 + 14.5, 12.0);
}

TEST(Writers, AgeMapAndFieldReadBackAsWritten)
{
    const terraintest::ScratchDirectory scratch;
    writeText(scratch.file("dem.asc"), asciiGrid);
    const terrain::Dem dem = terrain::readDem(scratch.file("dem.asc"));
    std::vector<double> older(dem.nodeCount()), younger(dem.nodeCount());
    for (std::size_t n = 0; n < dem.nodeCount(); ++n) {
        older[n] = 10.0 + n;
        younger[n] = 0.5 * n;
    }
    const std::string names[] = { "AFT", "AHe" };
    const std::vector<double> bands[] = { older, younger };
    terrain::writeAgeMap(scratch.file("ages.tif"), dem, names, bands);
    // Band 1 read as a DEM: the same nodes, the same values.
    const terrain::Dem map = terrain::readDem(scratch.file("ages.tif"));
    EXPECT_EQ(map.heights, older);
    EXPECT_DOUBLE_EQ(map.originX, dem.originX);
    EXPECT_DOUBLE_EQ(map.originY, dem.originY);
    {
        const terrain::gdal::Dataset tiff(GDALOpen(scratch.file("ages.tif").c_str(), GA_ReadOnly));
        ASSERT_NE(tiff, nullptr);
        EXPECT_EQ(GDALGetRasterCount(tiff.get()), 2);
        EXPECT_STREQ(GDALGetDescription(GDALGetRasterBand(tiff.get(), 2)), "AHe");
    }

    const terrain::TerrainGrid grid(dem, dem.heights, 1000.0, 3, 1.0);
    std::vector<double> field(grid.nodeCount());
    for (std::size_t n = 0; n < field.size(); ++n)
        field[n] = 0.25 * n;
    terrain::writeTemperatureField(scratch.file("field.vts"), grid, field);
    std::ifstream vts(scratch.file("field.vts"));
    const std::string text((std::istreambuf_iterator<char>(vts)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("WholeExtent=\"0 3 0 2 0 2\""), std::string::npos);
    // VTK's first point: x fastest, from the base up; node (0, 0) at the base, 1000 m below sea
    // level.
    const std::size_t points = text.find("NumberOfComponents=\"3\" format=\"ascii\">\n");
    ASSERT_NE(points, std::string::npos);
    std::istringstream firstPoint(text.substr(text.find('\n', points) + 1));
    double x = 0, y = 0, z = 0;
    firstPoint >> x >> y >> z;
    EXPECT_DOUBLE_EQ(x, 1050.0);
    EXPECT_DOUBLE_EQ(y, 2050.0);
    EXPECT_DOUBLE_EQ(z, -1000.0);
    const std::size_t data = text.find("Name=\"temperature_c\" format=\"ascii\">\n");
    std::istringstream firstValue(text.substr(text.find('\n', data) + 1));
    double t = 0;
    firstValue >> t;
    EXPECT_DOUBLE_EQ(t, field[grid.node(0, 0, 2)]);
}

} // namespace

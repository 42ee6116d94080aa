// plot_ages map: the hillshade against the exact shading of planes, and the picture of an age
// map over its relief with the samples, from a small GeoTIFF made here.

#include "agemapplot.h"
#include "agesviewer.h"
#include "plotter.h"

#include "fixturetree.h"

#include <QImage>

#include <gdal.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace {

// A north-up GeoTIFF of columns x rows cells of 100 m, its north-west corner at (1000, 5000),
// with the bands given (row-major from the north), each named.
void writeMap(const QString& path, int columns, int rows,
    const std::vector<std::pair<const char*, std::vector<double>>>& bands)
{
    GDALAllRegister();
    GDALDatasetH dataset = GDALCreate(GDALGetDriverByName("GTiff"), path.toLocal8Bit().constData(),
        columns, rows, static_cast<int>(bands.size()), GDT_Float64, nullptr);
    ASSERT_NE(dataset, nullptr);
    std::array<double, 6> transform { 1000, 100, 0, 5000, 0, -100 };
    GDALSetGeoTransform(dataset, transform.data());
    for (std::size_t b = 0; b < bands.size(); ++b) {
        GDALRasterBandH band = GDALGetRasterBand(dataset, static_cast<int>(b) + 1);
        GDALSetDescription(band, bands[b].first);
        GDALSetRasterNoDataValue(band, std::nan(""));
        std::vector<double> values = bands[b].second;
        ASSERT_EQ(GDALRasterIO(band, GF_Write, 0, 0, columns, rows, values.data(), columns, rows,
                      GDT_Float64, 0, 0),
            CE_None);
    }
    GDALClose(dataset);
}

// Lambert's shading of a plane z = a x + b y (x east, y north) lit from the north-west at 45
// degrees: its normal (-a, -b, 1) / |.| against the light (-1/2, 1/2, 1/sqrt 2).
double planeShade(double a, double b)
{
    return std::max(0.0, (a / 2 - b / 2 + 1 / std::sqrt(2.0)) / std::sqrt(a * a + b * b + 1));
}

TEST(AgeMap, HillshadeOfAPlaneIsLambertsCosineOfItsNormalAndTheLight)
{
    const struct {
        double a, b;
    } planes[] = { { 0, 0 }, { 0.5, 0 }, { 0, 0.5 }, { -1, 1 }, { 1, -1 }, { 3, -3 } };
    for (const auto& plane : planes) {
        SCOPED_TRACE(std::to_string(plane.a) + " " + std::to_string(plane.b));
        AgeMapRaster map;
        map.columns = 4;
        map.rows = 3;
        map.east = 400;
        map.north = 300;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c) // cell centres; row 0 the northernmost
                map.elevations.push_back(plane.a * (50 + 100 * c) + plane.b * (250 - 100 * r));
        for (const double shade : hillshade(map))
            EXPECT_NEAR(shade, planeShade(plane.a, plane.b), 1e-12);
    }
}

// Luma (Rec. 601 weights), the brightness a grey print keeps.
TEST(AgeMap, TheScaleRisesInLumaFromTheYoungestToTheOldest)
{
    double previous = -1;
    for (double share = 0; share <= 1.0001; share += 0.0625) {
        const QColor colour = ageColour(share);
        const double luma = 0.299 * colour.red() + 0.587 * colour.green() + 0.114 * colour.blue();
        EXPECT_GT(luma, previous + 5) << share;
        previous = luma;
    }
}

class AgeMapPlot : public ::testing::Test {
protected:
    AgeMapPlot()
    {
        // Ages rising eastward 4 to 7 Ma on flat ground but one cell without an age.
        const double nan = std::numeric_limits<double>::quiet_NaN();
        writeMap(tree.outputPath("ages.tif"), 4, 3,
            { { "AHe", { 4, 5, 6, 7, 4, 5, 6, 7, 4, 5, 6, nan } },
                { "AFT", std::vector<double>(12, 9.0) },
                { "elevation_m", std::vector<double>(12, 500.0) } });
        tree.write("samples.csv",
            "rate_mm_yr,x_m,system,age_ma,y_m,sample\n0.5,1150,AHe,4.5,4850,A\n"
            "0.5,1150,ZHe,8,4850,A\n0.5,1350,AHe,6.5,4750,B\n");
    }
    FixtureTree tree;
};

TEST_F(AgeMapPlot, DrawsTheFirstSystemOverItsReliefWithTheScaleAndTheSamples)
{
    const FirstView view = startAgePlots(
        { "map", tree.outputPath("ages.tif"), tree.outputPath("samples.csv") }, tree.runDir());
    EXPECT_EQ(view.labels[0], "AHe");
    ASSERT_EQ(view.curves.size(), 5u); // the map's corners, three rows of the scale, the samples
    // In km: the map's corners, and each sample once.
    EXPECT_EQ(view.curves[0], (std::vector<double> { 1.0, 4.7, 1.4, 5.0 }));
    EXPECT_EQ(view.curves[4], (std::vector<double> { 1.15, 4.85, 1.35, 4.75 }));
    const QImage& image = view.style->curveStyles.at(0).underlay.image;
    ASSERT_EQ(image.size(), QSize(4, 3));
    // Flat ground: every cell its colour times 0.35 + 0.65 / sqrt(2).
    const double light = 0.35 + 0.65 / std::sqrt(2.0);
    const QColor youngest = ageColour(0), oldest = ageColour(1);
    EXPECT_EQ(image.pixelColor(0, 1),
        QColor(int(youngest.red() * light), int(youngest.green() * light),
            int(youngest.blue() * light)));
    EXPECT_EQ(image.pixelColor(3, 0),
        QColor(int(oldest.red() * light), int(oldest.green() * light), int(oldest.blue() * light)));
    EXPECT_EQ(image.pixelColor(3, 2).alpha(), 0); // no age: the background shows
    EXPECT_EQ(view.style->legendRows.size(), 5u);
    EXPECT_EQ(view.style->legendRows[1].text, "4.00 Ma");
    EXPECT_EQ(view.style->legendRows[3].text, "7.00 Ma");
    // The window holds the whole map.
    EXPECT_LE(std::min(view.bounds.xMin, view.bounds.xMax), 1.0);
    EXPECT_GE(std::max(view.bounds.xMin, view.bounds.xMax), 1.4);
    EXPECT_LE(view.bounds.yMin, 4.7);
    EXPECT_GE(view.bounds.yMax, 5.0);
}

TEST_F(AgeMapPlot, TheCanvasShowsTheMapUnderTheMarkers)
{
    Plotter plotter;
    setUpPlotter(plotter, agesViewer(), { "map", tree.outputPath("ages.tif") }, tree.runDir());
    EXPECT_EQ(plotter.viewerStyle().pngPath, "../output/plots/image_ages_map.png");
    const QImage canvas = plotter.canvas().toImage();
    const double light = 0.35 + 0.65 / std::sqrt(2.0);
    const QColor oldest = ageColour(1);
    const QColor shaded(
        int(oldest.red() * light), int(oldest.green() * light), int(oldest.blue() * light));
    int pixels = 0;
    for (int y = 41; y < 559; ++y)
        for (int x = 61; x < 1000; ++x)
            pixels += canvas.pixelColor(x, y) == shaded;
    EXPECT_GT(pixels, 1000); // the oldest column's two cells
}

TEST_F(AgeMapPlot, AFileThatIsNoMapIsRefusedInOneLine)
{
    tree.write("notamap.tif", "plain text");
    try {
        startAgePlots({ "map", tree.outputPath("notamap.tif") }, tree.runDir());
        ADD_FAILURE() << "not refused";
    } catch (const ViewerStartError& error) {
        EXPECT_NE(std::string(error.what()).find("cannot be read as a raster"), std::string::npos);
        EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos);
    }
}

} // namespace

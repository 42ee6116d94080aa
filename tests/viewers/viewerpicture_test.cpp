// The pictures of the viewers at their first 1000 x 600 window, built by the same start-up
// code as the programs, checked at sentinel pixels: legend boxes and rows, the grid rules and
// the pen widths. Fonts differ between machines, so texts are only checked for being there.

#include "coolinghistoryviewer.h"
#include "geothermviewer.h"
#include "isothermdepthviewer.h"
#include "periodichistoryviewer.h"
#include "periodicisothermviewer.h"
#include "plotter.h"
#include "viewerlist.h"

#include "fixturetree.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int plotBottom = 559; // H - 41 at H = 600
constexpr int plotHeight = 519; // H - 81
constexpr int plotLeft = 60;
constexpr int plotRight = 979; // W - 21 at W = 1000

// A viewer set up from a fixture tree, as its program shows it before any input.
struct ShownViewer {
    ShownViewer(const ViewerDefinition& viewer, const QStringList& arguments,
        const std::map<QString, QByteArray>& files = {})
    {
        for (const auto& [path, text] : files)
            tree.write(path, text);
        setUpPlotter(plotter, viewer, arguments, tree.runDir());
    }
    // Curves added after start-up, to probe what lies over or under them.
    void addCurve(int id, std::vector<double> points) { plotter.setCurve(id, points); }
    QImage image() const
    {
        return plotter.canvas().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The data y that the plot maps to pixel row py.
    double dataY(int py) const
    {
        const PlotBounds& b = plotter.bounds();
        return b.yMin + (plotBottom - py + 0.5) * (b.yMax - b.yMin) / plotHeight;
    }
    std::vector<double> horizontalLine(int py) const
    {
        const PlotBounds& b = plotter.bounds();
        return { b.xMin, dataY(py), b.xMax, dataY(py) };
    }

    FixtureTree tree;
    Plotter plotter;
};

QRgb colourAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y);
}

// Whether area holds text or lines: pixels darker than mid grey (text is drawn smooth, so its
// pixels need not be pure black).
bool anyDarkPixel(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

// The length of the run of pixels of colour through (x, y) in column x.
int verticalRun(const QImage& image, int x, int y, QRgb colour)
{
    if (image.pixel(x, y) != colour)
        return 0;
    int top = y;
    while (top > 0 && image.pixel(x, top - 1) == colour)
        --top;
    int bottom = y;
    while (bottom < image.height() - 1 && image.pixel(x, bottom + 1) == colour)
        ++bottom;
    return bottom - top + 1;
}

const QRgb black = qRgb(0, 0, 0);
const QRgb white = qRgb(255, 255, 255);
const QRgb red = qRgb(255, 0, 0);
const QRgb blue = qRgb(0, 0, 255);
const QRgb green = qRgb(0, 255, 0);
const QRgb darkGreen = qRgb(0, 128, 0);

// Checks a 110 x 80 legend box at (left, top): black outline, white interior that hides a
// curve drawn through it, and each row's line sample in its colour with black text after it.
void expectLegendBox(ShownViewer& shown, int left, int top, const std::vector<QRgb>& rowColours)
{
    const int probeRow = top + 40;
    shown.addCurve(10, shown.horizontalLine(probeRow)); // id 10: red, solid
    const QImage image = shown.image();
    SCOPED_TRACE(QStringLiteral("legend box at (%1, %2)").arg(left).arg(top).toStdString());

    EXPECT_EQ(colourAt(image, left, top + 20), black); // left edge
    EXPECT_EQ(colourAt(image, left + 109, top + 20), black); // right edge
    EXPECT_EQ(colourAt(image, left + 50, top), black); // top edge
    EXPECT_EQ(colourAt(image, left + 50, top + 79), black); // bottom edge
    EXPECT_EQ(colourAt(image, left - 1, top + 20), white); // just outside
    EXPECT_EQ(colourAt(image, left - 20, probeRow), red);
    EXPECT_EQ(colourAt(image, left + 2, probeRow), white); // the probe is hidden inside

    for (std::size_t row = 0; row < rowColours.size(); ++row) {
        const int y = top + 11 + 15 * static_cast<int>(row);
        SCOPED_TRACE(row);
        EXPECT_EQ(colourAt(image, left + 7, y), rowColours[row]);
        EXPECT_TRUE(anyDarkPixel(image, QRect(left + 46, y - 8, 60, 12)));
    }
}

} // namespace

TEST(ViewerPicture, EveryViewerOpensItsCaptionedWindowAt300x300SizedThousandBySixHundred)
{
    struct Start {
        QStringList arguments;
        QString title; // label1, shown in the title
        std::map<QString, QByteArray> files {};
    };
    const std::map<QString, Start> starts {
        { "plot_geotherm", { { "50000", "0.5", "0", "5", "10", "15", "0" }, "0.5" } },
        { "plot_temp_time", { { "0", "0.25", "60", "120", "250", "350" }, "0.25" } },
        { "plot_temp_hist", { { "10", "0" }, "10" } },
        { "plot_2D_isotherm_topography",
            { { "40000", "15000", "0.75", "a", "b", "c", "d" }, "0.75" } },
        { "plot_2D_temp_hist", { { "1.5" }, "1.5" } },
        { "plot_ages",
            { { "rate", "../output/ages.csv" }, "",
                { { "ages.csv", "rate_mm_yr,system,method,age_ma\n0.5,AHe,dodson,4\n" } } } },
    };
    for (const ViewerDefinition* viewer : allViewers()) {
        SCOPED_TRACE(viewer->program.toStdString());
        const Start& start = starts.at(viewer->program);
        ShownViewer shown(*viewer, start.arguments, start.files);
        EXPECT_EQ(shown.plotter.windowTitle(), viewer->caption);
        EXPECT_EQ(shown.plotter.geometry(), QRect(300, 300, 1000, 600));
        EXPECT_EQ(shown.plotter.canvas().size(), QSize(1000, 600));
        EXPECT_EQ(shown.plotter.viewerStyle().pngPath, viewer->style.pngPath);
        EXPECT_EQ(shown.plotter.label1, start.title);
        EXPECT_TRUE(anyDarkPixel(shown.image(), QRect(300, 10, 400, 20))); // the title
    }
}

TEST(ViewerPicture, GeothermLegendSitsAtTheTopRightWithFourTimeRows)
{
    ShownViewer shown(geothermViewer(), { "50000", "0.5", "0", "5", "10", "15", "0" },
        { { "transient/geotherm/transient_T4.dat", " 0.000 0.000 1312. -5.000e+04" } });
    EXPECT_EQ(shown.plotter.label2, "0");
    expectLegendBox(shown, 1000 - 135, 45, { black, blue, darkGreen, green });
}

TEST(ViewerPicture, IsothermDepthLegendSits470PixelsBelowTheTop)
{
    ShownViewer shown(isothermDepthViewer(), { "0", "0.5", "60", "120", "250", "350" },
        { { "transient/temp_time/transient_isotherm4.dat", " 0 -2400. 1 -2300." } });
    expectLegendBox(shown, 1000 - 140, 470, { black, blue, darkGreen, green });
}

TEST(ViewerPicture, CoolingHistoryHasNoLegendBox)
{
    ShownViewer shown(coolingHistoryViewer(), { "10", "0" });
    shown.addCurve(10, shown.horizontalLine(85));
    const QImage image = shown.image();
    // Where the other viewers have their box, the probe curve runs on unbroken.
    for (const int x : { 866, 900, 960 })
        EXPECT_EQ(colourAt(image, x, 85), red) << x;
    EXPECT_EQ(colourAt(image, 865, 60), white);
}

TEST(ViewerPicture, PeriodicHistoryLegendHasThreeRowsAndAnEmptyLowerPart)
{
    ShownViewer shown(periodicHistoryViewer(), { "0.5" },
        { { "periodic/temp_hist/periodic_ridge.dat", "-20 300 0 12" },
            { "periodic/temp_hist/periodic_valley.dat", "-20 400 0 16" } });
    expectLegendBox(shown, 1000 - 135, 45, { black, blue, darkGreen });
    const QImage image = shown.image();
    EXPECT_FALSE(anyDarkPixel(image, QRect(1000 - 134, 45 + 11 + 15 * 3 - 5, 108, 20)));
}

TEST(ViewerPicture, PeriodicIsothermLegendHasATopographyRowFiveWideAndFourIsothermRows)
{
    ShownViewer shown(
        periodicIsothermViewer(), { "40000", "15000", "0.5", "60 C", "120 C", "250 C", "350 C" });
    const int left = 1000 - 135;
    expectLegendBox(shown, left, 45, { black, blue, darkGreen, green, red });
    const QImage image = shown.image();
    EXPECT_EQ(verticalRun(image, left + 20, 56, black), 5);
    EXPECT_EQ(verticalRun(image, left + 7, 71, blue), 3);
}

TEST(ViewerPicture, PeriodicIsothermGridAndLabelsStandAtEveryFourthDepthTick)
{
    ShownViewer shown(
        periodicIsothermViewer(), { "40000", "10000", "0.5", "60 C", "120 C", "250 C", "350 C" });
    ASSERT_EQ(shown.plotter.bounds().yTicks, 30);
    const QImage image = shown.image();
    const QRgb grid = shown.plotter.palette().color(QPalette::Light).darker(200).rgb();
    for (int j = 0; j <= 30; ++j) {
        SCOPED_TRACE(j);
        const int y = plotBottom - plotHeight * j / 30;
        EXPECT_EQ(colourAt(image, plotLeft - 3, y), black); // a tick mark at every position
        if (j == 0 || j == 30)
            continue; // the frame lies there
        // Grid-coloured pixels along the row left of the legend box, leaving out the columns
        // where the dotted lines of the x grid (8 intervals) cross every row.
        int gridPixels = 0;
        for (int x = plotLeft + 1; x < 850; ++x)
            gridPixels += colourAt(image, x, y) == grid;
        for (int i = 1; plotLeft + (plotRight - plotLeft) * i / 8 < 850; ++i)
            gridPixels -= colourAt(image, plotLeft + (plotRight - plotLeft) * i / 8, y) == grid;
        if (j % 4 == 0)
            EXPECT_GT(gridPixels, 250); // a dotted line: one pixel in three
        else
            EXPECT_EQ(gridPixels, 0);
    }
    // Labels at -10000, -8000, ... 4000 only: the one of tick 4 is there, the one of tick 2 not.
    EXPECT_TRUE(anyDarkPixel(image, QRect(20, plotBottom - plotHeight * 4 / 30 - 6, 35, 12)));
    EXPECT_FALSE(anyDarkPixel(image, QRect(20, plotBottom - plotHeight * 2 / 30 - 6, 35, 12)));
    EXPECT_FALSE(anyDarkPixel(image, QRect(20, plotBottom - plotHeight - 6, 35, 12)));
}

TEST(ViewerPicture, TheTopographyIsDrawnFivePixelsWideTheIsothermsThree)
{
    ShownViewer shown(periodicIsothermViewer(), { "40000", "10000", "0.5", "a", "b", "c", "d" });
    shown.addCurve(0, shown.horizontalLine(300));
    shown.addCurve(1, shown.horizontalLine(400));
    const QImage image = shown.image();
    EXPECT_EQ(verticalRun(image, 500, 300, black), 5);
    int dashColumn = plotLeft + 2;
    while (dashColumn < 800 && colourAt(image, dashColumn, 400) != blue)
        ++dashColumn;
    EXPECT_EQ(verticalRun(image, dashColumn, 400, blue), 3);
}

TEST(ViewerPicture, WindowsWithoutWidthOrHeightDrawAndSurviveZooming)
{
    const std::vector<std::pair<const ViewerDefinition*, QStringList>> degenerate {
        { &periodicHistoryViewer(), { "0.5" } }, // no files
        { &periodicIsothermViewer(), { "0", "15000", "0.5", "a", "b", "c", "d" } }, // P = 0
        { &periodicIsothermViewer(), { "40000", "-5000", "0.5", "a", "b", "c", "d" } },
    };
    for (const auto& [viewer, arguments] : degenerate) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        ShownViewer shown(*viewer, arguments);
        shown.addCurve(0, { 0, 0, 1, 1, -1, 5000 });
        Plotter& plotter = shown.plotter;
        QTest::mousePress(&plotter, Qt::LeftButton, {}, QPoint(200, 200));
        QTest::mouseMove(&plotter, QPoint(400, 350));
        QTest::mouseRelease(&plotter, Qt::LeftButton, {}, QPoint(400, 350));
        for (const Qt::Key key : { Qt::Key_Left, Qt::Key_Up, Qt::Key_Plus, Qt::Key_Minus })
            QTest::keyClick(&plotter, key);
        plotter.zoomOut();
        plotter.zoomIn();
        EXPECT_EQ(plotter.canvas().size(), QSize(1000, 600));
        const PlotBounds& shownNow = plotter.bounds();
        for (const double value : { shownNow.xMin, shownNow.xMax, shownNow.yMin, shownNow.yMax })
            EXPECT_TRUE(std::isfinite(value));
        plotter.zoomOut();
        EXPECT_EQ(plotter.level(), 0);
        EXPECT_TRUE(std::isfinite(plotter.bounds().xMin));
    }
}

// Ten-letter legend texts ("Topography", "Mid-Valley") end inside their 110-pixel box, whose
// right edge is at W - 26, with a few pixels to spare: nothing dark in the last four columns
// inside the box, nor between the box and the frame's right edge at W - 21.
TEST(ViewerPicture, TenLetterLegendTextsEndInsideTheBox)
{
    const std::vector<std::pair<const ViewerDefinition*, QStringList>> viewers {
        { &periodicIsothermViewer(), { "40000", "15000", "0.5", "a", "b", "c", "d" } },
        { &periodicHistoryViewer(), { "0.5" } },
    };
    for (const auto& [viewer, arguments] : viewers) {
        SCOPED_TRACE(viewer->program.toStdString());
        ShownViewer shown(*viewer, arguments);
        const QImage image = shown.image();
        EXPECT_FALSE(anyDarkPixel(image, QRect(1000 - 30, 46, 4, 78)));
        EXPECT_FALSE(anyDarkPixel(image, QRect(1000 - 25, 46, 4, 78)));
    }
}

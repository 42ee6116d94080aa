// From a solver run to the three transient viewers' pictures: transient_erosion on its
// defaults writes its files, and each viewer starts from them with the arguments of that run
// (0.5 mm/yr, geotherms at 0 5 10 15 Myr, isotherms 60 120 250 350 C, exposure at 10 Myr).

#include "plotter.h"
#include "viewerlist.h"

#include "fixturetree.h"
#include "programrun.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Points = std::vector<double>;

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tree = new FixtureTree;
        for (const char* dir : { "transient/geotherm", "transient/temp_time", "transient/temp_hist",
                 "default_output" })
            tree->makeDir(dir);
        const QTemporaryDir runtime;
        solverRun = runProgram(QStringLiteral(TRANSIENT_EROSION), {}, tree->runDir(),
            headlessEnvironment(runtime.path()));
    }
    static void TearDownTestSuite()
    {
        delete tree;
        tree = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(solverRun.finished);
        ASSERT_EQ(solverRun.exitCode, 0) << solverRun.err.toStdString();
    }

    static void show(Plotter& plotter, const QString& program, const QStringList& arguments)
    {
        setUpPlotter(plotter, *findViewer(program), arguments, tree->runDir());
    }

    // The pixels of the plot area (left of the legend column) in the colour of curve id.
    static int curvePixels(const Plotter& plotter, QRgb colour)
    {
        const QImage image = plotter.canvas().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = 41; y < 559; ++y)
            for (int x = 61; x < 850; ++x)
                count += image.pixel(x, y) == colour;
        return count;
    }

    static inline FixtureTree* tree = nullptr;
    static inline ProgramRun solverRun;
};

const std::vector<QRgb> curveColours { qRgb(0, 0, 0), qRgb(0, 0, 255), qRgb(0, 128, 0),
    qRgb(0, 255, 0) };

} // namespace

TEST_F(EndToEnd, GeothermsFillTheModelDepthUpToTheHottestBottomTemperature)
{
    Plotter plotter;
    show(plotter, "plot_geotherm", { "50000", "0.5", "0", "5", "10", "15", "0" });
    const PlotBounds& window = plotter.bounds();
    EXPECT_EQ(window.yMin, -50000);
    EXPECT_EQ(window.yMax, 0);
    ASSERT_EQ(plotter.curves().size(), 4u);
    double previousBottom = 0;
    for (const auto& [id, curve] : plotter.curves()) {
        SCOPED_TRACE(id);
        ASSERT_EQ(curve.size(), 2u * 101); // every node, the surface included
        EXPECT_EQ(curve[1], 0);
        EXPECT_EQ(curve.back(), -50000);
        // Erosion carries heat upwards: the bottom gets hotter with every output time.
        EXPECT_GT(curve[curve.size() - 2], previousBottom);
        previousBottom = curve[curve.size() - 2];
        EXPECT_GT(curvePixels(plotter, curveColours[id]), 100);
    }
    EXPECT_GE(window.xMax, previousBottom);
    EXPECT_LT(window.xMax, previousBottom + 100);
    EXPECT_EQ(static_cast<int>(window.xMax) % 100, 0);
}

TEST_F(EndToEnd, IsothermDepthsSpanAllHundredMillionYearsAndRiseTowardsTheSurface)
{
    Plotter plotter;
    show(plotter, "plot_temp_time", { "0", "0.5", "60", "120", "250", "350" });
    const PlotBounds& window = plotter.bounds();
    EXPECT_EQ(window.xMin, 0);
    EXPECT_EQ(window.xMax, 100);
    // 350 C lies 14 km deep in the initial geotherm of 25 C/km: two more kilometres below it.
    EXPECT_EQ(window.yMin, -16000);
    ASSERT_EQ(plotter.curves().size(), 4u);
    for (const auto& [id, curve] : plotter.curves()) {
        SCOPED_TRACE(id);
        ASSERT_GE(curve.size(), 4u);
        EXPECT_GT(curve.back(), curve[1]); // shallower at 100 Myr than at 0
        EXPECT_GT(curvePixels(plotter, curveColours[id]), 100);
    }
    EXPECT_EQ(plotter.curves().at(0)[1], -2400); // 60 C at time 0
}

TEST_F(EndToEnd, TheCoolingHistoryRunsFromItsFirstTemperatureDownToTheSurface)
{
    Plotter plotter;
    show(plotter, "plot_temp_hist", { "10", "0" });
    EXPECT_EQ(plotter.bounds(),
        (PlotBounds { .xMin = 0, .xMax = 10, .xTicks = 5, .yMin = 0, .yMax = 135, .yTicks = 5 }));
    const Points& history = plotter.curves().at(0);
    ASSERT_EQ(history.size(), 2u * 11);
    EXPECT_EQ(history[0], 0);
    EXPECT_EQ(history[1], 125);
    EXPECT_EQ(history[20], 10);
    EXPECT_NEAR(history[21], 0, 0.01); // exposed at the surface, at the surface temperature
    EXPECT_GT(curvePixels(plotter, curveColours[0]), 300);
}

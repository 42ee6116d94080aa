// plot_ages: the best rate and range read off a misfit curve, the four kinds of picture built
// from small CSV files, their first windows, their refusals, and the program itself.

#include "agesviewer.h"
#include "misfitsummary.h"
#include "plotter.h"

#include "fixturetree.h"
#include "programrun.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

// chi2 of a sweep over rates first, first + step, ... up to last.
std::vector<MisfitPoint> sweep(double first, double last, double step, double (*chi2)(double))
{
    std::vector<MisfitPoint> curve;
    for (double rate = first; rate <= last + step / 2; rate += step)
        curve.push_back({ rate, chi2(rate) });
    return curve;
}

// A transient sweep: two systems, AHe by both methods; at 0.1 mm/yr AHe is never reset.
const QByteArray agesCsv = "rate_mm_yr,x_m,elevation_m,site,system,method,age_ma,raw_age_ma,"
                           "closure_temperature_c,closure_depth_m,reset\n"
                           "0.1,,,,AHe,dodson,20,,,,no\n" // a minimum: left out
                           "0.5,,,,AHe,dodson,5.1,,72,1500,yes\n"
                           "0.2,,,,AHe,dodson,12.1,,70,1500,yes\n"
                           "1.0,,,,AHe,dodson,2.6,,74,1500,yes\n"
                           "0.2,,,,AHe,diffusion,11.0,10.0,65,1400,yes\n"
                           "0.5,,,,AHe,diffusion,4.8,4.2,67,1400,yes\n"
                           "1.0,,,,AHe,diffusion,2.4,2.1,69,1400,yes\n"
                           "0.2,,,,ZHe,dodson,25.0,,180,4000,yes\n"
                           "0.5,,,,ZHe,dodson,10.5,,185,4000,yes\n"
                           "1.0,,,,ZHe,dodson,5.5,,190,4000,yes\n";
const QByteArray observedCsv = "# synthetic\n"
                               "sample,system,age_ma,sigma_ma,elevation_m\n"
                               "S1,AHe,4.5,0.4,300\n"
                               "S2,AHe,5.0,0.5,700\n"
                               "S3,ZHe,9.0,0.8,\n";
const QByteArray fitCsv = "rate_mm_yr,chi2\n0.2,40\n0.4,6\n0.5,1.5\n0.6,3\n0.8,20\n1.0,45\n";
// A periodic run: a ridge (1000 m) to valley (-1000 m) and back profile for one system.
const QByteArray profileCsv = "rate_mm_yr,x_m,elevation_m,site,system,method,age_ma,raw_age_ma,"
                              "closure_temperature_c,closure_depth_m,reset\n"
                              "0.5,0,1000,ridge,AHe,diffusion,6,,,,yes\n"
                              "0.5,5000,0,mid_slope,AHe,diffusion,4.5,,,,yes\n"
                              "0.5,10000,-1000,valley,AHe,diffusion,3,,,,yes\n"
                              "0.5,15000,0,,AHe,diffusion,4.5,,,,yes\n"
                              "0.5,20000,1000,ridge,AHe,diffusion,6,,,,yes\n";
const QByteArray pathCsv = "time_ma,temperature_c,depth_m\n20,250,\n10,130,\n0,10,\n";
const QByteArray pathAgesCsv = "rate_mm_yr,x_m,elevation_m,site,system,method,age_ma,raw_age_ma,"
                               "closure_temperature_c,closure_depth_m,reset\n"
                               ",,,,AHe,diffusion,5.0,4.2,70,,yes\n"
                               ",,,,ZHe,dodson,14.0,,178,,yes\n"
                               ",,,,MAr,dodson,20,,,,no\n";

// The fixture files under the run directory's output tree, and the view of a kind from them.
class AgePlots : public ::testing::Test {
protected:
    AgePlots()
    {
        tree.write("ages/ages.csv", agesCsv);
        tree.write("ages/observed.csv", observedCsv);
        tree.write("ages/fit.csv", fitCsv);
        tree.write("ages/profile.csv", profileCsv);
        tree.write("ages/path.csv", pathCsv);
        tree.write("ages/pathages.csv", pathAgesCsv);
    }
    FirstView start(const QStringList& arguments) const
    {
        // Options and the kind as they are, the files below the output tree.
        QStringList withPaths;
        for (const QString& word : arguments) {
            const bool file = !word.startsWith("--")
                && std::ranges::any_of(withPaths, [](const QString& w) { return !w.startsWith("--"); });
            withPaths << (file ? "../output/ages/" + word : word);
        }
        return startAgePlots(withPaths, tree.runDir());
    }
    // The message of the start-up error, or "" when the view starts.
    std::string errorOf(const QStringList& arguments) const
    {
        try {
            start(arguments);
        } catch (const ViewerStartError& error) {
            return error.what();
        }
        return {};
    }
    FixtureTree tree;
};

// The window holds every x, y pair of every curve, and each axis ends on a multiple of its
// tick step.
void expectRoundWindowAroundTheData(const FirstView& view)
{
    const PlotBounds& b = view.bounds;
    const double xLow = std::min(b.xMin, b.xMax);
    const double xHigh = std::max(b.xMin, b.xMax);
    for (const std::vector<double>& curve : view.curves)
        for (std::size_t k = 0; k + 1 < curve.size(); k += 2) {
            EXPECT_GE(curve[k], xLow);
            EXPECT_LE(curve[k], xHigh);
            EXPECT_GE(curve[k + 1], b.yMin);
            EXPECT_LE(curve[k + 1], b.yMax);
        }
    const double xStep = (xHigh - xLow) / b.xTicks;
    const double yStep = (b.yMax - b.yMin) / b.yTicks;
    EXPECT_NEAR(std::remainder(xLow, xStep), 0.0, 1e-9 * xStep);
    EXPECT_NEAR(std::remainder(b.yMin, yStep), 0.0, 1e-9 * yStep);
    EXPECT_GE(b.xTicks, 4);
    EXPECT_GE(b.yTicks, 4);
}

} // namespace

TEST(MisfitSummary, AParabolicMisfitGivesItsVertexAndTheRangeOneAboveIt)
{
    // chi2 = ((r - 0.731) / 0.03)^2 + 0.5: minimum 0.5 at 0.731, chi2 <= 1.5 from 0.701 to 0.761.
    const MisfitSummary fit = summariseMisfit(
        sweep(0.5, 1.0, 0.01, [](double r) { return std::pow((r - 0.731) / 0.03, 2) + 0.5; }));
    EXPECT_NEAR(fit.bestRate, 0.731, 1e-9);
    EXPECT_NEAR(fit.minimumChi2, 0.5, 1e-9);
    EXPECT_NEAR(fit.rangeLow, 0.701, 1e-3);
    EXPECT_NEAR(fit.rangeHigh, 0.761, 1e-3);
    EXPECT_FALSE(fit.lowAtSweepStart);
    EXPECT_FALSE(fit.highAtSweepEnd);
}

TEST(MisfitSummary, TheRangeIsReadAtTheLevelTheProgramWrote)
{
    // chi2 = ((r - 0.731) / 0.03)^2 + 20: at the level chi2_min + 4 written in the file the range
    // is 0.731 +- 0.06; a file without the column gives chi2_min + 1, 0.731 +- 0.03.
    std::vector<MisfitPoint> curve
        = sweep(0.5, 1.0, 0.01, [](double r) { return std::pow((r - 0.731) / 0.03, 2) + 20; });
    for (const std::optional<double> level : { std::optional<double>(), std::optional(24.0) }) {
        for (MisfitPoint& point : curve)
            point.level = level;
        const MisfitSummary fit = summariseMisfit(curve);
        const double halfWidth = level ? 0.06 : 0.03;
        EXPECT_NEAR(fit.level(), level.value_or(21.0), 1e-9);
        EXPECT_EQ(fit.scaled, level.has_value());
        EXPECT_EQ(fit.levelCaption(),
            level ? QStringLiteral("chi2_min + reduced chi2 = 24")
                  : QStringLiteral("chi2_min + 1 = 21"));
        EXPECT_NEAR(fit.rangeLow, 0.731 - halfWidth, 1e-3);
        EXPECT_NEAR(fit.rangeHigh, 0.731 + halfWidth, 1e-3);
    }
}

TEST(MisfitSummary, ARangeThatReachesAnEndOfTheSweepSaysSo)
{
    struct Case {
        const char* name;
        std::vector<MisfitPoint> curve;
        double best;
        bool atStart;
        bool atEnd;
    };
    const std::vector<Case> cases {
        { "lowest at the first rate", { { 0.1, 0.2 }, { 0.2, 0.9 }, { 0.3, 5 } }, 0.1, true,
            false },
        { "lowest at the last rate", { { 0.1, 9 }, { 0.2, 3 }, { 0.3, 0.4 } }, 0.3, false, true },
        { "flat within the level", { { 0.1, 1.0 }, { 0.2, 0.8 }, { 0.3, 1.2 } }, 0.2, true, true },
        { "one rate", { { 0.4, 2.0 } }, 0.4, true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MisfitSummary fit = summariseMisfit(c.curve);
        if (c.name != std::string("flat within the level")) {
            EXPECT_DOUBLE_EQ(fit.bestRate, c.best);
        }
        EXPECT_EQ(fit.lowAtSweepStart, c.atStart);
        EXPECT_EQ(fit.highAtSweepEnd, c.atEnd);
        EXPECT_LE(fit.rangeLow, fit.bestRate);
        EXPECT_GE(fit.rangeHigh, fit.bestRate);
    }
}

TEST_F(AgePlots, RateDrawsOneCurvePerSystemAndMethodWithBandsAndTheBestRate)
{
    const FirstView view = start({ "rate", "ages.csv", "observed.csv", "fit.csv" });
    ASSERT_TRUE(view.style);
    const ViewerStyle& style = *view.style;
    // AHe dodson, AHe diffusion, ZHe dodson; AHe and ZHe measured; best rate; range.
    ASSERT_EQ(view.curves.size(), 7u);
    EXPECT_EQ(style.legendRows.size(), view.curves.size());
    EXPECT_EQ(view.curves[0], (std::vector<double> { 0.2, 12.1, 0.5, 5.1, 1.0, 2.6 }));
    EXPECT_NE(style.curveStyles.at(0).lineStyle, style.curveStyles.at(1).lineStyle);
    EXPECT_EQ(style.curveStyles.at(0).colour, style.curveStyles.at(1).colour); // both AHe
    const CurveStyle& aheBands = style.curveStyles.at(3);
    ASSERT_EQ(aheBands.bands.size(), 2u);
    EXPECT_DOUBLE_EQ(aheBands.bands[1].lower, 4.5);
    EXPECT_DOUBLE_EQ(aheBands.bands[1].upper, 5.5);
    EXPECT_EQ(aheBands.colour, style.curveStyles.at(0).colour);
    const MisfitSummary fit = summariseMisfit(
        { { 0.2, 40 }, { 0.4, 6 }, { 0.5, 1.5 }, { 0.6, 3 }, { 0.8, 20 }, { 1.0, 45 } });
    EXPECT_EQ(style.curveStyles.at(5).verticalLines, std::vector<double> { fit.bestRate });
    EXPECT_EQ(style.curveStyles.at(6).verticalLines,
        (std::vector<double> { fit.rangeLow, fit.rangeHigh }));
    EXPECT_TRUE(style.legend && style.legend->sizedToRows);
    expectRoundWindowAroundTheData(view);
    EXPECT_LE(view.bounds.yMax, 30.0); // rounded, not padded beyond the next step
    EXPECT_DOUBLE_EQ(view.bounds.xMin, 0.2); // the minimum age at 0.1 mm/yr is no point
}

TEST_F(AgePlots, MisfitMarksTheLevelOneAboveTheMinimumAndOpensAroundTheRange)
{
    // chi2 = ((r - 0.6) / 0.03)^2 + 0.5 over 0.3 .. 1.0: the range is 0.57 to 0.63.
    QByteArray fine = "rate_mm_yr,chi2\n";
    for (const MisfitPoint& p :
        sweep(0.3, 1.0, 0.01, [](double r) { return std::pow((r - 0.6) / 0.03, 2) + 0.5; }))
        fine += QByteArray::number(p.rate) + ',' + QByteArray::number(p.chi2) + '\n';
    tree.write("ages/finefit.csv", fine);
    const FirstView view = start({ "misfit", "finefit.csv" });
    ASSERT_EQ(view.curves.size(), 4u);
    ASSERT_EQ(view.style->curveStyles.at(1).horizontalLines.size(), 1u);
    const double level = view.style->curveStyles.at(1).horizontalLines[0];
    EXPECT_NEAR(level, 1.5, 1e-9);
    const std::vector<double>& range = view.style->curveStyles.at(3).verticalLines;
    EXPECT_EQ(view.labels[0].toDouble(), view.style->curveStyles.at(2).verticalLines[0]);
    // The range and as much again either side, within the sweep 0.2 .. 1.0, rounded outward.
    const double width = range[1] - range[0];
    EXPECT_LE(view.bounds.xMin, range[0] - width);
    EXPECT_GE(view.bounds.xMax, range[1] + width);
    EXPECT_LT(view.bounds.xMax - view.bounds.xMin, 0.3); // not the whole sweep of 0.7
    EXPECT_FALSE(view.bounds.yLog);
    EXPECT_LT(view.bounds.yMax, 50.0); // chi2 in the window, not at the sweep's ends (109)

    const FirstView log = start({ "--log-y", "misfit", "finefit.csv" });
    EXPECT_TRUE(log.bounds.yLog);
    EXPECT_DOUBLE_EQ(log.bounds.yMin, 0.1); // the decade below chi2_min = 0.5
    EXPECT_EQ(log.bounds.xMin, view.bounds.xMin);
    EXPECT_TRUE(log.style->logYKey);
}

TEST_F(AgePlots, ElevationDrawsTheHalfProfileAndMeasuredAgesWithHorizontalBars)
{
    const FirstView view = start({ "elevation", "profile.csv", "observed.csv" });
    ASSERT_EQ(view.curves.size(), 2u); // AHe diffusion, AHe measured (S3 has no elevation)
    EXPECT_EQ(view.curves[0], (std::vector<double> { 6, 1000, 4.5, 0, 3, -1000 }));
    EXPECT_EQ(view.curves[1], (std::vector<double> { 4.5, 300, 5.0, 700 }));
    const CurveStyle& measured = view.style->curveStyles.at(1);
    EXPECT_EQ(measured.xErrors, (std::vector<double> { 0.4, 0.5 }));
    EXPECT_NE(measured.marker, MarkerShape::None);
    EXPECT_EQ(measured.lineStyle, Qt::NoPen);
    EXPECT_EQ(view.labels[0], "0.5");
    expectRoundWindowAroundTheData(view);
}

TEST_F(AgePlots, PathRunsTimeBackwardsAndMarksEachClosure)
{
    const FirstView view = start({ "path", "path.csv", "pathages.csv" });
    ASSERT_EQ(view.curves.size(), 4u); // the path, AHe, ZHe; MAr was never reset: legend only
    EXPECT_EQ(view.curves[1], (std::vector<double> { 5.0, 70 }));
    EXPECT_EQ(view.curves[2], (std::vector<double> { 14.0, 178 }));
    EXPECT_TRUE(view.curves[3].empty());
    EXPECT_EQ(view.style->legendRows[3].text, "MAr dodson: not reset, older than 20 Ma");
    EXPECT_EQ(view.style->yCaption, "Temperature (Celsius)");
    EXPECT_NE(view.style->curveStyles.at(1).marker, view.style->curveStyles.at(2).marker);
    EXPECT_EQ(view.bounds.xMin, 20.0); // oldest on the left
    EXPECT_EQ(view.bounds.xMax, 0.0); // the present on the right
    expectRoundWindowAroundTheData(view);
}

TEST_F(AgePlots, FilesThatCannotBeShownAreRefusedWithOneLineNamingTheProblem)
{
    tree.write("ages/nosigma.csv", "sample,system,age_ma\nS1,AHe,4\n");
    tree.write("ages/badsigma.csv", "sample,system,age_ma,sigma_ma\nS1,AHe,4,0\n");
    tree.write("ages/badnumber.csv", "rate_mm_yr,chi2\n0.2,4\n0.3,x\n");
    tree.write("ages/empty.csv", "rate_mm_yr,chi2\n");
    const auto file = [this](const char* name) { return tree.outputPath("ages/") + name; };
    struct Case {
        QStringList arguments;
        QString message;
    };
    const std::vector<Case> cases {
        { { "ratio", "ages.csv" },
            "unknown plot 'ratio' (known: rate, misfit, elevation, path, residuals, history, "
            "profile, map, lengths, misfit-map)" },
        { { "--logy", "misfit", "fit.csv" }, "unknown option '--logy' (known: --log-y)" },
        { { "--log-y", "rate", "ages.csv" },
            "--log-y is for the chi2 plots (misfit, profile), not rate" },
        { { "misfit", "fit.csv", "ages.csv" }, "misfit needs FIT_CSV, 2 file(s) given" },
        { { "path", "path.csv" }, "path needs PATH_CSV AGES_CSV [RESIDUALS_CSV], 1 file(s) given" },
        { { "misfit", "none.csv" },
            QString("cannot read '%1': No such file or directory").arg(file("none.csv")) },
        { { "rate", "ages.csv", "nosigma.csv" },
            QString("'%1' has no column 'sigma_ma'").arg(file("nosigma.csv")) },
        { { "rate", "ages.csv", "badsigma.csv" },
            QString("'%1' line 2: sigma_ma must be positive").arg(file("badsigma.csv")) },
        { { "misfit", "badnumber.csv" },
            QString("'%1' line 3: 'x' in column 'chi2' is not a number")
                .arg(file("badnumber.csv")) },
        { { "misfit", "empty.csv" }, QString("'%1' holds no rates").arg(file("empty.csv")) },
        { { "elevation", "ages.csv" },
            QString("'%1' holds no reset ages with an elevation: the elevation plot needs the ages "
                    "of a periodic or terrain run")
                .arg(file("ages.csv")) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(errorOf(c.arguments), c.message.toStdString());
    }
}

TEST_F(AgePlots, EachKindStartsInAWindowThatShowsItsCurves)
{
    const std::vector<QStringList> kinds {
        { "rate", "ages.csv", "observed.csv", "fit.csv" },
        { "misfit", "fit.csv" },
        { "elevation", "profile.csv", "observed.csv" },
        { "path", "path.csv", "pathages.csv" },
    };
    for (const QStringList& kind : kinds) {
        SCOPED_TRACE(kind.front().toStdString());
        QStringList arguments { kind.front() };
        for (const QString& file : kind.mid(1))
            arguments << "../output/ages/" + file;
        Plotter plotter;
        setUpPlotter(plotter, agesViewer(), arguments, tree.runDir());
        EXPECT_EQ(
            plotter.viewerStyle().pngPath, "../output/plots/image_ages_" + kind.front() + ".png");
        EXPECT_EQ(plotter.historySize(), 1);
        // The first curve is drawn inside the frame in its own colour.
        const QImage canvas = plotter.canvas().toImage();
        const QColor colour = plotter.viewerStyle().curveStyles.at(0).colour;
        int pixels = 0;
        for (int y = 41; y < 559; ++y)
            for (int x = 61; x < 800; ++x) // left of the legend
                pixels += canvas.pixelColor(x, y) == colour;
        EXPECT_GT(pixels, 100);
    }
}

TEST_F(AgePlots, TheViewerAndTheExportToolEndWithTheProblemOnOneLineAndStatusOne)
{
    const QTemporaryDir runtime;
    const QString picture = tree.outputPath("plots/misfit.png");
    const QString problem = "cannot read '../output/ages/none.csv': No such file or directory\n";
    struct Case {
        QString program;
        QStringList arguments;
        QString message;
    };
    const std::vector<Case> cases {
        { VIEWER_BIN_DIR "/plot_ages", { "misfit", "../output/ages/none.csv" },
            "plot_ages: " + problem },
        { RENDER_PLOT, { "plot_ages", picture, "misfit", "../output/ages/none.csv" },
            "render_plot: " + problem },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program.toStdString());
        const ProgramRun run = runProgram(
            c.program, c.arguments, tree.runDir(), headlessEnvironment(runtime.path()), 10000);
        ASSERT_TRUE(run.finished); // no window was left open
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.message.toUtf8());
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(QFileInfo::exists(picture));
}

TEST_F(AgePlots, RateWithResidualsDrawsEachSamplesOwnPredictionARowPerGrain)
{
    // S1 and S2 share a grain, S4 has its own; S3 is dated by a method that reads no grain.
    const QByteArray observed = "sample,system,age_ma,sigma_ma\n"
                                "S1,AHe,4.5,0.4\nS2,AHe,5.0,0.5\nS3,ZHe,9.0,0.8\nS4,AHe,3.9,0.3\n";
    const QByteArray residuals
        = "sample,system,method,elevation_m,age_ma,sigma_ma,predicted_age_ma,residual_sigma,reset,"
          "kinetics,radius_um,u_ppm,th_ppm,sm_ppm,dpar_um\n"
          "S1,AHe,diffusion,,4.5,0.4,4.6,-0.25,yes,rdaam,80,30,43,0,\n"
          "S2,AHe,diffusion,,5.0,0.5,4.6,0.8,yes,rdaam,80,30,43,0,\n"
          "S3,ZHe,dodson,,9.0,0.8,9.4,-0.5,yes,dodson,,,,,\n"
          "S4,AHe,diffusion,,3.9,0.3,3.7,0.67,yes,rdaam,40,5,5,100,\n";
    tree.write("ages/observed4.csv", observed);
    tree.write("ages/residuals.csv", residuals);
    const FirstView view
        = start({ "rate", "ages.csv", "observed4.csv", "fit.csv", "residuals.csv" });
    ASSERT_TRUE(view.style);
    const double best = summariseMisfit(
        { { 0.2, 40 }, { 0.4, 6 }, { 0.5, 1.5 }, { 0.6, 3 }, { 0.8, 20 },
            { 1.0, 45 } }).bestRate;
    // Each legend row of a prediction and its points: at the best rate, the file's ages.
    const std::vector<std::pair<QString, std::vector<double>>> expected {
        { "AHe r=80 um eU=40.2 ppm predicted (2)", { best, 4.6, best, 4.6 } },
        { "AHe r=40 um eU=6.31 ppm predicted (1)", { best, 3.7 } }, // 5 + 0.238 5 + 0.0012 100
        { "ZHe dodson predicted (1)", { best, 9.4 } },
    };
    for (const auto& [text, points] : expected) {
        const auto row = std::ranges::find(view.style->legendRows, text, &LegendRow::text);
        ASSERT_NE(row, view.style->legendRows.end()) << text.toStdString();
        EXPECT_EQ(view.curves.at(static_cast<std::size_t>(row->curve)), points);
    }
    // The measured ages stand at the same rate, as markers with their sigma.
    const auto measured = std::ranges::find(
        view.style->legendRows, QStringLiteral("AHe measured (3)"), &LegendRow::text);
    ASSERT_NE(measured, view.style->legendRows.end());
    EXPECT_EQ(view.curves.at(static_cast<std::size_t>(measured->curve)),
        (std::vector<double> { best, 4.5, best, 5.0, best, 3.9 }));
    // Residuals of other samples than the measured ones are refused, not drawn beside them.
    EXPECT_NE(errorOf({ "rate", "ages.csv", "observed.csv", "fit.csv", "residuals.csv" })
                  .find("residuals.csv' holds 4 samples"),
        std::string::npos);
}

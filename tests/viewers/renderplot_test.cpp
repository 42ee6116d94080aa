// render_plot, the export tool: its files are the pictures the viewers show, and its errors
// are clear and leave no file behind.

#include "plotexport.h"
#include "plotter.h"
#include "viewerlist.h"

#include "fixturetree.h"
#include "programrun.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QString renderPlot = QStringLiteral(RENDER_PLOT);

// Fixture data for all the viewers, and the arguments that go with it.
class RenderPlot : public ::testing::Test {
protected:
    RenderPlot()
        : environment(headlessEnvironment(runtime.path()))
    {
        tree.write("transient/geotherm/transient_T1.dat",
            " 0.000 0.000 500.0 -2.000e+04 1000. -5.000e+04");
        tree.write("transient/geotherm/transient_T4.dat",
            " 0.000 0.000 600.0 -2.000e+04 1312. -5.000e+04");
        tree.write("transient/temp_time/transient_isotherm1.dat", " 0 -2400. 1 -2000. 2 NaN");
        tree.write("transient/temp_time/transient_isotherm4.dat", " 0 -9000. 1 -8000. 2 -7500.");
        tree.write("transient/temp_hist/transient_tempHist.dat", " 0 125.0 5 80.00 10 0.000");
        tree.write("periodic/isotherm/periodic_topoY.dat", "-20000 0 0 3000 20000 0");
        tree.write("periodic/isotherm/periodic_geo1.dat", "-20000 -3000 0 -1500 20000 -3000");
        tree.write("periodic/temp_hist/periodic_ridge.dat", "-20.7 310.4 -10 150 0 12.8");
        tree.write("periodic/temp_hist/periodic_valley.dat", "-20.7 402.3 0 16");
        tree.write("ages/ages.csv",
            "rate_mm_yr,system,method,age_ma\n0.2,AHe,dodson,12\n0.5,AHe,dodson,5\n");
        tree.write("ages/observed.csv", "sample,system,age_ma,sigma_ma\nS1,AHe,6,0.5\n");
        tree.write("ages/fit.csv", "rate_mm_yr,chi2\n0.2,40\n0.4,3\n0.5,9\n");
        tree.makeDir("plots");
        QDir(tree.runDir()).mkpath("output/plots"); // where plot_temp_time saves
    }

    ProgramRun render(const QStringList& arguments) const
    {
        return runProgram(renderPlot, arguments, tree.runDir(), environment);
    }

    QString outFile(const QString& name) const { return tree.outputPath("plots/" + name); }

    FixtureTree tree;
    QTemporaryDir runtime;
    QProcessEnvironment environment;
    const std::map<QString, QStringList> arguments {
        { "plot_geotherm", { "50000", "0.5", "0", "5", "10", "15", "0" } },
        { "plot_temp_time", { "0", "0.5", "60", "120", "250", "350" } },
        { "plot_temp_hist", { "10", "0" } },
        { "plot_2D_isotherm_topography", { "40000", "15000", "0.5", "a", "b", "c", "d" } },
        { "plot_2D_temp_hist", { "0.5" } },
        { "plot_ages",
            { "rate", "../output/ages/ages.csv", "../output/ages/observed.csv",
                "../output/ages/fit.csv" } },
    };
};

QImage loadRgb(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(RenderPlot, ThePngIsTheViewersOwnSavedCanvasPixelForPixel)
{
    for (const ViewerDefinition* viewer : allViewers()) {
        SCOPED_TRACE(viewer->program.toStdString());
        // The viewer as its program starts it, saved with its own save button's slot.
        QString saved;
        {
            const WorkingDirectory inRunDir(tree.runDir());
            Plotter plotter;
            setUpPlotter(plotter, *viewer, arguments.at(viewer->program));
            plotter.save();
            saved = QDir::current().absoluteFilePath(viewer->style.pngPath);
        }
        const QImage shown = loadRgb(saved);
        ASSERT_EQ(shown.size(), QSize(1000, 600));

        const QString exported = outFile(viewer->program + ".png");
        const ProgramRun run
            = render(QStringList { viewer->program, exported } + arguments.at(viewer->program));
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(loadRgb(exported) == shown);
    }
}

TEST_F(RenderPlot, TheSvgIsTheSamePictureAsVectorsAndText)
{
    const QString exported = outFile("geotherm.svg");
    const ProgramRun run
        = render(QStringList { "plot_geotherm", exported } + arguments.at("plot_geotherm"));
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    EXPECT_TRUE(
        contentsOf(exported).contains("GEOTHERMS: 1D TRANSIENT EROSION, EROSION RATE = 0.5 mm/yr"));
    QSvgRenderer svg(exported);
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, 1000, 600));

    // Drawn at the window's size it matches the canvas nearly everywhere. Vector lines one
    // unit wide on whole coordinates are spread over two pixel columns at half strength, and
    // glyphs are placed to fractions of a pixel, so only pixels that are black in one picture
    // and white in the other count as different.
    Plotter plotter;
    setUpPlotter(
        plotter, *findViewer("plot_geotherm"), arguments.at("plot_geotherm"), tree.runDir());
    const QImage canvas = plotter.canvas().toImage().convertToFormat(QImage::Format_RGB32);
    QImage drawn(1000, 600, QImage::Format_RGB32);
    drawn.fill(Qt::magenta);
    {
        QPainter painter(&drawn);
        svg.render(&painter);
    }
    int differing = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 1000; ++x)
            differing += std::abs(qGray(drawn.pixel(x, y)) - qGray(canvas.pixel(x, y))) > 160;
    EXPECT_LT(differing, 1000 * 600 / 200);
    // The legend box and the frame where the canvas has them.
    for (const QPoint edge :
        { QPoint(865, 85), QPoint(920, 45), QPoint(60, 300), QPoint(500, 559) })
        EXPECT_LT(qGray(drawn.pixel(edge)), 192) << edge.x() << "," << edge.y();
    EXPECT_EQ(drawn.pixel(920, 118), qRgb(255, 255, 255)); // inside the legend box
}

TEST_F(RenderPlot, ThePdfIsOnePageOfTheWindowsProportions)
{
    const QString exported = outFile("history.PDF");
    const ProgramRun run
        = render(QStringList { "plot_temp_hist", exported } + arguments.at("plot_temp_hist"));
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray pdf = contentsOf(exported);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 1);
    // 1000 x 600 widget pixels at 96 dots per inch: 750 x 450 points.
    const QRegularExpression mediaBox(R"(/MediaBox \[0 0 750(\.0*)? 450(\.0*)?\])");
    EXPECT_TRUE(QString::fromLatin1(pdf).contains(mediaBox));
}

TEST_F(RenderPlot, APictureForAJournalColumnHasItsSizeResolutionAndTextSize)
{
    // 85 x 60 mm at 150 dpi with 7 pt text: 14.6 pixels, the window's drawing 1.33 times larger.
    const QStringList journal { "--width", "500", "--height", "354", "--dpi", "150",
        "--font-size", "7" };
    const QString png = outFile("journal.png");
    const QString pdf = outFile("journal.pdf");
    for (const QString& file : { png, pdf }) {
        const ProgramRun run = render(journal + QStringList { "plot_ages", file, "--log-y",
                                          "misfit", "../output/ages/fit.csv" });
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(500, 354));
    EXPECT_EQ(image.dotsPerMeterX(), 5906); // 150 dots per inch
    // The frame's left edge, 60 window pixels from the left, at 80 here; nothing dark left of
    // the tick marks but the caption and labels.
    int frame = 0;
    for (int y = 100; y < 250; ++y)
        frame += qGray(image.pixel(79, y)) < 64 || qGray(image.pixel(80, y)) < 64;
    EXPECT_EQ(frame, 150);
    // 500 x 354 pixels at 150 dpi: 240 x 169.92 points, which the page takes in whole points.
    const QRegularExpression mediaBox(R"(/MediaBox \[0 0 240(\.0*)? 170(\.0*)?\])");
    EXPECT_TRUE(QString::fromLatin1(contentsOf(pdf)).contains(mediaBox));
}

TEST_F(RenderPlot, ErrorsNameTheProblemEndWithStatusOneAndWriteNothing)
{
    struct Case {
        QStringList arguments;
        QByteArray message;
    };
    const QString png = outFile("refused.png");
    const std::vector<Case> cases {
        { {}, "render_plot: a viewer and an output file are needed\n" },
        { { "plot_nothing", png, "1" }, "render_plot: unknown viewer 'plot_nothing'" },
        { { "plot_temp_hist", outFile("refused.jpg"), "10", "0" },
            "the name must end in .png, .pdf or .svg" },
        { { "plot_temp_hist", png, "10" },
            "render_plot: plot_temp_hist takes 2 arguments, 1 given\n"
            "Usage: plot_temp_hist EXPOSURE_TIME MIN_TEMPERATURE\n" },
        { { "plot_temp_hist", tree.outputPath("missing/dir/refused.svg"), "10", "0" },
            "render_plot: cannot write '" + tree.outputPath("missing/dir/refused.svg").toUtf8() },
        { { "plot_temp_hist", tree.outputPath("pipe/plot.png"), "10", "0" },
            "plot.png': it is a fifo, not a regular file\n" },
        { { "--width", "5x", "plot_temp_hist", png, "10", "0" },
            "render_plot: --width expects a whole number from 16 to 20000, got '5x'\n" },
        { { "--font-size", "0", "plot_temp_hist", png, "10", "0" },
            "render_plot: --font-size expects a number of points from 1 to 200, got '0'\n" },
        { { "--wdith", "500", "plot_temp_hist", png, "10", "0" },
            "render_plot: unknown option '--wdith' (see render_plot --help)\n" },
        { { "--width", "300", "--font-size", "20", "plot_temp_hist", png, "10", "0" },
            "render_plot: a picture of 300 x 600 pixels is too small for its text: give at least "
            "582 x 388 pixels, or a smaller --font-size\n" },
        { { "plot_ages", png, "--log-y", "rate", "../output/ages/ages.csv" },
            "render_plot: --log-y is for the chi2 plots (misfit, profile), not rate\n" },
    };
    // A link to a fifo: replacing it by a file would break whatever reads from the fifo.
    QDir().mkpath(tree.outputPath("pipe"));
    const QByteArray fifo = QFile::encodeName(tree.outputPath("pipe/fifo"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(tree.outputPath("pipe/fifo"), tree.outputPath("pipe/plot.png")));
    for (const Case& refused : cases) {
        SCOPED_TRACE(refused.arguments.join(' ').toStdString());
        const ProgramRun run = render(refused.arguments);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(refused.message)) << run.err.toStdString();
    }
    EXPECT_TRUE(QDir(tree.outputPath("plots")).entryList(QDir::Files).isEmpty());
    struct stat status { };
    EXPECT_TRUE(::stat(fifo.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
}

TEST(ExportFormat, IsTakenFromTheSuffixInAnyLetterCase)
{
    EXPECT_EQ(exportFormatOf("a/b.png"), ExportFormat::Png);
    EXPECT_EQ(exportFormatOf("plot.PDF"), ExportFormat::Pdf);
    EXPECT_EQ(exportFormatOf("x.tar.Svg"), ExportFormat::Svg);
    EXPECT_EQ(exportFormatOf("plot"), std::nullopt);
    EXPECT_EQ(exportFormatOf("plot.png.txt"), std::nullopt);
}

namespace {

// The picture at scale times the window's pixels, as a vector file shows it when zoomed in.
QImage rasterised(const QString& file, ExportFormat format, int scale)
{
    if (format == ExportFormat::Svg) {
        QImage image(QSize(1000, 600) * scale, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        QSvgRenderer(file).render(&painter);
        return image;
    }
    // pdftoppm, as a reader or a printer would: 72 points per inch, the page at 96 dpi.
    const QString stem = file + QStringLiteral("-page");
    const ProgramRun run = runProgram(QStringLiteral("pdftoppm"),
        { "-png", "-singlefile", "-r", QString::number(96 * scale), file, stem },
        QDir(QFileInfo(file).path()), QProcessEnvironment::systemEnvironment());
    if (!run.finished || run.exitCode != 0)
        return {};
    return QImage(stem + ".png").convertToFormat(QImage::Format_RGB32);
}

// The pixels of area that are not dark.
int lightPixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) >= 128;
    return count;
}

} // namespace

// The legend box of plot_geotherm, pixels 865 .. 974 by 45 .. 124, keeps all four edges in
// vector files at any zoom: its white interior does not cover them.
TEST_F(RenderPlot, VectorFilesKeepTheLegendBoxWholeAtAnyZoom)
{
    for (const auto& [name, format] : { std::pair { "geotherm.pdf", ExportFormat::Pdf },
             std::pair { "geotherm.svg", ExportFormat::Svg } }) {
        const QString exported = outFile(name);
        const ProgramRun run
            = render(QStringList { "plot_geotherm", exported } + arguments.at("plot_geotherm"));
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        for (const int scale : { 1, 4 }) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(scale));
            const QImage image = rasterised(exported, format, scale);
            ASSERT_EQ(image.size(), QSize(1000, 600) * scale);
            // Each edge is one window pixel thick: all of it, scale x scale image pixels for
            // each window pixel, is dark along the box's side between the corners.
            const auto edge = [scale](int x, int y, int w, int h) {
                return QRect(x * scale, y * scale, w * scale, h * scale);
            };
            EXPECT_EQ(lightPixels(image, edge(866, 45, 108, 1)), 0) << "top";
            EXPECT_EQ(lightPixels(image, edge(866, 124, 108, 1)), 0) << "bottom";
            EXPECT_EQ(lightPixels(image, edge(865, 46, 1, 78)), 0) << "left";
            EXPECT_EQ(lightPixels(image, edge(974, 46, 1, 78)), 0) << "right";
        }
    }
}

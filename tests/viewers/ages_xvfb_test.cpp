// plot_ages's own main sequence on a real X server (run under xvfb-run): the rate plot opens,
// the user drags a rubber band over part of it and clicks save; the window zooms to the band,
// rounded to tick steps, and the PNG file is the zoomed canvas, bands and lines included.

#include "agesviewer.h"
#include "plotter.h"

#include "fixturetree.h"
#include "shownplotter.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

constexpr int pollMs = 50;
constexpr int giveUpMs = 15000;

// What the scripted user saw and did while the event loop ran.
struct Session {
    PlotBounds first;
    PlotBounds zoomed;
    int historySize = 0;
    QImage canvas; // the Plotter's canvas when save was clicked
    bool saved = false;
    bool gaveUp = false;
};
Session session;

// Waits for the window, drags a band from (200, 150) to (600, 400), saves, closes.
void actLikeAUser()
{
    Plotter* plotter = shownPlotter();
    if (!plotter) {
        QTimer::singleShot(pollMs, actLikeAUser);
        return;
    }
    QTest::qWait(200);
    session.first = plotter->bounds();
    QTest::mousePress(plotter, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    QTest::mouseMove(plotter, QPoint(400, 300));
    QTest::mouseMove(plotter, QPoint(600, 400));
    QTest::mouseRelease(plotter, Qt::LeftButton, Qt::NoModifier, QPoint(600, 400));
    session.zoomed = plotter->bounds();
    session.historySize = plotter->historySize();
    QTest::mouseClick(plotter->saveTool(), Qt::LeftButton);
    session.canvas = plotter->canvas().toImage();
    session.saved = true;
    plotter->close();
}

void scheduleUser()
{
    QTimer::singleShot(0, actLikeAUser);
    QTimer::singleShot(giveUpMs, [] {
        session.gaveUp = true;
        QApplication::exit(2);
    });
}

} // namespace

TEST(AgesOnX, ADraggedBandZoomsTheRatePlotAndSaveWritesTheZoomedCanvas)
{
    FixtureTree tree;
    tree.write("ages/ages.csv",
        "rate_mm_yr,system,method,age_ma\n0.2,AHe,dodson,12\n0.6,AHe,dodson,4\n1.0,AHe,dodson,2\n");
    tree.write("ages/observed.csv", "sample,system,age_ma,sigma_ma\nS1,AHe,5,0.5\n");
    tree.write("ages/fit.csv", "rate_mm_yr,chi2\n0.2,30\n0.6,1\n1.0,25\n");
    tree.makeDir("plots");
    const WorkingDirectory inRunDir(tree.runDir());

    std::vector<QByteArray> words { "plot_ages", "-platform", "xcb", "rate",
        "../output/ages/ages.csv", "../output/ages/observed.csv", "../output/ages/fit.csv" };
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());

    qAddPreRoutine(scheduleUser);
    const int status = runViewer(argc, argv.data(), agesViewer());

    ASSERT_FALSE(session.gaveUp) << "the window never appeared";
    EXPECT_EQ(status, 0);
    ASSERT_TRUE(session.saved);
    EXPECT_EQ(session.historySize, 2);
    // The band lies inside the first window, so the zoomed one is narrower on both axes.
    EXPECT_GT(session.zoomed.xMin, session.first.xMin);
    EXPECT_LT(session.zoomed.xMax, session.first.xMax);
    EXPECT_LT(session.zoomed.yMax, session.first.yMax);

    const QImage png
        = QImage("../output/plots/image_ages_rate.png").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(png.size(), QSize(1000, 600));
    EXPECT_TRUE(png == session.canvas.convertToFormat(QImage::Format_RGB32));
    // The measured AHe band (4.5 to 5.5 Ma) crosses the zoomed plot in its red.
    const int bandRow = static_cast<int>(
        559 - 519 * (5.25 - session.zoomed.yMin) / (session.zoomed.yMax - session.zoomed.yMin));
    ASSERT_GT(bandRow, 41);
    ASSERT_LT(bandRow, 558);
    // (The legend, placed clear of the curves, may stand over part of the band's row.)
    int inBand = 0;
    for (int x = 61; x < 979; ++x)
        inBand += qRed(png.pixel(x, bandRow)) > qBlue(png.pixel(x, bandRow));
    EXPECT_GT(inBand, 400);
}

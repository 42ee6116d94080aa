// plot_geotherm's own main sequence on a real X server (run under xvfb-run), driven the way a
// user drives it: the window opens with its caption at the first size and shows the canvas on
// the screen; the save button writes that canvas; the keys reach the plot without a click; the
// rubber band shows all four edges and leaves nothing behind; the focus frame covers only the
// border. The toolkit options in the command line are not counted as viewer arguments.
//
// Each test runs the whole program once (one application object per process): CTest starts
// this binary once per test with --gtest_filter.

#include "geothermviewer.h"
#include "plotter.h"

#include "fixturetree.h"
#include "shownplotter.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int pollMs = 50;
constexpr int giveUpMs = 15000;
constexpr int settleMs = 200; // for paints to reach the server

// What the scripted user does once the window is on the screen; it ends by closing it.
std::function<void(Plotter&)> script;
bool gaveUp = false;

// Waits for the window to be on the screen, then runs the script.
void actLikeAUser()
{
    Plotter* plotter = shownPlotter();
    if (!plotter) {
        QTimer::singleShot(pollMs, actLikeAUser);
        return;
    }
    QTest::qWait(settleMs);
    script(*plotter);
    plotter->close(); // the last window: the event loop ends
}

// Runs inside the application object's constructor, before the viewer's own code goes on.
void scheduleUser()
{
    QTimer::singleShot(0, actLikeAUser);
    QTimer::singleShot(giveUpMs, [] {
        gaveUp = true;
        QApplication::exit(2);
    });
}

// The window's pixels as the X server shows them.
QImage screenOf(Plotter& plotter)
{
    QTest::qWait(settleMs);
    return plotter.screen()
        ->grabWindow(plotter.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage canvasOf(const Plotter& plotter)
{
    return plotter.canvas().toImage().convertToFormat(QImage::Format_RGB32);
}

// The pixels of area, outside of overlay, where a and b differ.
int differing(const QImage& a, const QImage& b, const QRect& area, const QRect& overlay = {})
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += !overlay.contains(x, y) && a.pixel(x, y) != b.pixel(x, y);
    return count;
}

// Below the tool buttons and inside the one-pixel focus frame: what must be the canvas alone.
const QRect belowTheButtons(1, 40, 998, 559);

// Runs plot_geotherm on a small fixture tree with the script, as a user starts it.
class ViewerOnX : public ::testing::Test {
protected:
    int run(std::function<void(Plotter&)> userScript)
    {
        tree.write("transient/geotherm/transient_T1.dat",
            " 0.000 0.000 500.0 -2.000e+04 1250. -5.000e+04");
        tree.write("transient/geotherm/transient_T4.dat",
            " 0.000 0.000 700.0 -2.000e+04 1312. -5.000e+04");
        tree.makeDir("plots");
        const WorkingDirectory inRunDir(tree.runDir());

        std::vector<QByteArray> words { "plot_geotherm", "-platform", "xcb", "-style", "fusion",
            "50000", "0.5", "0", "5", "10", "15", "0" };
        std::vector<char*> argv;
        for (QByteArray& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(words.size());

        script = std::move(userScript);
        static const bool scheduled = (qAddPreRoutine(scheduleUser), true);
        Q_UNUSED(scheduled);
        const int status = runViewer(argc, argv.data(), geothermViewer());
        EXPECT_FALSE(gaveUp) << "the window never appeared";
        return status;
    }

    FixtureTree tree;
};

} // namespace

TEST_F(ViewerOnX, TheSaveButtonWritesTheCanvasThatTheWindowShows)
{
    QString caption;
    QSize size;
    QImage canvas;
    QImage screen;
    const int status = run([&](Plotter& plotter) {
        caption = plotter.windowTitle();
        size = plotter.size();
        screen = screenOf(plotter);
        QTest::mouseClick(plotter.saveTool(), Qt::LeftButton);
        canvas = canvasOf(plotter);
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(caption, "MORVA - 1D TRANSIENT EROSION-GEOTHERMS - BRENMOOR");
    EXPECT_EQ(size, QSize(1000, 600));

    const WorkingDirectory inRunDir(tree.runDir());
    const QImage png
        = QImage("../output/plots/image_geotherm.png").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(png.size(), QSize(1000, 600));
    EXPECT_TRUE(png == canvas);
    // The legend box and a curve where the viewer puts them.
    EXPECT_EQ(png.pixel(865, 85), qRgb(0, 0, 0));
    EXPECT_EQ(png.pixel(920, 118), qRgb(255, 255, 255));

    ASSERT_EQ(screen.size(), QSize(1000, 600));
    EXPECT_EQ(differing(screen, png, belowTheButtons), 0);
}

// The window manager activates a new window; without one, the test does it.
TEST_F(ViewerOnX, TheArrowKeysPanAtOnceAndAfterAClickOnAButton)
{
    PlotBounds atStart, afterKey, afterClick;
    const int status = run([&](Plotter& plotter) {
        plotter.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&plotter));
        QWindow* window = plotter.windowHandle();
        atStart = plotter.bounds();
        QTest::keyClick(window, Qt::Key_Right);
        afterKey = plotter.bounds();
        // A click on a button, as the pointer does it, leaves the keys with the plot.
        QTest::mouseClick(window, Qt::LeftButton, {}, plotter.saveTool()->geometry().center());
        QTest::keyClick(window, Qt::Key_Right);
        afterClick = plotter.bounds();
    });
    EXPECT_EQ(status, 0);
    const double step = (atStart.xMax - atStart.xMin) / atStart.xTicks;
    EXPECT_DOUBLE_EQ(afterKey.xMin, atStart.xMin + step);
    EXPECT_DOUBLE_EQ(afterClick.xMin, atStart.xMin + 2 * step);
}

TEST_F(ViewerOnX, TheBandShowsFourEdgesAndTheScreenIsTheCanvasAgainAfterRelease)
{
    QColor dark;
    QImage wide, shrunk, released, canvas, focused;
    QRect tipWhileShrunk; // the coordinates beside the pointer, over the plot, not in it
    bool tipAfterRelease = true;
    const int status = run([&](Plotter& plotter) {
        plotter.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&plotter));
        dark = plotter.palette().color(QPalette::Dark);
        // With the plot focused, also after the keyboard moved the focus (Tab finds nothing
        // else to focus), only the outermost ring of pixels may differ from the canvas.
        QTest::keyClick(plotter.windowHandle(), Qt::Key_Tab);
        EXPECT_TRUE(plotter.hasFocus());
        focused = screenOf(plotter);
        QTest::mousePress(&plotter, Qt::LeftButton, {}, QPoint(300, 150));
        QTest::mouseMove(&plotter, QPoint(700, 450));
        wide = screenOf(plotter);
        QTest::mouseMove(&plotter, QPoint(400, 250));
        shrunk = screenOf(plotter);
        tipWhileShrunk = plotter.coordinateTip()->geometry();
        // Back to a band under 4 pixels, released there: nothing is zoomed.
        QTest::mouseMove(&plotter, QPoint(302, 152));
        QTest::mouseRelease(&plotter, Qt::LeftButton, {}, QPoint(302, 152));
        released = screenOf(plotter);
        tipAfterRelease = plotter.coordinateTip()->isVisible();
        canvas = canvasOf(plotter);
    });
    EXPECT_EQ(status, 0);
    ASSERT_FALSE(canvas.isNull());
    EXPECT_EQ(differing(focused, canvas, belowTheButtons), 0);

    const QRgb edge = dark.rgb();
    for (const int x : { 300, 500, 700 }) {
        EXPECT_EQ(wide.pixel(x, 150), edge) << "top " << x;
        EXPECT_EQ(wide.pixel(x, 450), edge) << "bottom " << x;
    }
    for (const int y : { 150, 300, 450 }) {
        EXPECT_EQ(wide.pixel(300, y), edge) << "left " << y;
        EXPECT_EQ(wide.pixel(700, y), edge) << "right " << y;
    }
    EXPECT_EQ(shrunk.pixel(400, 200), edge);
    EXPECT_EQ(shrunk.pixel(350, 250), edge);
    // The wider band's right and bottom edges are gone, beyond the shrunk band's corner.
    EXPECT_EQ(differing(shrunk, canvas, QRect(401, 150, 400, 301), tipWhileShrunk), 0);
    EXPECT_EQ(differing(shrunk, canvas, QRect(300, 251, 401, 200), tipWhileShrunk), 0);
    EXPECT_FALSE(tipAfterRelease);
    EXPECT_EQ(differing(released, canvas, belowTheButtons), 0);
}

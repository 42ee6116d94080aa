// plot_geotherm's own main sequence on a real X server (run under xvfb-run): the window opens
// with its caption at the first size, shows the canvas on the screen, and its save button
// writes that canvas as the PNG file. The toolkit options in the command line are not counted
// as viewer arguments.

#include "geothermviewer.h"
#include "plotter.h"

#include "fixturetree.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr int pollMs = 50;
constexpr int giveUpMs = 15000;

// What the scripted user saw and did while the event loop ran.
struct Session {
    QString caption;
    QSize size;
    QImage canvas; // the Plotter's canvas when save was clicked
    QImage screen; // the window's pixels as the X server shows them
    bool saved = false;
    bool gaveUp = false;
};
Session session;

Plotter* shownPlotter()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* plotter = qobject_cast<Plotter*>(widget); plotter && plotter->isVisible()
            && plotter->windowHandle() && plotter->windowHandle()->isExposed())
            return plotter;
    return nullptr;
}

// Waits for the window to be on the screen, clicks its save button, closes it.
void actLikeAUser()
{
    Plotter* plotter = shownPlotter();
    if (!plotter) {
        QTimer::singleShot(pollMs, actLikeAUser);
        return;
    }
    QTest::qWait(200); // let the first paint reach the server
    session.caption = plotter->windowTitle();
    session.size = plotter->size();
    session.screen = plotter->screen()->grabWindow(plotter->winId()).toImage();
    QTest::mouseClick(plotter->saveTool(), Qt::LeftButton);
    session.canvas = plotter->canvas().toImage();
    session.saved = true;
    plotter->close(); // the last window: the event loop ends
}

// Runs inside the application object's constructor, before the viewer's own code goes on.
void scheduleUser()
{
    QTimer::singleShot(0, actLikeAUser);
    QTimer::singleShot(giveUpMs, [] {
        session.gaveUp = true;
        QApplication::exit(2);
    });
}

// The same pixels, region by region; the tool buttons (top right) and the focus frame (the
// outermost pixels) are on the screen but not in the canvas.
bool sameInside(const QImage& a, const QImage& b, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

} // namespace

TEST(ViewerOnX, TheSaveButtonWritesTheCanvasThatTheWindowShows)
{
    FixtureTree tree;
    tree.write(
        "transient/geotherm/transient_T1.dat", " 0.000 0.000 500.0 -2.000e+04 1250. -5.000e+04");
    tree.write(
        "transient/geotherm/transient_T4.dat", " 0.000 0.000 700.0 -2.000e+04 1312. -5.000e+04");
    tree.makeDir("plots");
    const WorkingDirectory inRunDir(tree.runDir());

    std::vector<QByteArray> words { "plot_geotherm", "-platform", "xcb", "-style", "fusion",
        "50000", "0.5", "0", "5", "10", "15", "0" };
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());

    qAddPreRoutine(scheduleUser);
    const int status = runViewer(argc, argv.data(), geothermViewer());

    ASSERT_FALSE(session.gaveUp) << "the window never appeared";
    EXPECT_EQ(status, 0);
    ASSERT_TRUE(session.saved);
    EXPECT_EQ(session.caption, "MORVA - 1D TRANSIENT EROSION-GEOTHERMS - BRENMOOR");
    EXPECT_EQ(session.size, QSize(1000, 600));

    const QImage png
        = QImage("../output/plots/image_geotherm.png").convertToFormat(QImage::Format_RGB32);
    const QImage canvas = session.canvas.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(png.size(), QSize(1000, 600));
    EXPECT_TRUE(png == canvas);
    // The legend box and a curve where the viewer puts them.
    EXPECT_EQ(png.pixel(865, 85), qRgb(0, 0, 0));
    EXPECT_EQ(png.pixel(920, 118), qRgb(255, 255, 255));

    const QImage screen = session.screen.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(screen.size(), QSize(1000, 600));
    EXPECT_TRUE(sameInside(screen, png, QRect(2, 40, 996, 557)));
}

#include "plotter.h"

#include "teststyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A 1000 x 600 plotter on screen with the default window 0 to 10, 5 intervals on both axes.
class PlotterInteraction : public ::testing::Test {
protected:
    void SetUp() override
    {
        plotter = std::make_unique<Plotter>();
        plotter->setViewerStyle(testStyle());
        plotter->resize(1000, 600);
        plotter->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(plotter.get()));
    }

    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(plotter.get(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(plotter.get(), (from + to) / 2);
        QTest::mouseMove(plotter.get(), to);
        QTest::mouseRelease(plotter.get(), Qt::LeftButton, Qt::NoModifier, to);
    }

    void wheel(QPoint angleDelta)
    {
        QWheelEvent event(QPointF(500, 300), QPointF(500, 300), QPoint(), angleDelta, Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plotter.get(), &event);
    }

    // The zoom tools' state, checked after every step: in exactly when there is an entry after
    // the shown one, out exactly when there is one before it; save and print always.
    void expectTools(bool zoomIn, bool zoomOut) const
    {
        EXPECT_EQ(plotter->zoomInTool()->isEnabled(), zoomIn);
        EXPECT_EQ(plotter->zoomOutTool()->isEnabled(), zoomOut);
        EXPECT_TRUE(plotter->saveTool()->isEnabled());
        EXPECT_TRUE(plotter->printTool()->isEnabled());
        for (const QToolButton* tool : { plotter->zoomInTool(), plotter->zoomOutTool(),
                 plotter->saveTool(), plotter->printTool() })
            EXPECT_TRUE(tool->isVisible());
    }

    std::unique_ptr<Plotter> plotter;
};

// Pixels 60 .. 519 and 40 .. 299 of the 1000 x 600 frame select x 0 to 4.99 and y 5.01 to 10,
// which snap to whole steps of 1.
const QPoint bandTopLeft(60, 40);
const QPoint bandBottomRight(519, 299);
const PlotBounds firstZoom { 0, 5, 5, 5, 10, 5 };

} // namespace

TEST_F(PlotterInteraction, StartsWithTheDefaultWindowAndBothZoomToolsOff)
{
    EXPECT_EQ(plotter->bounds(), PlotBounds {});
    EXPECT_EQ(plotter->historySize(), 1);
    EXPECT_EQ(plotter->level(), 0);
    expectTools(false, false);
    EXPECT_EQ(plotter->canvas().size(), QSize(1000, 600));
}

TEST_F(PlotterInteraction, BandZoomSnapsTheSelectionAndAppendsIt)
{
    drag(bandTopLeft, bandBottomRight);
    EXPECT_EQ(plotter->bounds(), firstZoom);
    EXPECT_EQ(plotter->historySize(), 2);
    EXPECT_EQ(plotter->level(), 1);
    EXPECT_FALSE(plotter->bandShown());
    expectTools(false, true);
}

TEST_F(PlotterInteraction, DragUpLeftEqualsDragDownRight)
{
    drag(bandBottomRight, bandTopLeft);
    EXPECT_EQ(plotter->bounds(), firstZoom);

    // An inner band, both ways: x 2.5 .. 5 and y 5 .. 7.5 of the shown window.
    plotter->setBounds(PlotBounds {});
    drag(QPoint(290, 170), QPoint(519, 299));
    const PlotBounds downRight = plotter->bounds();
    plotter->setBounds(PlotBounds {});
    drag(QPoint(519, 299), QPoint(290, 170));
    EXPECT_EQ(plotter->bounds(), downRight);
    EXPECT_EQ(downRight, (PlotBounds { 2.5, 5, 5, 5, 7.5, 5 }));
}

TEST_F(PlotterInteraction, ABandUnderFourPixelsZoomsNothing)
{
    const QImage before = plotter->canvas().toImage();
    drag(QPoint(300, 100), QPoint(302, 400)); // 3 pixels wide
    drag(QPoint(300, 100), QPoint(700, 102)); // 3 pixels high
    EXPECT_EQ(plotter->historySize(), 1);
    EXPECT_EQ(plotter->bounds(), PlotBounds {});
    EXPECT_FALSE(plotter->bandShown());
    EXPECT_EQ(plotter->cursor().shape(), Qt::ArrowCursor);
    expectTools(false, false);

    drag(QPoint(300, 100), QPoint(303, 103)); // 4 x 4
    EXPECT_EQ(plotter->historySize(), 2);
}

TEST_F(PlotterInteraction, TheBandIsShownWithACrossCursorOnlyWhileTheLeftButtonIsDown)
{
    QTest::mousePress(plotter.get(), Qt::LeftButton, Qt::NoModifier, QPoint(500, 100));
    QTest::mouseMove(plotter.get(), QPoint(400, 300));
    EXPECT_TRUE(plotter->bandShown());
    EXPECT_EQ(plotter->band(), QRect(QPoint(400, 100), QPoint(500, 300)));
    EXPECT_EQ(plotter->cursor().shape(), Qt::CrossCursor);
    QTest::mouseRelease(plotter.get(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
    EXPECT_FALSE(plotter->bandShown());
    EXPECT_EQ(plotter->cursor().shape(), Qt::ArrowCursor);

    QTest::mousePress(plotter.get(), Qt::RightButton, Qt::NoModifier, QPoint(500, 100));
    EXPECT_FALSE(plotter->bandShown());
    QTest::mouseRelease(plotter.get(), Qt::RightButton, Qt::NoModifier, QPoint(700, 400));
    EXPECT_EQ(plotter->historySize(), 2);
}

TEST_F(PlotterInteraction, ANewBandAfterZoomingOutDiscardsTheWayBackIn)
{
    drag(bandTopLeft, bandBottomRight);
    drag(bandTopLeft, bandBottomRight);
    ASSERT_EQ(plotter->historySize(), 3);
    const PlotBounds second = plotter->history()[2];
    plotter->zoomOut();
    expectTools(true, true);
    drag(QPoint(290, 170), QPoint(519, 299));
    EXPECT_EQ(plotter->historySize(), 3);
    EXPECT_EQ(plotter->level(), 2);
    EXPECT_NE(plotter->bounds(), second);
    EXPECT_EQ(plotter->history()[1], firstZoom);
    expectTools(false, true);
}

TEST_F(PlotterInteraction, PlusAndMinusKeysMoveThroughTheHistory)
{
    drag(bandTopLeft, bandBottomRight);
    QTest::keyClick(plotter.get(), Qt::Key_Minus);
    EXPECT_EQ(plotter->level(), 0);
    expectTools(true, false);
    QTest::keyClick(plotter.get(), Qt::Key_Minus); // already at the first entry
    EXPECT_EQ(plotter->level(), 0);
    QTest::keyClick(plotter.get(), Qt::Key_Plus);
    EXPECT_EQ(plotter->level(), 1);
    EXPECT_EQ(plotter->bounds(), firstZoom);
    expectTools(false, true);
    QTest::keyClick(plotter.get(), Qt::Key_Plus); // already at the last entry
    EXPECT_EQ(plotter->level(), 1);
    EXPECT_EQ(plotter->historySize(), 2);
}

TEST_F(PlotterInteraction, TheLKeySwitchesTheYScaleOnlyWhereTheStyleOffersIt)
{
    plotter->setCurve(0, { 1, 2, 3, 300 });
    for (const bool offered : { false, true }) {
        SCOPED_TRACE(offered);
        ViewerStyle style = testStyle();
        style.logYKey = offered;
        plotter->setViewerStyle(style);
        QTest::keyClick(plotter.get(), Qt::Key_L);
        EXPECT_EQ(plotter->bounds().yLog, offered);
        EXPECT_EQ(plotter->historySize(), offered ? 2 : 1);
    }
    EXPECT_EQ(plotter->bounds().yMin, 1); // 2 .. 300 in whole decades
    EXPECT_EQ(plotter->bounds().yMax, 1000);
    expectTools(false, true);
}

TEST_F(PlotterInteraction, ArrowKeysShiftTheShownEntryByOneTickInterval)
{
    drag(bandTopLeft, bandBottomRight); // x 0 .. 5, y 5 .. 10, steps of 1
    QTest::keyClick(plotter.get(), Qt::Key_Right);
    QTest::keyClick(plotter.get(), Qt::Key_Right);
    QTest::keyClick(plotter.get(), Qt::Key_Left);
    QTest::keyClick(plotter.get(), Qt::Key_Up);
    EXPECT_EQ(plotter->bounds(), (PlotBounds { 1, 6, 5, 6, 11, 5 }));
    QTest::keyClick(plotter.get(), Qt::Key_Down);
    QTest::keyClick(plotter.get(), Qt::Key_Down);
    EXPECT_EQ(plotter->bounds(), (PlotBounds { 1, 6, 5, 4, 9, 5 }));
    EXPECT_EQ(plotter->historySize(), 2);
    EXPECT_EQ(plotter->level(), 1);
    expectTools(false, true);
    // The shifted window is what zooming out and back in returns to.
    plotter->zoomOut();
    EXPECT_EQ(plotter->bounds(), PlotBounds {});
    plotter->zoomIn();
    EXPECT_EQ(plotter->bounds(), (PlotBounds { 1, 6, 5, 4, 9, 5 }));
}

TEST_F(PlotterInteraction, WheelShiftsByWholeNotchesAndAlwaysRedraws)
{
    const qint64 before = plotter->canvas().cacheKey();
    wheel(QPoint(0, 60)); // half a notch: no step
    EXPECT_EQ(plotter->bounds(), PlotBounds {});
    EXPECT_NE(plotter->canvas().cacheKey(), before);

    wheel(QPoint(0, -240)); // two notches down: two y intervals towards smaller y
    EXPECT_EQ(plotter->bounds(), (PlotBounds { 0, 10, 5, -4, 6, 5 }));
    wheel(QPoint(120, 0)); // a horizontal notch
    EXPECT_EQ(plotter->bounds(), (PlotBounds { 2, 12, 5, -4, 6, 5 }));
    expectTools(false, false);
}

TEST_F(PlotterInteraction, SetBoundsWhileZoomedKeepsCurvesAndStartsAFreshHistory)
{
    plotter->setCurve(0, { 0, 1, 10, 9 });
    drag(bandTopLeft, bandBottomRight);
    drag(bandTopLeft, bandBottomRight);
    plotter->zoomOut();
    const PlotBounds given { -50000, 0, 5, 0, 1300, 13 };
    plotter->setBounds(given);
    EXPECT_EQ(plotter->bounds(), given); // used as given, not snapped
    EXPECT_EQ(plotter->historySize(), 1);
    EXPECT_EQ(plotter->level(), 0);
    EXPECT_EQ(plotter->curves().at(0), (std::vector<double> { 0, 1, 10, 9 }));
    expectTools(false, false);
}

TEST_F(PlotterInteraction, AKeyOutsideTheTableGoesOnToTheParent)
{
    class KeyCatcher : public QWidget {
    public:
        int key = 0;

    protected:
        void keyPressEvent(QKeyEvent* event) override { key = event->key(); }
    };
    KeyCatcher parent;
    auto* child = new Plotter(&parent);
    child->resize(400, 300);
    QTest::keyClick(child, Qt::Key_A);
    EXPECT_EQ(parent.key, Qt::Key_A);
    parent.key = 0;
    QTest::keyClick(child, Qt::Key_Left);
    EXPECT_EQ(parent.key, 0);
    EXPECT_EQ(child->bounds(), (PlotBounds { -2, 8, 5, 0, 10, 5 }));
}

TEST_F(PlotterInteraction, AWidgetWithoutRoomForAPlotZoomsNothing)
{
    plotter->resize(70, 70);
    QApplication::processEvents();
    drag(QPoint(5, 5), QPoint(60, 60));
    EXPECT_EQ(plotter->historySize(), 1);
    EXPECT_EQ(plotter->bounds(), PlotBounds {});
    EXPECT_EQ(plotter->canvas().size(), QSize(70, 70));
}

TEST_F(PlotterInteraction, TheCanvasIsRenderedAgainOnEveryChange)
{
    qint64 key = plotter->canvas().cacheKey();
    const auto changed = [&] {
        const qint64 now = plotter->canvas().cacheKey();
        const bool different = now != key;
        key = now;
        return different;
    };
    plotter->setCurve(0, { 0, 0, 10, 10 });
    EXPECT_TRUE(changed());
    plotter->setBounds(PlotBounds {});
    EXPECT_TRUE(changed());
    QTest::keyClick(plotter.get(), Qt::Key_Up);
    EXPECT_TRUE(changed());
    plotter->zoomOut(); // nothing before the shown entry: nothing to draw
    EXPECT_FALSE(changed());
    plotter->resize(800, 500);
    QApplication::processEvents();
    EXPECT_TRUE(changed());
    EXPECT_EQ(plotter->canvas().size(), QSize(800, 500));
}

// Also run with QT_SCALE_FACTOR=2 (see CMakeLists.txt): the canvas has the screen's pixel density
// and paint events copy it pixel for pixel.
TEST(PlotterCanvas, FollowsTheDevicePixelRatioAndIsCopiedToTheScreenUnchanged)
{
    Plotter plotter;
    plotter.setViewerStyle(testStyle());
    plotter.setCurve(1, { 0, 1, 5, 9, 10, 4 });
    plotter.resize(400, 300);
    plotter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plotter));
    const qreal ratio = plotter.devicePixelRatioF();
    EXPECT_EQ(plotter.canvas().devicePixelRatio(), ratio);
    EXPECT_EQ(plotter.canvas().size(), QSize(400, 300) * ratio);

    // Below the tool buttons and inside the one-pixel focus frame the screen shows exactly the
    // canvas.
    const QImage screen = plotter.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage canvas = plotter.canvas().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect below(qRound(ratio), qRound(50 * ratio), qRound(398 * ratio), qRound(249 * ratio));
    EXPECT_EQ(screen.copy(below), canvas.copy(below));
}

TEST_F(PlotterInteraction, TheDataCoordinatesFollowThePointerOverThePlotButStayOffTheCanvas)
{
    const qint64 canvasKey = plotter->canvas().cacheKey();
    const QLabel* tip = plotter->coordinateTip();
    // The frame's corners are the window's corners, 0 .. 10 on both axes.
    QTest::mouseMove(plotter.get(), QPoint(979, 40));
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->text(), "x = 10   y = 10");
    EXPECT_TRUE(plotter->rect().contains(tip->geometry())); // kept inside near the corner
    QTest::mouseMove(plotter.get(), QPoint(60, 559));
    EXPECT_EQ(tip->text(), "x = 0   y = 0");
    QTest::mouseMove(plotter.get(), QPoint(30, 300)); // over the tick labels
    EXPECT_FALSE(tip->isVisible());

    // While a band is dragged, also beyond the frame; gone once it is released.
    QTest::mousePress(plotter.get(), Qt::LeftButton, Qt::NoModifier, QPoint(519, 299));
    QTest::mouseMove(plotter.get(), QPoint(30, 400));
    EXPECT_TRUE(tip->isVisible());
    EXPECT_TRUE(tip->text().startsWith("x = -0.32")) << tip->text().toStdString();
    QTest::mouseRelease(plotter.get(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 400));
    EXPECT_FALSE(tip->isVisible());
    // Hovering drew nothing on the canvas; the zoom drew it once.
    EXPECT_EQ(plotter->historySize(), 2);
    plotter->zoomOut();
    QTest::mouseMove(plotter.get(), QPoint(500, 300));
    EXPECT_NE(plotter->canvas().cacheKey(), canvasKey);
    const qint64 zoomedOut = plotter->canvas().cacheKey();
    QTest::mouseMove(plotter.get(), QPoint(510, 310));
    EXPECT_EQ(plotter->canvas().cacheKey(), zoomedOut);
}

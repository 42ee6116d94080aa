#include "plotrenderer.h"

#include "teststyle.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <limits>
#include <set>

namespace {

const QSize surface(1000, 600);
const QColor background(224, 232, 240);
const QColor grid = background.darker(200);
const QColor black(Qt::black);

QImage render(const ViewerStyle& style, const PlotBounds& bounds, const CurveStore& curves = {})
{
    QImage image(surface, QImage::Format_ARGB32);
    image.fill(background);
    QPainter painter(&image);
    const PlotRenderer renderer(style, surface, bounds, { "0.5", "10" }, background);
    renderer.drawFrame(painter);
    renderer.drawSeries(painter, curves);
    return image;
}

// Lines strictly inside the frame that hold at least 100 pixels of the grid colour.
std::set<int> gridLines(const QImage& image, Qt::Orientation orientation)
{
    std::set<int> lines;
    const bool vertical = orientation == Qt::Vertical;
    for (int a = vertical ? 61 : 41; a < (vertical ? 979 : 559); ++a) {
        int count = 0;
        for (int b = vertical ? 41 : 61; b < (vertical ? 559 : 979); ++b)
            count += (vertical ? image.pixelColor(a, b) : image.pixelColor(b, a)) == grid;
        if (count >= 100)
            lines.insert(a);
    }
    return lines;
}

int pixelsOf(const QImage& image, const QColor& colour, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

// Text is smoothed: its strokes show as dark pixels, few of them pure black.
int darkPixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    return count;
}

std::vector<int> positions(const std::vector<AxisTick>& ticks)
{
    std::vector<int> result;
    for (const AxisTick& tick : ticks)
        result.push_back(tick.position);
    return result;
}

QStringList labels(const std::vector<AxisTick>& ticks)
{
    QStringList result;
    for (const AxisTick& tick : ticks)
        result << tick.label;
    return result;
}

} // namespace

TEST(AxisTicks, PositionsAreTruncatedSoTheLastTickLandsOnTheFarEdge)
{
    EXPECT_EQ(positions(PlotRenderer::axisTicks(60, 979, 0, 10, 5)),
        (std::vector<int> { 60, 243, 427, 611, 795, 979 }));
    EXPECT_EQ(positions(PlotRenderer::axisTicks(559, 40, 0, 10, 5)),
        (std::vector<int> { 559, 456, 352, 248, 144, 40 }));
    EXPECT_TRUE(PlotRenderer::axisTicks(60, 979, 0, 10, 0).empty());
    EXPECT_TRUE(PlotRenderer::axisTicks(60, 979, 0, 10, -2).empty());
}

TEST(AxisTicks, NeverMoreThanTheAxisHasPixels)
{
    // 2 million intervals on 520 pixels (a 1000001 m deep periodic window): every n-th tick,
    // on distinct pixels from the bottom edge up, each labelled with its own value.
    const std::vector<AxisTick> ticks = PlotRenderer::axisTicks(559, 40, 0, 2e6, 2'000'000);
    ASSERT_FALSE(ticks.empty());
    EXPECT_LE(ticks.size(), 520u);
    EXPECT_GT(ticks.size(), 260u);
    EXPECT_EQ(ticks.front().position, 559);
    EXPECT_EQ(ticks.front().label, "0");
    for (std::size_t k = 1; k < ticks.size(); ++k) {
        EXPECT_LT(ticks[k].position, ticks[k - 1].position);
        const int index = ticks[k].index;
        EXPECT_EQ(ticks[k].label, PlotRenderer::tickLabel(index, 1));
        EXPECT_EQ(ticks[k].position, 559 - 519LL * index / 2'000'000);
    }
    // Up to one tick per pixel, all are drawn.
    EXPECT_EQ(PlotRenderer::axisTicks(60, 979, 0, 919, 919).size(), 920u);
}

TEST(AxisTicks, LabelsShowTheDataValuesInSixDigitsAndZeroAsZero)
{
    EXPECT_EQ(labels(PlotRenderer::axisTicks(559, 40, -50000, 0, 5)),
        QStringList({ "-50000", "-40000", "-30000", "-20000", "-10000", "0" }));
    EXPECT_EQ(labels(PlotRenderer::axisTicks(60, 979, 0, 12500, 5)),
        QStringList({ "0", "2500", "5000", "7500", "10000", "12500" }));
    // 1 x 0.30000000000000004 / 3 - 0.1 leaves 1.4e-17 where the axis crosses zero.
    EXPECT_EQ(labels(PlotRenderer::axisTicks(559, 40, -0.1, 0.2, 3)),
        QStringList({ "-0.1", "0", "0.1", "0.2" }));
    EXPECT_EQ(PlotRenderer::tickLabel(0.30000000000000004, 0.1), "0.3");
    EXPECT_EQ(PlotRenderer::tickLabel(1e-9, 1e-6), "1e-09"); // small steps keep small values
    EXPECT_EQ(PlotRenderer::tickLabel(1234567, 1), "1.23457e+06");
}

TEST(Frame, GridTicksAndOutlineLieOnTheirPixels)
{
    const QImage image = render(plainStyle(), PlotBounds {});
    EXPECT_EQ(gridLines(image, Qt::Vertical), (std::set<int> { 243, 427, 611, 795 }));
    EXPECT_EQ(gridLines(image, Qt::Horizontal), (std::set<int> { 456, 352, 248, 144 }));
    // The outline covers exactly the plot rectangle's edge pixels.
    EXPECT_EQ(pixelsOf(image, black, QRect(60, 40, 1, 520)), 520);
    EXPECT_EQ(pixelsOf(image, black, QRect(979, 40, 1, 520)), 520);
    EXPECT_EQ(pixelsOf(image, black, QRect(60, 40, 920, 1)), 920);
    EXPECT_EQ(pixelsOf(image, black, QRect(60, 559, 920, 1)), 920);
    EXPECT_EQ(pixelsOf(image, black, QRect(980, 300, 1, 100)), 0);
    // Tick marks reach 5 pixels beyond the frame; labels lie under and left of them.
    for (const int x : { 243, 427, 611, 795 })
        EXPECT_EQ(pixelsOf(image, black, QRect(x, 560, 1, 5)), 5) << x;
    for (const int y : { 456, 352, 248, 144 })
        EXPECT_EQ(pixelsOf(image, black, QRect(55, y, 5, 1)), 5) << y;
    EXPECT_GT(darkPixels(image, QRect(233, 566, 20, 12)), 10); // "2"
    EXPECT_GT(darkPixels(image, QRect(30, 446, 25, 20)), 10); // "2"
}

TEST(Frame, TitleAndCaptionsAreDrawnAndTheYCaptionStands360PixelsDown)
{
    const QImage image = render(testStyle(), PlotBounds {});
    EXPECT_GT(darkPixels(image, QRect(40, 10, 920, 20)), 100); // title
    EXPECT_GT(darkPixels(image, QRect(40, 582, 920, 15)), 50); // x caption
    // Turned, the y caption reads upwards from y = 360 with its foot towards the plot.
    EXPECT_GT(darkPixels(image, QRect(0, 300, 18, 60)), 50);
    EXPECT_EQ(darkPixels(image, QRect(0, 362, 18, 200)), 0);
}

TEST(Frame, EveryFourthYTickGetsGridAndLabelWhenTheStyleSaysSo)
{
    ViewerStyle style = plainStyle();
    style.yGridEvery = 4;
    const QImage image = render(style, PlotBounds { 0, 10, 5, 0, 10, 10 });
    EXPECT_EQ(gridLines(image, Qt::Horizontal), (std::set<int> { 352, 144 })); // j = 4 and 8
    for (int j = 0; j <= 10; ++j) {
        const int y = 559 - 519 * j / 10;
        EXPECT_EQ(pixelsOf(image, black, QRect(55, y, 5, 1)), 5) << j;
        EXPECT_EQ(darkPixels(image, QRect(20, y - 6, 35, 12)) > 0, j % 4 == 0) << j;
    }
}

TEST(Frame, AnAxisWithoutPositiveTickCountHasNoTicksButTheFrameStays)
{
    const QImage image = render(plainStyle(), PlotBounds { 0, 10, 0, 0, 10, -1 });
    EXPECT_TRUE(gridLines(image, Qt::Vertical).empty());
    EXPECT_TRUE(gridLines(image, Qt::Horizontal).empty());
    EXPECT_EQ(pixelsOf(image, black, QRect(0, 560, 1000, 15)), 0);
    EXPECT_EQ(pixelsOf(image, black, QRect(60, 40, 1, 520)), 520);
}

TEST(Series, CurvesAreDrawnInTheirIdColourAndClippedInsideTheFrame)
{
    // y = 5 lies on pixel row 559 - 259.5 = 299; the curve runs beyond both ends of the window.
    const QImage image = render(plainStyle(), PlotBounds {}, { { 5, { -5, 5, 15, 5 } } });
    EXPECT_EQ(pixelsOf(image, Qt::darkRed, QRect(61, 298, 918, 3)), 918 * 3);
    EXPECT_EQ(pixelsOf(image, Qt::darkRed, QRect(0, 0, 1000, 600)), 918 * 3);
    EXPECT_EQ(image.pixelColor(60, 299), black); // the frame is not painted over
    EXPECT_EQ(image.pixelColor(979, 299), black);
}

TEST(Series, PensFollowTheIdAndTheStyleWidths)
{
    EXPECT_EQ(PlotRenderer::seriesColour(3), QColor(Qt::green));
    EXPECT_EQ(PlotRenderer::seriesColour(11), QColor(Qt::darkRed));
    EXPECT_EQ(PlotRenderer::seriesColour(-1), QColor(Qt::darkRed));
    EXPECT_EQ(PlotRenderer::seriesLineStyle(7), Qt::DotLine);

    ViewerStyle style = plainStyle();
    style.curvePenWidths = { 1 };
    const QImage image
        = render(style, PlotBounds {}, { { 0, { 0, 5, 10, 5 } }, { 5, { 0, 2, 10, 2 } } });
    EXPECT_EQ(pixelsOf(image, black, QRect(500, 290, 1, 20)), 1); // width 1
    EXPECT_EQ(pixelsOf(image, QColor(Qt::darkRed), QRect(500, 445, 1, 20)), 3); // default 3
}

TEST(Series, LaterIdsAreDrawnOverEarlierOnes)
{
    CurveStore curves; // both solid (ids 0 and 5); 5 is stored first but drawn last
    curves[5] = { 0, 5, 10, 5 };
    curves[0] = { 0, 5, 10, 5 };
    const QImage image = render(plainStyle(), PlotBounds {}, curves);
    EXPECT_EQ(image.pixelColor(500, 299), QColor(Qt::darkRed));
}

TEST(Series, PointsBeyondThePixelLimitOrNotFiniteAreLeftOutAndTheLineJoinsTheirNeighbours)
{
    // y = 2 maps to row 455; the middle points map 5e7 pixels up, or to nowhere.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double far : { 1e6, nan }) {
        const QImage image
            = render(plainStyle(), PlotBounds {}, { { 5, { 0, 2, 5, far, 10, 2 } } });
        EXPECT_EQ(pixelsOf(image, Qt::darkRed, QRect(61, 454, 918, 3)), 918 * 3) << far;
        EXPECT_EQ(pixelsOf(image, Qt::darkRed, QRect(61, 41, 918, 400)), 0) << far;
    }
    // A window of zero width maps every point to a non-finite pixel.
    const QImage flat
        = render(plainStyle(), PlotBounds { 5, 5, 5, 0, 10, 5 }, { { 5, { 5, 2, 5, 8 } } });
    EXPECT_EQ(pixelsOf(flat, Qt::darkRed, QRect(0, 0, 1000, 600)), 0);
}

TEST(Series, OddValuesAndTooShortCurvesDrawOnlyCompletePairs)
{
    const QImage image = render(
        plainStyle(), PlotBounds {}, { { 5, { 0, 2, 10, 2, 5 } }, { 2, { 3 } }, { 4, { 4, 4 } } });
    EXPECT_EQ(pixelsOf(image, Qt::darkRed, QRect(61, 454, 918, 3)), 918 * 3);
    EXPECT_EQ(pixelsOf(image, Qt::darkRed, QRect(0, 0, 1000, 600)), 918 * 3);
    EXPECT_EQ(pixelsOf(image, Qt::red, QRect(0, 0, 1000, 600)), 0); // one point: no line
}

TEST(Legend, BoxRowsAndTextsSitAtTheirPixelsAndHideTheCurvesBelow)
{
    // The box is (865, 45, 110, 80); a curve runs through it on row 100 (y = 8.84).
    const QImage image = render(testStyle(), PlotBounds {}, { { 5, { 0, 8.84, 10, 8.84 } } });
    EXPECT_EQ(pixelsOf(image, black, QRect(865, 45, 1, 80)), 77); // the curve crosses it
    EXPECT_EQ(pixelsOf(image, black, QRect(974, 45, 1, 80)), 77);
    EXPECT_EQ(image.pixelColor(865, 100), QColor(Qt::darkRed));
    EXPECT_EQ(pixelsOf(image, Qt::white, QRect(866, 90, 108, 34)), 108 * 34); // below the rows
    EXPECT_EQ(image.pixelColor(700, 100), QColor(Qt::darkRed));
    // Row r: a sample line from box left + 6 to + 36 on box top + 11 + 15 r, then its text
    // (label2 + " Myr", "model") from box left + 46.
    EXPECT_EQ(pixelsOf(image, black, QRect(872, 55, 29, 3)), 29 * 3);
    EXPECT_EQ(image.pixelColor(873, 71), QColor(Qt::blue));
    EXPECT_GT(darkPixels(image, QRect(911, 50, 50, 12)), 10);
    EXPECT_GT(darkPixels(image, QRect(911, 65, 50, 12)), 10);
    EXPECT_EQ(darkPixels(image, QRect(866, 60, 44, 8)), 0);
}

TEST(PlotFont, IsTheHelveticaMetricSansAtElevenPixels)
{
    const QFont font = PlotRenderer::plotFont();
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(font).pixelSize(), 11);
}

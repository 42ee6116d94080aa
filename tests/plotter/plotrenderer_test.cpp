#include "plotrenderer.h"

#include "recordingdevice.h"
#include "teststyle.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <limits>
#include <set>

namespace {

const QSize surface(1000, 600);
const QColor background(224, 232, 240);
const QColor grid = background.darker(200);
const PlotLabels labels{QStringLiteral("0.5"), QStringLiteral("10")};

QImage render(const ViewerStyle& style, const PlotBounds& bounds, const CurveStore& curves = {})
{
    QImage image(surface, QImage::Format_ARGB32);
    image.fill(background);
    QPainter painter(&image);
    const PlotRenderer renderer(style, surface, bounds, labels, background);
    renderer.drawFrame(painter);
    renderer.drawSeries(painter, curves);
    return image;
}

// Draws onto a recording device that keeps the texts and polylines.
std::unique_ptr<RecordingDevice> record(const ViewerStyle& style, const PlotBounds& bounds,
                                        const CurveStore& curves = {})
{
    auto device = std::make_unique<RecordingDevice>(surface);
    QPainter painter(device.get());
    const PlotRenderer renderer(style, surface, bounds, labels, background);
    renderer.drawFrame(painter);
    renderer.drawSeries(painter, curves);
    return device;
}

QColor at(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Columns (rows) strictly inside the frame that hold at least 100 pixels of the grid colour.
std::set<int> gridColumns(const QImage& image)
{
    std::set<int> columns;
    for (int x = 61; x < 979; ++x) {
        int count = 0;
        for (int y = 41; y < 559; ++y)
            count += at(image, x, y) == grid;
        if (count >= 100)
            columns.insert(x);
    }
    return columns;
}

std::set<int> gridRows(const QImage& image)
{
    std::set<int> rows;
    for (int y = 41; y < 559; ++y) {
        int count = 0;
        for (int x = 61; x < 979; ++x)
            count += at(image, x, y) == grid;
        if (count >= 100)
            rows.insert(y);
    }
    return rows;
}

bool anyPixelOf(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (at(image, x, y) == colour)
                return true;
    return false;
}

// Where the baselines of the tick labels lie: under the x ticks (the labels' boxes start at
// y = 564), and left of the y ticks (their boxes end at x = 55).
const QRectF xLabelBand(0, 566, 1000, 18);
const QRectF yLabelBand(0, 30, 56, 540);

std::vector<QString> strings(std::initializer_list<const char*> texts)
{
    std::vector<QString> result;
    for (const char* text : texts)
        result.push_back(QString::fromUtf8(text));
    return result;
}

} // namespace

TEST(Frame, GridLinesAndFrameLieOnTheIntegerTickPositions)
{
    const QImage image = render(plainStyle(), PlotBounds{});
    // 60 + 919 i / 5 and 559 - 519 j / 5, truncated; the outer ones are the frame's edges.
    EXPECT_EQ(gridColumns(image), (std::set<int>{243, 427, 611, 795}));
    EXPECT_EQ(gridRows(image), (std::set<int>{456, 352, 248, 144}));
    for (int y = 40; y <= 559; ++y) {
        ASSERT_EQ(at(image, 60, y), QColor(Qt::black)) << y;
        ASSERT_EQ(at(image, 979, y), QColor(Qt::black)) << y;
    }
    for (int x = 60; x <= 979; ++x) {
        ASSERT_EQ(at(image, x, 40), QColor(Qt::black)) << x;
        ASSERT_EQ(at(image, x, 559), QColor(Qt::black)) << x;
    }
    // Tick marks reach 5 pixels beyond the frame.
    for (const int x : {60, 243, 427, 611, 795, 979})
        EXPECT_EQ(at(image, x, 564), QColor(Qt::black)) << x;
    for (const int y : {559, 456, 352, 248, 144, 40})
        EXPECT_EQ(at(image, 55, y), QColor(Qt::black)) << y;
    EXPECT_NE(at(image, 100, 564), QColor(Qt::black));
}

TEST(Frame, TickLabelsShowTheDataValuesInSixDigits)
{
    const auto device = record(plainStyle(), PlotBounds{0, 12500, 5, -50000, 0, 5});
    EXPECT_EQ(device->textsIn(xLabelBand), strings({"0", "2500", "5000", "7500", "10000", "12500"}));
    EXPECT_EQ(device->textsIn(yLabelBand),
              strings({"-50000", "-40000", "-30000", "-20000", "-10000", "0"}));
}

TEST(Frame, ATickNextToZeroIsLabelledZero)
{
    // 1 x 0.30000000000000004 / 3 - 0.1 leaves 1.4e-17 where the axis crosses zero.
    const auto device = record(plainStyle(), PlotBounds{0, 0.3, 3, -0.1, 0.2, 3});
    EXPECT_EQ(device->textsIn(yLabelBand), strings({"-0.1", "0", "0.1", "0.2"}));
    EXPECT_EQ(device->textsIn(xLabelBand), strings({"0", "0.1", "0.2", "0.3"}));

    EXPECT_EQ(PlotRenderer::tickLabel(0.30000000000000004, 0.1), "0.3");
    EXPECT_EQ(PlotRenderer::tickLabel(5.55112e-17, 0.1), "0");
    EXPECT_EQ(PlotRenderer::tickLabel(-1e-3, 0.1), "-0.001");
    EXPECT_EQ(PlotRenderer::tickLabel(1e-9, 1e-6), "1e-09"); // small steps keep small values
    EXPECT_EQ(PlotRenderer::tickLabel(1234567, 1), "1.23457e+06");
}

TEST(Frame, TitleAndCaptionsCarryTheStyleTextsAndTheYCaptionIsTurned)
{
    const auto device = record(testStyle(), PlotBounds{});
    std::map<QString, RecordedText> byText;
    for (const RecordedText& text : device->texts())
        byText[text.text] = text;
    ASSERT_TRUE(byText.count("TEST PLOT, RATE = 0.5 mm/yr"));
    ASSERT_TRUE(byText.count("Temperature (C)"));
    ASSERT_TRUE(byText.count("Depth (m)"));
    EXPECT_TRUE(byText["TEST PLOT, RATE = 0.5 mm/yr"].transform.isIdentity());
    // The caption starts 360 pixels below the top edge and reads upwards.
    const RecordedText& yCaption = byText["Depth (m)"];
    const QPointF start = yCaption.transform.map(yCaption.baseline);
    EXPECT_NEAR(start.y(), 360, 0.5);
    EXPECT_GT(start.x(), 0);
    EXPECT_LT(start.x(), 17);
    EXPECT_LT(yCaption.transform.map(yCaption.baseline + QPointF(10, 0)).y(), start.y());
}

TEST(Frame, EveryFourthYTickGetsGridAndLabelWhenTheStyleSaysSo)
{
    ViewerStyle style = plainStyle();
    style.yGridEvery = 4;
    const PlotBounds bounds{0, 10, 5, 0, 10, 10};
    EXPECT_EQ(record(style, bounds)->textsIn(yLabelBand), strings({"0", "4", "8"}));
    const QImage image = render(style, bounds);
    EXPECT_EQ(gridRows(image), (std::set<int>{352, 144})); // j = 4 and 8; j = 0 is the frame
    for (int j = 0; j <= 10; ++j)
        EXPECT_EQ(at(image, 57, 559 - 519 * j / 10), QColor(Qt::black)) << j;
}

TEST(Frame, AnAxisWithoutPositiveTickCountHasNoTicksButTheFrameStays)
{
    for (const PlotBounds& bounds : {PlotBounds{0, 10, 0, 0, 10, -1}, PlotBounds{0, 10, -3, 0, 10, 0}}) {
        const auto device = record(plainStyle(), bounds);
        EXPECT_TRUE(device->textsIn(xLabelBand).empty());
        EXPECT_TRUE(device->textsIn(yLabelBand).empty());
        EXPECT_EQ(device->texts().size(), 3u); // title and both captions
        const QImage image = render(plainStyle(), bounds);
        EXPECT_TRUE(gridColumns(image).empty());
        EXPECT_EQ(at(image, 60, 300), QColor(Qt::black));
        EXPECT_EQ(at(image, 500, 559), QColor(Qt::black));
    }
}

TEST(Series, CurvesAreDrawnInTheirIdColourAndClippedInsideTheFrame)
{
    // y = 5 lies on pixel row 559 - 259.5 = 299; the curve runs beyond both ends of the window.
    const QImage image = render(plainStyle(), PlotBounds{}, {{1, {-5, 5, 15, 5}}});
    for (const int y : {298, 299, 300})
        EXPECT_EQ(at(image, 500, y), QColor(Qt::blue)) << y;
    EXPECT_EQ(at(image, 61, 299), QColor(Qt::blue));
    EXPECT_EQ(at(image, 978, 299), QColor(Qt::blue));
    EXPECT_EQ(at(image, 60, 299), QColor(Qt::black)); // the frame is not painted over
    EXPECT_EQ(at(image, 979, 299), QColor(Qt::black));
    EXPECT_EQ(at(image, 59, 299), background);
    EXPECT_EQ(at(image, 985, 299), background);
    EXPECT_EQ(at(image, 500, 297), background);
    EXPECT_EQ(at(image, 500, 301), background);
}

TEST(Series, PensFollowTheIdAndTheStyleWidths)
{
    EXPECT_EQ(PlotRenderer::seriesColour(0), QColor(Qt::black));
    EXPECT_EQ(PlotRenderer::seriesColour(3), QColor(Qt::green));
    EXPECT_EQ(PlotRenderer::seriesColour(11), QColor(Qt::darkRed));
    EXPECT_EQ(PlotRenderer::seriesColour(-1), QColor(Qt::darkRed));
    EXPECT_EQ(PlotRenderer::seriesLineStyle(7), Qt::DotLine);
    EXPECT_EQ(PlotRenderer::seriesLineStyle(-1), Qt::DashDotDotLine);

    ViewerStyle style = plainStyle();
    style.curvePenWidths = {1};
    const auto device = record(style, PlotBounds{}, {{0, {0, 5, 10, 5}}, {4, {0, 2, 10, 2}}});
    ASSERT_EQ(device->polylines().size(), 2u);
    EXPECT_EQ(device->polylines()[0].pen.width(), 1);
    EXPECT_EQ(device->polylines()[1].pen.width(), 3);
    EXPECT_EQ(device->polylines()[1].pen.color(), QColor(Qt::red));
    EXPECT_EQ(device->polylines()[1].pen.style(), Qt::DashDotDotLine);

    const QImage image = render(style, PlotBounds{}, {{0, {0, 5, 10, 5}}});
    EXPECT_EQ(at(image, 500, 299), QColor(Qt::black));
    EXPECT_EQ(at(image, 500, 298), background);
    EXPECT_EQ(at(image, 500, 300), background);
}

TEST(Series, LaterIdsAreDrawnOverEarlierOnes)
{
    // Both solid (ids 0 and 5); 5 is stored first but drawn last.
    CurveStore curves;
    curves[5] = {0, 5, 10, 5};
    curves[0] = {0, 5, 10, 5};
    const QImage image = render(plainStyle(), PlotBounds{}, curves);
    EXPECT_EQ(at(image, 500, 299), QColor(Qt::darkRed));
}

TEST(Series, PointsBeyondThePixelLimitAreLeftOutAndTheLineJoinsTheirNeighbours)
{
    const CurveStore curves{{1, {0, 2, 5, 1e6, 10, 2}}};
    const auto device = record(plainStyle(), PlotBounds{}, curves);
    ASSERT_EQ(device->polylines().size(), 1u);
    // y = 2 maps to 559 - 103.8, truncated to 455; vertices sit on pixel centres.
    EXPECT_EQ(device->polylines()[0].points,
              (std::vector<QPointF>{QPointF(60.5, 455.5), QPointF(979.5, 455.5)}));
    const QImage image = render(plainStyle(), PlotBounds{}, curves);
    EXPECT_EQ(at(image, 500, 455), QColor(Qt::blue));

    // Just inside the limit a point is kept.
    const double justInside = (32767.0 - 60.0) / 91.9;
    EXPECT_EQ(record(plainStyle(), PlotBounds{}, {{1, {0, 2, justInside, 2}}})->polylines()[0].points.size(), 2u);
}

TEST(Series, OddValuesAndTooShortCurvesDrawOnlyCompletePairs)
{
    const auto device = record(plainStyle(), PlotBounds{}, {{0, {0, 2, 10, 2, 5}}, {1, {3}}, {2, {}}});
    ASSERT_GE(device->polylines().size(), 1u);
    EXPECT_EQ(device->polylines()[0].points.size(), 2u);
    for (std::size_t i = 1; i < device->polylines().size(); ++i)
        EXPECT_TRUE(device->polylines()[i].points.empty());
    const QImage image = render(plainStyle(), PlotBounds{}, {{1, {3}}, {2, {4, 4}}});
    EXPECT_FALSE(anyPixelOf(image, Qt::blue));
}

TEST(Series, AWindowOfZeroSpanOrNonFinitePointsDrawNoCurve)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QImage flat = render(plainStyle(), PlotBounds{5, 5, 5, 0, 10, 5}, {{1, {5, 2, 5, 8}}});
    EXPECT_FALSE(anyPixelOf(flat, Qt::blue));
    const auto device = record(plainStyle(), PlotBounds{}, {{1, {0, 2, nan, 3, 10, 2, 4, nan}}});
    EXPECT_EQ(device->polylines()[0].points.size(), 2u);
}

TEST(Legend, BoxRowsAndTextsSitAtTheirPixelsAndHideTheCurvesBelow)
{
    // A curve through the legend box at pixel row 100 (y = 8.84).
    const CurveStore curves{{1, {0, 8.84, 10, 8.84}}};
    const QImage image = render(testStyle(), PlotBounds{}, curves);
    const QRect box(865, 45, 110, 80);
    EXPECT_EQ(at(image, box.left(), 60), QColor(Qt::black));
    EXPECT_EQ(at(image, box.right(), 60), QColor(Qt::black));
    EXPECT_EQ(at(image, 900, box.top()), QColor(Qt::black));
    EXPECT_EQ(at(image, 900, box.bottom()), QColor(Qt::black));
    EXPECT_EQ(at(image, 960, 100), QColor(Qt::white));
    EXPECT_EQ(at(image, 700, 100), QColor(Qt::blue));
    // Row r: a sample line from box left + 6 to + 36 on box top + 11 + 15 r.
    EXPECT_EQ(at(image, 880, 56), QColor(Qt::black));
    EXPECT_EQ(at(image, 872, 71), QColor(Qt::blue));
    EXPECT_EQ(at(image, 880, 66), QColor(Qt::white));

    const auto device = record(testStyle(), PlotBounds{}, curves);
    std::vector<QString> rows = device->textsIn(QRectF(box.left() + 40, box.top(), 70, 80));
    EXPECT_EQ(rows, strings({"10 Myr", "model"}));
    for (const RecordedText& text : device->texts()) {
        if (text.text == "model") {
            EXPECT_EQ(text.baseline, QPointF(box.left() + 46, 71 + 5));
        }
    }
}

#include "plotlayout.h"

#include <gtest/gtest.h>

TEST(PlotLayout, WindowCornersMapOntoTheFrameEdges)
{
    const PlotLayout layout(QSize(1000, 600));
    const PlotBounds bounds { -50000, 0, 5, 0, 1300, 13 };
    EXPECT_EQ(layout.toPixel(bounds, -50000, 0), QPointF(60, 559));
    EXPECT_EQ(layout.toPixel(bounds, 0, 1300), QPointF(979, 40));
    EXPECT_EQ(layout.toPixel(bounds, -25000, 650), QPointF(519.5, 299.5));
}

TEST(PlotLayout, BandMappingIsTheInverseOfTheSeriesMapping)
{
    const PlotLayout layout(QSize(1000, 600));
    const PlotBounds shown { -3, 7, 5, 100, 600, 5 };
    // A band over the whole frame selects the shown window itself.
    const auto whole = layout.windowOfBand(shown, QRect(QPoint(60, 40), QPoint(979, 559)));
    ASSERT_TRUE(whole);
    EXPECT_DOUBLE_EQ(whole->xMin, -3);
    EXPECT_DOUBLE_EQ(whole->xMax, 7);
    EXPECT_DOUBLE_EQ(whole->yMin, 100);
    EXPECT_DOUBLE_EQ(whole->yMax, 600);

    // Each corner of an inner band maps back onto the pixel it came from.
    const QRect band(QPoint(200, 100), QPoint(700, 450));
    const auto part = layout.windowOfBand(shown, band);
    ASSERT_TRUE(part);
    const QPointF topLeft = layout.toPixel(shown, part->xMin, part->yMax);
    const QPointF bottomRight = layout.toPixel(shown, part->xMax, part->yMin);
    EXPECT_NEAR(topLeft.x(), 200, 1e-9);
    EXPECT_NEAR(topLeft.y(), 100, 1e-9);
    EXPECT_NEAR(bottomRight.x(), 700, 1e-9);
    EXPECT_NEAR(bottomRight.y(), 450, 1e-9);

    // Outside the frame nothing is clamped.
    const auto beyond = layout.windowOfBand(shown, QRect(QPoint(0, 0), QPoint(999, 599)));
    ASSERT_TRUE(beyond);
    EXPECT_LT(beyond->xMin, -3);
    EXPECT_GT(beyond->yMax, 600);
}

TEST(PlotLayout, ASurfaceWithoutPlotAreaMapsNoBand)
{
    for (const QSize size : { QSize(81, 600), QSize(1000, 81), QSize(40, 40), QSize(0, 0) }) {
        const PlotLayout layout(size);
        EXPECT_FALSE(layout.hasPlotArea()) << size.width() << " x " << size.height();
        EXPECT_FALSE(layout.windowOfBand(PlotBounds {}, QRect(0, 0, 10, 10)));
    }
    EXPECT_TRUE(PlotLayout(QSize(82, 82)).hasPlotArea());
}

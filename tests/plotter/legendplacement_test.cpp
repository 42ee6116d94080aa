// Legends that keep clear of the data: the choice of a free corner, and the legend that moves
// beside or under a plot full of data.

#include "legendplacement.h"
#include "plotrenderer.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QSize surface(1000, 600);
const PlotLayout layout(surface);
const PlotBounds unit { .xMin = 0, .xMax = 1, .xTicks = 5, .yMin = 0, .yMax = 1, .yTicks = 5 };
const QRect topRight(865, 45, 110, 80);

} // namespace

TEST(LegendPlacement, ChoosesTheFirstFreePlaceInTheOrderOfPreference)
{
    struct Case {
        const char* name;
        std::vector<double> points;
        QPoint corner;
    };
    const std::vector<Case> cases {
        { "free everywhere: the anchor", { 0.5, 0.5, 0.51, 0.5 }, topRight.topLeft() },
        { "data top right: top left", { 0.8, 0.95, 1, 0.95 }, { 65, 45 } },
        { "along the top: bottom right", { 0, 0.95, 1, 0.95 }, { 865, 475 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(placeLegend(topRight, layout, unit, { { 0, c.points } }, {}).topLeft(), c.corner);
    }
}

TEST(LegendPlacement, ALegendWithNoFreePlaceInsideStandsBesideOrUnderThePlot)
{
    // Markers over the whole plot: no place inside is free; six rows of legend.
    PlotState state;
    state.history.reset(unit);
    for (int i = 0; i <= 400; ++i)
        state.curves[0].insert(state.curves[0].end(), { i / 20 / 20.0, i % 20 / 20.0 });
    state.style.curveStyles[0] = { .lineStyle = Qt::NoPen, .marker = MarkerShape::Circle };
    state.style.legend = LegendAnchor { .sizedToRows = true, .clearOfData = true };
    state.style.legendRows.assign(6, { .text = QStringLiteral("a row of the legend") });
    for (const auto& [size, beside] : { std::pair { surface, true }, { QSize(300, 600), false } }) {
        const PlotRenderer renderer(state, size, Qt::white);
        QImage image(size, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.setFont(PlotRenderer::plotFont());
        const QRect box = renderer.legendBoxFor(painter);
        const QRect plot = renderer.layout().plotRect();
        EXPECT_EQ(box.left() > plot.right(), beside);
        EXPECT_EQ(box.top() > plot.bottom(), !beside);
        EXPECT_EQ(PlotRenderer::layoutOf(state, size).plotRect(), plot); // the mouse agrees
        EXPECT_EQ(
            hiddenData(box, renderer.layout(), unit, state.curves, state.style.curveStyles), 0.0);
    }
}

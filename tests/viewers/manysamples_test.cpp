// The age plots at the size of a published data set (55 samples): in every kind, at the window's
// size and at a journal column's, the legend hides none of the data; the measured ages at the
// best rate stand apart.

#include "agesviewer.h"
#include "legendplacement.h"
#include "plotrenderer.h"

#include "manysamples.h"

#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ManySamples : public ::testing::Test {
protected:
    ManySamples() { writeManySamples(QDir(dir.path())); }
    PlotState state(const QStringList& arguments) const
    {
        QStringList withPaths { arguments.front() };
        for (const QString& file : arguments.mid(1))
            withPaths << QDir(dir.path()).filePath(file);
        return firstPlotState(agesViewer(), withPaths, QDir(dir.path()));
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ManySamples, NoLegendHidesDataAtTheWindowsSizeOrAJournalColumns)
{
    const std::vector<QStringList> kinds {
        { "rate", "ages.csv", "observed.csv", "fit.csv" },
        { "misfit", "fit.csv" },
        { "elevation", "profile_ages.csv", "observed.csv", "fit.csv" },
        { "path", "path.csv", "path_ages.csv" },
        { "residuals", "residuals.csv" },
        { "history", "history_fit.csv" },
        { "history", "posterior.csv" },
        { "profile", "change_profile.csv" },
    };
    // The window, and 85 x 60 mm at 150 dpi with 7 pt text: the window's drawing at 376 x 266.
    for (const QSize size : { QSize(1000, 600), QSize(376, 266) })
        for (const QStringList& kind : kinds) {
            SCOPED_TRACE(kind.join(' ').toStdString() + " at " + std::to_string(size.width()));
            const PlotState plot = state(kind);
            const PlotRenderer renderer(plot, size, Qt::white);
            QImage image(size, QImage::Format_RGB32);
            QPainter painter(&image);
            painter.setFont(PlotRenderer::plotFont());
            const QRect legend = renderer.legendBoxFor(painter);
            EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(legend));
            EXPECT_EQ(hiddenData(legend, renderer.layout(), plot.history.shown(), plot.curves,
                          plot.style.curveStyles),
                0.0);
        }
}

TEST_F(ManySamples, TheMeasuredAgesStandApartAtTheBestRateAndOnlyMeasuredSystemsAreDrawn)
{
    const PlotState plot = state({ "rate", "ages.csv", "observed.csv", "fit.csv" });
    const PlotLayout layout(QSize(1000, 600));
    std::vector<QPointF> centres;
    for (const LegendRow& row : plot.style.legendRows) {
        EXPECT_FALSE(row.text.startsWith("ZHe")); // predicted, never measured
        const CurveStyle& style = plot.style.curveStyles.at(row.curve);
        const std::vector<double>& points = plot.curves.at(row.curve);
        for (std::size_t k = 0; row.text.contains("measured") && k < points.size() / 2; ++k) {
            EXPECT_EQ(points[2 * k], points[0]); // all at the best rate
            EXPECT_GT(style.yErrors.at(k), 0.0); // with one sigma
            centres.push_back(layout.toPixel(plot.history.shown(), points[2 * k], points[2 * k + 1])
                + QPointF(style.xPixelOffsets.at(k), 0));
        }
    }
    EXPECT_EQ(centres.size(), std::size_t { manysamples::aheCount + manysamples::aftCount });
    // No two markers (8 pixels across) closer than half their size: none merges with another.
    for (std::size_t i = 0; i < centres.size(); ++i)
        for (std::size_t j = i + 1; j < centres.size(); ++j)
            EXPECT_GE(QLineF(centres[i], centres[j]).length(), 4.0) << i << ", " << j;
}

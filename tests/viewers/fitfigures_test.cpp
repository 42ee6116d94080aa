// The pictures of a fit's lengths, of a history fit's misfit over two parameters and of its
// profile along elevation, from small files whose answers are known in closed form.

#include "agesviewer.h"
#include "lengthplot.h"
#include "agemapplot.h"
#include "misfitmap.h"
#include "plotter.h"

#include "fixturetree.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace {

class FitFigures : public ::testing::Test {
protected:
    QString put(const QString& name, const QByteArray& text) const
    {
        tree.write(name, text);
        return tree.outputPath(name);
    }
    FirstView start(const QStringList& arguments) const
    {
        return startAgePlots(arguments, tree.runDir());
    }
    FixtureTree tree;
};

// A predicted block of 200 bins of 0.1 um: an equal share in each bin from lowUm to highUm.
QByteArray uniformBins(const QByteArray& sample, double lowUm, double highUm)
{
    QByteArray text;
    const int first = static_cast<int>(std::lround(lowUm * 10));
    const int last = static_cast<int>(std::lround(highUm * 10));
    for (int k = 0; k < 200; ++k) {
        const double share = k >= first && k < last ? 1.0 / (last - first) : 0.0;
        text += sample + ',' + QByteArray::number((k + 0.5) * 0.1) + ','
            + QByteArray::number(share, 'g', 17) + ',' + QByteArray::number(share, 'g', 17) + '\n';
    }
    return text;
}

const QByteArray predictedHeader = "sample,length_um,pdf_projected,pdf_unprojected\n";

// Stephens' (1970) p of the Kolmogorov-Smirnov D of n values:
// Q_KS((sqrt(n) + 0.12 + 0.11 / sqrt(n)) D), Q_KS(L) = 2 sum_j (-1)^(j-1) exp(-2 j^2 L^2).
double stephensP(double d, int n)
{
    const double root = std::sqrt(static_cast<double>(n));
    const double l = (root + 0.12 + 0.11 / root) * d;
    double sum = 0;
    for (int j = 1; j <= 100; ++j)
        sum += (j % 2 ? 1.0 : -1.0) * std::exp(-2.0 * j * j * l * l);
    return std::clamp(2 * sum, 0.0, 1.0);
}

// The points of curve (x0, y0, ...) as pairs.
std::vector<std::pair<double, double>> pairs(const std::vector<double>& curve)
{
    std::vector<std::pair<double, double>> points;
    for (std::size_t k = 0; k + 1 < curve.size(); k += 2)
        points.emplace_back(curve[k], curve[k + 1]);
    return points;
}

} // namespace

TEST(BinnedCdf, IsLinearWithinEachBin)
{
    std::vector<double> bins(200, 0.0);
    bins[120] = 0.25; // 12.0 to 12.1 um
    bins[121] = 0.75;
    for (const auto& [length, share] : std::vector<std::pair<double, double>> {
             { 11.0, 0.0 }, { 12.05, 0.125 }, { 12.1, 0.25 }, { 12.15, 0.625 }, { 19.0, 1.0 } })
        EXPECT_NEAR(binnedCdf(bins, length), share, 1e-12) << length;
}

// Five tracks under an even distribution from 12 to 14 um: the curve holds five tracks, the
// histogram counts them, and the legend gives the moments and Stephens' p.
TEST_F(FitFigures, TheLengthsPanelScalesThePdfToTheCount)
{
    const QString lengths = put("lengths.csv", "sample,length_um\nA,12.5\nA,13.0\nA,13.2\nA,13.8\nA,15.0\n");
    const QString predicted = put("predicted.csv", predictedHeader + uniformBins("A", 12, 14));
    const FirstView view = start({ "lengths", lengths, predicted });
    ASSERT_EQ(view.curves.size(), 2u); // histogram, predicted
    double integral = 0;
    for (const auto& [x, y] : pairs(view.curves[1]))
        integral += 0.1 * y; // over 0.1 um bins
    EXPECT_NEAR(integral, 5.0, 1e-9);
    // The histogram's step over 13 to 14 um holds three tracks (13.0, 13.2, 13.8), 15 to 16 one.
    const auto steps = pairs(view.curves[0]);
    EXPECT_NE(std::ranges::find(steps, std::pair { 13.0, 3.0 }), steps.end());
    EXPECT_NE(std::ranges::find(steps, std::pair { 15.0, 1.0 }), steps.end());
    // D of the five against F(l) = (l - 12) / 2 on [12, 14]: the largest of i/n - F and
    // F - (i-1)/n; here at 13.8 um, 4/5 - 0.9 < 0 and 0.9 - 3/5 = 0.3.
    const double d = 0.3;
    const QString predictedRow = view.style->legendRows[1].text;
    EXPECT_TRUE(predictedRow.contains(QStringLiteral("MTL 13.00 SD 0.58 um"))) << predictedRow.toStdString();
    EXPECT_TRUE(predictedRow.contains(QStringLiteral("K-S p %1").arg(stephensP(d, 5), 0, 'f', 2)))
        << predictedRow.toStdString();
    EXPECT_TRUE(view.style->legendRows[0].text.startsWith(
        QStringLiteral("A (5 unprojected): MTL 13.50 SD 0.96 um")))
        << view.style->legendRows[0].text.toStdString();
}

// Tracks with angles and without of one sample, and a second sample: a panel each, stacked.
TEST_F(FitFigures, SeveralSetsOfTracksStandInPanelsOfTheirOwn)
{
    const QString lengths = put("lengths.csv",
        "sample,length_um,angle_deg\nA,13,30\nA,14,60\nA,12,\nB,11,\nB,11.5,\n");
    const QString predicted = put("predicted.csv",
        predictedHeader + uniformBins("A", 12, 15) + uniformBins("B", 10, 12));
    const FirstView view = start({ "lengths", lengths, predicted });
    ASSERT_EQ(view.curves.size(), 6u); // A projected, A unprojected, B: histogram and curve each
    for (std::size_t panel = 0; panel < 3; ++panel) {
        double lowest = INFINITY, highest = -INFINITY;
        for (const std::size_t c : { 2 * panel, 2 * panel + 1 })
            for (const auto& [x, y] : pairs(view.curves[c])) {
                lowest = std::min(lowest, y);
                highest = std::max(highest, y);
            }
        EXPECT_DOUBLE_EQ(lowest, static_cast<double>(panel)) << panel;
        EXPECT_NEAR(highest, panel + 0.9, 1e-12) << panel;
    }
    EXPECT_TRUE(view.style->legendRows[0].text.contains(QStringLiteral("c-axis projected")));
}

// chi2 = 100 ((x - 1)^2 + (y - 2)^2) on a grid of 0.05: the best point is the file's least chi2,
// and the outline at the highest chi2 in range (4, a circle of radius 0.2) keeps to that circle.
TEST_F(FitFigures, TheMisfitMapMarksTheLeastChi2AndOutlinesTheRange)
{
    QByteArray text = "start_1_ma,rate_1_mm_yr,base_temperature_c,chi2,in_range\n";
    for (int i = 0; i <= 20; ++i)
        for (int j = 0; j <= 20; ++j) {
            const double x = 0.5 + 0.05 * i, y = 1.5 + 0.05 * j;
            const double chi2 = 100 * ((x - 1) * (x - 1) + (y - 2) * (y - 2)) + 3;
            text += "20," + QByteArray::number(x) + ',' + QByteArray::number(y) + ','
                + QByteArray::number(chi2, 'g', 12) + (chi2 <= 7 + 1e-9 ? ",yes\n" : ",no\n");
        }
    const FirstView view = start({ "misfit-map", put("fit.csv", text) });
    ASSERT_FALSE(view.style->curveStyles.at(0).underlay.image.isNull());
    EXPECT_EQ(view.curves.back(), (std::vector<double> { 1.0, 2.0 })); // the best point
    int outlinePoints = 0;
    for (std::size_t c = 0; c < view.curves.size(); ++c) {
        if (view.style->curveStyles.at(static_cast<int>(c)).colour != QColor(Qt::white))
            continue;
        for (const auto& [x, y] : pairs(view.curves[c])) {
            EXPECT_NEAR(std::hypot(x - 1, y - 2), 0.2, 0.05) << x << ", " << y;
            ++outlinePoints;
        }
    }
    EXPECT_GT(outlinePoints, 20);
}

// Marching squares on one low cell among high ones: a closed diamond through the midpoints.
TEST(LevelOutline, OneCellBelowTheLevelIsADiamondAtTheMidpoints)
{
    const std::vector<double> cells { 9, 9, 9, 9, 0, 9, 9, 9, 9 };
    const auto lines = levelOutline(cells, 3, 3, 4.5, 0, 3, 0, 3);
    ASSERT_EQ(lines.size(), 1u);
    const auto points = pairs(lines[0]);
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points.front(), points.back()); // closed
    for (const auto& [x, y] : points)
        EXPECT_DOUBLE_EQ(std::fabs(x - 1.5) + std::fabs(y - 1.5), 0.5) << x << ", " << y;
}

// A history's profile along elevation of two grains: a curve each, named by its grain, on
// which the residuals' predictions at the samples' elevations lie.
TEST_F(FitFigures, TheHistoryProfileCurvesPassThroughTheSamplesPredictions)
{
    QByteArray profile = "system,method,radius_um,u_ppm,th_ppm,sm_ppm,dpar_um,elevation_m,age_ma,reset\n";
    const auto age = [](double radius, double elevation) { return 2 + elevation / 500 + radius / 100; };
    for (const double radius : { 60.0, 90.0 })
        for (int k = 0; k <= 10; ++k)
            profile += "AHe,diffusion," + QByteArray::number(radius) + ",10,10,0,,"
                + QByteArray::number(1000 + 100 * k) + ',' + QByteArray::number(age(radius, 1000 + 100 * k), 'g', 12)
                + ",yes\n";
    const QString observed = put("observed.csv",
        "sample,system,age_ma,sigma_ma,elevation_m\nS1,AHe,4.5,0.3,1250\nS2,AHe,5.2,0.3,1730\n");
    const QString residuals = put("residuals.csv",
        "sample,system,method,elevation_m,residual_sigma,predicted_age_ma,radius_um,u_ppm,th_ppm,sm_ppm\n"
        "S1,AHe,diffusion,1250,0," + QByteArray::number(age(60, 1250), 'g', 12) + ",60,10,10,0\n"
        "S2,AHe,diffusion,1730,0," + QByteArray::number(age(90, 1730), 'g', 12) + ",90,10,10,0\n");
    const FirstView view = start({ "elevation", put("profile.csv", profile), observed, residuals });
    ASSERT_GE(view.curves.size(), 4u); // two curves, the samples' predictions, the measured
    EXPECT_TRUE(view.style->legendRows[0].text.startsWith(QStringLiteral("AHe r=60 um eU=12.4 ppm")))
        << view.style->legendRows[0].text.toStdString();
    // Each sample's prediction lies on its grain's curve: linear between the curve's points.
    const auto onCurve = [](const std::vector<double>& curve, double x, double y) {
        const auto p = pairs(curve);
        for (std::size_t k = 1; k < p.size(); ++k)
            if ((y - p[k - 1].second) * (y - p[k].second) <= 0)
                return std::fabs(p[k - 1].first
                           + (p[k].first - p[k - 1].first) * (y - p[k - 1].second)
                               / (p[k].second - p[k - 1].second)
                           - x)
                    < 1e-9;
        return false;
    };
    EXPECT_TRUE(onCurve(view.curves[0], age(60, 1250), 1250));
    EXPECT_TRUE(onCurve(view.curves[1], age(90, 1730), 1730));
    EXPECT_FALSE(onCurve(view.curves[1], age(60, 1250), 1250));
}

// Each new picture renders headless through the widget's own path, with its marks on the canvas:
// the lengths' green curve over 12 to 14 um, the map's darkest colour at its least chi2, the
// profile's red AHe curve.
TEST_F(FitFigures, EachNewKindRendersOnTheCanvas)
{
    const QString lengths = put("lengths.csv", "sample,length_um\nA,12.5\nA,13.0\nA,13.2\n");
    const QString predicted = put("predicted.csv", predictedHeader + uniformBins("A", 12, 14));
    const QString fit = put("fit.csv",
        "start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr,chi2,in_range\n"
        "20,0.1,5,0.5,3,yes\n20,0.2,5,0.5,9,no\n20,0.1,10,0.5,9,no\n20,0.2,10,0.5,9,no\n");
    const QString profile = put("profile.csv",
        "system,method,radius_um,u_ppm,th_ppm,sm_ppm,dpar_um,elevation_m,age_ma,reset\n"
        "AHe,diffusion,60,10,10,0,,1000,3,yes\nAHe,diffusion,60,10,10,0,,2000,6,yes\n");
    struct Case {
        QStringList arguments;
        QString png;
        std::function<bool(const QColor&)> mark;
    };
    const QColor darkest = ageColour(0);
    for (const Case& c : std::vector<Case> {
             { { "lengths", lengths, predicted }, "lengths",
                 [](const QColor& p) { return p.green() > p.red() + 60 && p.green() > p.blue() + 60; } },
             { { "misfit-map", fit }, "misfit-map", [&](const QColor& p) { return p == darkest; } },
             { { "elevation", profile }, "elevation",
                 [](const QColor& p) { return p.red() > p.green() + 100 && p.red() > p.blue() + 100; } },
         }) {
        Plotter plotter;
        setUpPlotter(plotter, agesViewer(), c.arguments, tree.runDir());
        EXPECT_EQ(plotter.viewerStyle().pngPath, "../output/plots/image_ages_" + c.png + ".png");
        const QImage canvas = plotter.canvas().toImage();
        int pixels = 0; // below the legend, inside the frame
        for (int y = 120; y < 559; ++y)
            for (int x = 61; x < 700; ++x)
                pixels += c.mark(canvas.pixelColor(x, y));
        EXPECT_GT(pixels, 50) << c.png.toStdString();
    }
}

TEST_F(FitFigures, BadFilesAreRefusedInOneLine)
{
    const QString lengths = put("lengths.csv", "sample,length_um\nA,12.5\n");
    const QString other = put("other.csv", predictedHeader + uniformBins("B", 12, 14));
    const QString shifted = put("shifted.csv", predictedHeader + "A,0.1,0,0\n");
    const QString posterior = put("posterior.csv", "walker,step,start_1_ma,rate_1_mm_yr,chi2\n1,1,20,0.5,3\n");
    const QString onePhase = put("one.csv", "start_1_ma,rate_1_mm_yr,chi2,in_range\n20,0.5,3,yes\n");
    const QString noTrack = put("notrack.csv", "sample,length\nA,12\n");
    struct Case {
        QStringList arguments;
        std::string message;
    };
    for (const Case& c : std::vector<Case> {
             { { "lengths", lengths, other }, "holds no distribution of sample 'A'" },
             { { "lengths", lengths, shifted }, "line 2: length_um should be 0.05" },
             { { "lengths", noTrack, other }, "length_um" },
             { { "misfit-map", posterior }, "is a posterior" },
             { { "misfit-map", onePhase }, "without a fitted base" },
         }) {
        try {
            start(c.arguments);
            ADD_FAILURE() << c.message << ": not refused";
        } catch (const ViewerStartError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
            EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos) << error.what();
        }
    }
}

// The plots of a fit that cooling_ages made (rate, elevation, path): grains with their own
// chemistry whose measured ages are the program's own predictions stand on their grain's
// prediction, not on the curve of the options' grain.

#include "agesviewer.h"

#include "fixturetree.h"
#include "programrun.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// The fields of each line after the header of a CSV file without quoted fields.
std::vector<QStringList> csvRows(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<QStringList> rows;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty())
            rows.push_back(QString::fromUtf8(line).split(u','));
    rows.erase(rows.begin());
    return rows;
}

// A run directory with cooling_ages's files in ../output.
class FittedGrains : public testing::Test {
protected:
    void write(const QString& name, const QByteArray& text) const
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void runCoolingAges(const QStringList& arguments) const
    {
        const ProgramRun run = runProgram(
            QStringLiteral(COOLING_AGES), arguments, dir, headlessEnvironment(runtime.path()));
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }

    FixtureTree tree;
    QTemporaryDir runtime;
    const QDir dir { tree.runDir().filePath(QStringLiteral("../output")) };
};

} // namespace

TEST_F(FittedGrains, MeasuredAgesThatAreTheProgramsPredictionsStandOnTheirGrainsPrediction)
{
    const auto coolingAges = [&](const QStringList& extra) {
        runCoolingAges(QStringList { "transient", "-o", "12", "-r", "0.45", "--systems", "AHe,AFT",
                           "--output", "ages.csv", "--fit-output", "fit.csv", "--residuals",
                           "residuals.csv" }
            + extra);
    };
    // Grains far from the options' (60 um, 10 ppm U and Th, Dpar 1.75 um), two of them alike.
    const QStringList grains { "a,AHe,90,40,60,", "b,AHe,90,40,60,", "c,AHe,35,3,2,",
        "d,AFT,,,,2.6" };
    QByteArray placeholders = "sample,system,radius_um,u_ppm,th_ppm,dpar_um,age_ma,sigma_ma\n";
    for (const QString& grain : grains)
        placeholders += grain.toUtf8() + ",1,1\n";
    write("placeholders.csv", placeholders);
    coolingAges({ "--observed", "placeholders.csv" });
    // Their predicted ages as measurements, 5 % sigma, fitted again at the same rate.
    QByteArray measured = "sample,system,radius_um,u_ppm,th_ppm,dpar_um,age_ma,sigma_ma\n";
    const std::vector<QStringList> made = csvRows(dir.filePath("residuals.csv"));
    ASSERT_EQ(made.size(), static_cast<std::size_t>(grains.size()));
    for (std::size_t i = 0; i < made.size(); ++i)
        measured += grains[static_cast<qsizetype>(i)].toUtf8() + ',' + made[i][6].toUtf8() + ','
            + QByteArray::number(0.05 * made[i][6].toDouble()) + '\n';
    write("observed.csv", measured);
    coolingAges({ "--observed", "observed.csv" });

    const FirstView view = startAgePlots({ "rate", "../output/ages.csv", "../output/observed.csv",
                                             "../output/fit.csv", "../output/residuals.csv" },
        tree.runDir());
    ASSERT_TRUE(view.style);
    // The ages (y) of the rows whose legend holds word, each at the best rate (x).
    const auto agesOf = [&](const QString& word) {
        std::vector<double> ages;
        for (const LegendRow& row : view.style->legendRows) {
            if (!row.text.contains(word))
                continue;
            const std::vector<double>& points = view.curves.at(static_cast<std::size_t>(row.curve));
            for (std::size_t k = 0; k + 1 < points.size(); k += 2) {
                EXPECT_DOUBLE_EQ(points[k], 0.45);
                ages.push_back(points[k + 1]);
            }
        }
        std::ranges::sort(ages);
        return ages;
    };
    // Three grains: the two alike share a row.
    int grainRows = 0;
    for (const LegendRow& row : view.style->legendRows)
        grainRows += row.text.contains(QStringLiteral(" predicted ("));
    EXPECT_EQ(grainRows, 3);
    // Every measured age has a prediction at its own x equal to it, to the table's 6 digits.
    const std::vector<double> measuredAges = agesOf(QStringLiteral(" measured ("));
    const std::vector<double> predictedAges = agesOf(QStringLiteral(" predicted ("));
    ASSERT_EQ(measuredAges.size(), made.size());
    ASSERT_EQ(predictedAges.size(), measuredAges.size());
    for (std::size_t k = 0; k < measuredAges.size(); ++k)
        EXPECT_NEAR(predictedAges[k], measuredAges[k], 1e-5 * measuredAges[k]);
    // And the table's curve of the options' grain does not pass through them: the fault mended.
    const auto tableCurve = std::ranges::find(
        view.style->legendRows, QStringLiteral("AHe diffusion, option grain"), &LegendRow::text);
    ASSERT_NE(tableCurve, view.style->legendRows.end());
    const std::vector<double>& table = view.curves.at(static_cast<std::size_t>(tableCurve->curve));
    ASSERT_EQ(table.size(), 2u);
    for (std::size_t i = 0; i < 3; ++i) // the AHe samples
        EXPECT_GT(std::fabs(made[i][6].toDouble() - table[1]), 0.05 * made[i][6].toDouble());
}

// The elevation plot of a periodic fit: each sample's own grain predicted at its height, so that
// measured ages made by the program stand on their grain's curve (one row for the two grains
// alike, whose points are joined up the profile).
TEST_F(FittedGrains, TheElevationPlotDrawsEachSamplesGrainAtItsHeight)
{
    const auto coolingAges = [&](const QStringList& extra) {
        runCoolingAges(QStringList { "periodic", "-n", "41", "--mean-elevation", "2000",
                           "--systems", "AHe", "--output", "ages.csv", "--residuals",
                           "residuals.csv" }
            + extra);
    };
    const QStringList grains { "a,AHe,1500,90,40,60", "b,AHe,2600,90,40,60", "c,AHe,2000,35,3,2" };
    const QByteArray header = "sample,system,elevation_m,radius_um,u_ppm,th_ppm,age_ma,sigma_ma\n";
    QByteArray placeholders = header;
    for (const QString& grain : grains)
        placeholders += grain.toUtf8() + ",1,1\n";
    write("placeholders.csv", placeholders);
    coolingAges({ "-r", "0.6", "--observed", "placeholders.csv" });
    const std::vector<QStringList> made = csvRows(dir.filePath("residuals.csv"));
    ASSERT_EQ(made.size(), 3u);
    QByteArray measured = header;
    for (std::size_t i = 0; i < made.size(); ++i)
        measured += grains[static_cast<qsizetype>(i)].toUtf8() + ',' + made[i][6].toUtf8() + ",0.1\n";
    write("observed.csv", measured);
    // The sweep's best rate is the one that made them.
    coolingAges({ "--rates", "0.5:0.7:0.1", "--observed", "observed.csv", "--fit-output", "fit.csv" });

    const FirstView view = startAgePlots({ "elevation", "../output/ages.csv",
                                             "../output/observed.csv", "../output/fit.csv",
                                             "../output/residuals.csv" },
        tree.runDir());
    ASSERT_TRUE(view.style);
    std::vector<std::pair<double, double>> predicted; // (age, elevation)
    int rows = 0;
    for (const LegendRow& row : view.style->legendRows) {
        if (!row.text.contains(QStringLiteral(" predicted (")))
            continue;
        ++rows;
        const std::vector<double>& points = view.curves.at(static_cast<std::size_t>(row.curve));
        for (std::size_t k = 0; k + 1 < points.size(); k += 2)
            predicted.emplace_back(points[k], points[k + 1]);
    }
    EXPECT_EQ(rows, 2);
    ASSERT_EQ(predicted.size(), 3u);
    std::ranges::sort(predicted, {}, &std::pair<double, double>::second);
    // At the fit's best rate, as its residuals give them.
    const std::vector<QStringList> best = csvRows(dir.filePath("residuals.csv"));
    const double heights[] = { 1500, 2000, 2600 };
    const double ages[] = { best[0][6].toDouble(), best[2][6].toDouble(), best[1][6].toDouble() };
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_DOUBLE_EQ(predicted[k].second, heights[k]);
        EXPECT_NEAR(predicted[k].first, ages[k], 1e-5 * ages[k]);
    }
}

// The path plot of a history's samples: each grain's predicted age marked on the path itself,
// at the path's temperature then, a row per distinct grain.
TEST_F(FittedGrains, ThePathPlotMarksEachSamplesGrainOnThePath)
{
    write("observed.csv",
        "sample,system,radius_um,u_ppm,th_ppm,age_ma,sigma_ma\n"
        "a,AHe,90,40,60,3,0.3\nb,AHe,35,3,2,3,0.3\nc,ZHe,,,,8,0.8\n");
    runCoolingAges({ "history", "--erosion", "30:0.1,8:0.8", "--systems", "AHe,ZHe", "--observed",
        "observed.csv", "--output", "ages.csv", "--path-output", "path.csv", "--residuals",
        "residuals.csv" });

    const FirstView view = startAgePlots(
        { "path", "../output/path.csv", "../output/ages.csv", "../output/residuals.csv" },
        tree.runDir());
    ASSERT_TRUE(view.style);
    const std::vector<QStringList> path = csvRows(dir.filePath("path.csv"));
    const auto pathTemperature = [&](double timeMa) {
        for (std::size_t i = 1; i < path.size(); ++i) {
            const double t0 = path[i - 1][0].toDouble(), t1 = path[i][0].toDouble();
            if ((timeMa - t0) * (timeMa - t1) <= 0 && t0 != t1)
                return path[i - 1][1].toDouble()
                    + (path[i][1].toDouble() - path[i - 1][1].toDouble()) * (timeMa - t0) / (t1 - t0);
        }
        return std::nan("");
    };
    std::vector<double> marked;
    int rows = 0;
    for (const LegendRow& row : view.style->legendRows) {
        if (!row.text.contains(QStringLiteral(" predicted (")))
            continue;
        ++rows;
        const std::vector<double>& points = view.curves.at(static_cast<std::size_t>(row.curve));
        for (std::size_t k = 0; k + 1 < points.size(); k += 2) {
            EXPECT_NEAR(points[k + 1], pathTemperature(points[k]), 1e-6) << row.text.toStdString();
            marked.push_back(points[k]);
        }
    }
    EXPECT_EQ(rows, 3);
    std::vector<double> predicted;
    for (const QStringList& residual : csvRows(dir.filePath("residuals.csv")))
        predicted.push_back(residual[6].toDouble());
    std::ranges::sort(marked);
    std::ranges::sort(predicted);
    ASSERT_EQ(marked.size(), predicted.size());
    for (std::size_t k = 0; k < marked.size(); ++k)
        EXPECT_DOUBLE_EQ(marked[k], predicted[k]);
}

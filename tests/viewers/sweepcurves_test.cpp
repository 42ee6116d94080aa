// Each measured grain's curve along a rate sweep (cooling_ages --predictions, plot_ages rate's
// fifth file): the file's ages are the fit's own and the age table's for the grain, and the plot
// draws them as curves through the samples' predictions at the best rate.

#include "agesviewer.h"

#include "fixturetree.h"
#include "programrun.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

// A CSV file without quoted fields, read by column name.
struct Csv {
    QStringList header;
    std::vector<QStringList> rows;

    QString at(std::size_t row, const QString& name) const
    {
        const qsizetype column = header.indexOf(name);
        EXPECT_GE(column, 0) << name.toStdString();
        return column < 0 ? QString() : rows[row][column];
    }
};

Csv readCsv(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    Csv csv;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        const QStringList fields = QString::fromUtf8(line).split(u',');
        if (csv.header.isEmpty())
            csv.header = fields;
        else
            csv.rows.push_back(fields);
    }
    return csv;
}

// What names a grain in both files: system, method, the grain values and the elevation.
QString grainOfRow(const Csv& csv, std::size_t row, bool byElevation)
{
    QStringList key;
    for (const char* name :
        { "system", "method", "radius_um", "u_ppm", "th_ppm", "sm_ppm", "dpar_um" })
        key << csv.at(row, QString::fromLatin1(name));
    if (byElevation)
        key << csv.at(row, QStringLiteral("elevation_m"));
    return key.join(u'|');
}

// Grains of their own chemistry (the options' are 60 um, 10 ppm U and Th, Dpar 1.75 um), two of
// them alike, with ages a sweep from 0.3 to 0.6 mm/yr fits inside.
const QByteArray transientSamples
    = "sample,system,radius_um,u_ppm,th_ppm,dpar_um,age_ma,sigma_ma\n"
      "a,AHe,90,40,60,,4.5,0.4\nb,AHe,90,40,60,,4.9,0.4\nc,AHe,35,3,2,,3.6,0.4\n"
      "d,AFT,,,,2.6,7.0,0.7\n";
const QByteArray periodicSamples
    = "sample,system,elevation_m,radius_um,u_ppm,th_ppm,age_ma,sigma_ma\n"
      "a,AHe,1500,90,40,60,4.2,0.4\nb,AHe,2600,90,40,60,5.0,0.5\nc,AHe,2600,35,3,2,4.4,0.4\n";

class SweepCurves : public testing::Test {
protected:
    void write(const QString& name, const QByteArray& text) const
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    ProgramRun coolingAges(const QStringList& arguments) const
    {
        return runProgram(
            QStringLiteral(COOLING_AGES), arguments, dir, headlessEnvironment(runtime.path()));
    }
    // A transient sweep fitted to samples, its table, fit, residuals and predictions written.
    void fitTransient(const QByteArray& samples) const
    {
        write("observed.csv", samples);
        const ProgramRun run
            = coolingAges({ "transient", "-o", "12", "--rates", "0.3:0.6:0.05", "--systems",
                "AHe,AFT", "--observed", "observed.csv", "--output", "ages.csv", "--fit-output",
                "fit.csv", "--residuals", "residuals.csv", "--predictions", "predictions.csv" });
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    FirstView ratePlot(const QString& predictions = QStringLiteral("predictions.csv")) const
    {
        return startAgePlots(
            { "rate", "../output/ages.csv", "../output/observed.csv", "../output/fit.csv",
                "../output/residuals.csv", "../output/" + predictions },
            tree.runDir());
    }

    FixtureTree tree;
    QTemporaryDir runtime;
    const QDir dir { tree.runDir().filePath(QStringLiteral("../output")) };
};

} // namespace

// At the best rate, the one rate of the file that the sweep lacks, every sample's grain has the
// sample's predicted_age_ma of the residuals, which lies between the grain's ages at the sweep's
// rates either side (age falls with rate): in transient by grain, in periodic by grain and
// elevation, with --fit-base at the best base; the two samples alike share one row.
TEST_F(SweepCurves, TheAgeAtTheBestRateIsEverySampleOfThatGrainsResidual)
{
    const struct {
        const char* name;
        QByteArray samples;
        QStringList options;
        QString rates;
        bool byElevation;
    } cases[] = {
        { "transient", transientSamples, { "transient", "-o", "12", "--systems", "AHe,AFT" },
            "0.4:0.8:0.1", false },
        { "transient, base fitted", transientSamples,
            { "transient", "-o", "12", "--systems", "AHe,AFT", "--fit-base", "0.02:0.035" },
            "0.3:0.6:0.05", false },
        { "periodic", periodicSamples,
            { "periodic", "-n", "41", "--mean-elevation", "2000", "--systems", "AHe" },
            "0.4:0.8:0.1", true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write("observed.csv", c.samples);
        const ProgramRun run = coolingAges(c.options
            + QStringList { "--rates", c.rates, "--observed", "observed.csv", "--fit-output",
                "fit.csv", "--residuals", "residuals.csv", "--predictions", "predictions.csv" });
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const Csv fit = readCsv(dir.filePath("fit.csv"));
        const Csv residuals = readCsv(dir.filePath("residuals.csv"));
        const Csv predictions = readCsv(dir.filePath("predictions.csv"));
        EXPECT_EQ(predictions.header.contains(QStringLiteral("elevation_m")), c.byElevation);
        std::set<double> sweep;
        for (std::size_t k = 0; k < fit.rows.size(); ++k)
            sweep.insert(fit.at(k, QStringLiteral("rate_mm_yr")).toDouble());
        std::map<double, std::map<QString, QString>> ageOf; // rate -> grain -> age
        for (std::size_t k = 0; k < predictions.rows.size(); ++k) {
            auto& atRate = ageOf[predictions.at(k, QStringLiteral("rate_mm_yr")).toDouble()];
            const QString grain = grainOfRow(predictions, k, c.byElevation);
            EXPECT_FALSE(atRate.contains(grain)) << "a grain twice at one rate";
            atRate[grain] = predictions.at(k, QStringLiteral("age_ma"));
        }
        ASSERT_EQ(ageOf.size(), sweep.size() + 1);
        for (const auto& [rate, grains] : ageOf)
            EXPECT_EQ(grains.size(), 3u) << rate;
        const auto best = std::ranges::find_if(
            ageOf, [&](const auto& entry) { return !sweep.contains(entry.first); });
        ASSERT_NE(best, ageOf.end());
        ASSERT_NE(best, ageOf.begin());
        ASSERT_NE(std::next(best), ageOf.end());
        for (std::size_t i = 0; i < residuals.rows.size(); ++i) {
            const QString grain = grainOfRow(residuals, i, c.byElevation);
            ASSERT_TRUE(best->second.contains(grain)) << grain.toStdString();
            const QString predicted = residuals.at(i, QStringLiteral("predicted_age_ma"));
            EXPECT_EQ(best->second.at(grain), predicted);
            const double slower = std::prev(best)->second.at(grain).toDouble();
            const double faster = std::next(best)->second.at(grain).toDouble();
            EXPECT_LE(faster, predicted.toDouble()) << grain.toStdString();
            EXPECT_LE(predicted.toDouble(), slower) << grain.toStdString();
        }
    }
}

// A grain's age at a rate of the sweep is the age table's for a run at that one rate with the
// grain's values as the options.
TEST_F(SweepCurves, AGrainsAgeAtASweepRateIsTheTablesForItsOptions)
{
    fitTransient(transientSamples);
    const Csv predictions = readCsv(dir.filePath("predictions.csv"));
    const struct {
        QString system;
        QString method;
        QStringList options;
        QString radius;
        QString dpar;
    } grains[] = {
        { "AHe", "diffusion", { "--apatite-radius", "90", "--u", "40", "--th", "60" }, "90", "" },
        { "AHe", "diffusion", { "--apatite-radius", "35", "--u", "3", "--th", "2" }, "35", "" },
        { "AFT", "annealing", { "--dpar", "2.6" }, "", "2.6" },
    };
    for (const QString& rate : { QStringLiteral("0.35"), QStringLiteral("0.55") })
        for (const auto& grain : grains) {
            SCOPED_TRACE(
                (grain.system + ' ' + grain.radius + grain.dpar + " at " + rate).toStdString());
            const ProgramRun run
                = coolingAges(QStringList { "transient", "-o", "12", "-r", rate, "--systems",
                                  grain.system, "--output", "one.csv" }
                    + grain.options);
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            const Csv table = readCsv(dir.filePath("one.csv"));
            QString expected;
            for (std::size_t k = 0; k < table.rows.size(); ++k)
                if (table.at(k, QStringLiteral("method")) == grain.method)
                    expected = table.at(k, QStringLiteral("age_ma"));
            ASSERT_FALSE(expected.isEmpty());
            QString found;
            for (std::size_t k = 0; k < predictions.rows.size(); ++k)
                if (predictions.at(k, QStringLiteral("rate_mm_yr")) == rate
                    && predictions.at(k, QStringLiteral("system")) == grain.system
                    && predictions.at(k, QStringLiteral("radius_um")) == grain.radius
                    && predictions.at(k, QStringLiteral("dpar_um")) == grain.dpar)
                    found = predictions.at(k, QStringLiteral("age_ma"));
            EXPECT_EQ(found, expected);
        }
}

// Each grain's curve, read at the best rate between its points, is its samples' predictions
// there; the options' grain keeps its own curve, and the grains no points of their own.
TEST_F(SweepCurves, TheCurvesPassThroughTheResidualsPredictionsAtTheBestRate)
{
    fitTransient(transientSamples);
    const FirstView view = ratePlot();
    ASSERT_TRUE(view.style);
    const Csv residuals = readCsv(dir.filePath("residuals.csv"));
    // The best rate as the plot shows it: its solid vertical line.
    double best = 0;
    for (const LegendRow& row : view.style->legendRows)
        if (row.text.startsWith(QStringLiteral("best rate ")))
            best = view.style->curveStyles.at(row.curve).verticalLines.at(0);
    ASSERT_GT(best, 0.3);
    const auto curveNamed = [&](const QString& text) -> const std::vector<double>* {
        for (const LegendRow& row : view.style->legendRows)
            if (row.text == text)
                return &view.curves.at(static_cast<std::size_t>(row.curve));
        return nullptr;
    };
    const auto interpolated = [](const std::vector<double>& xy, double x) {
        for (std::size_t k = 2; k + 1 < xy.size(); k += 2)
            if (xy[k - 2] <= x && x <= xy[k])
                return xy[k - 1] + (xy[k + 1] - xy[k - 1]) * (x - xy[k - 2]) / (xy[k] - xy[k - 2]);
        return std::nan("");
    };
    const struct {
        QString legend;
        std::size_t sample; // a residual row of that grain
    } grains[] = {
        { "AHe r=90 um eU=54.3 ppm", 0 },
        { "AHe r=90 um eU=54.3 ppm", 1 },
        { "AHe r=35 um eU=3.48 ppm", 2 },
        { "AFT Dpar=2.6 um", 3 },
    };
    for (const auto& grain : grains) {
        SCOPED_TRACE(grain.legend.toStdString());
        const std::vector<double>* curve = curveNamed(grain.legend);
        ASSERT_NE(curve, nullptr);
        EXPECT_GE(curve->size(), 2 * 3u); // the best rate and the sweep's either side at least
        const double predicted
            = residuals.at(grain.sample, QStringLiteral("predicted_age_ma")).toDouble();
        EXPECT_NEAR(interpolated(*curve, best), predicted, 1e-4 * predicted);
    }
    EXPECT_NE(curveNamed(QStringLiteral("AHe diffusion, option grain")), nullptr);
    for (const LegendRow& row : view.style->legendRows)
        EXPECT_FALSE(row.text.contains(QStringLiteral(" predicted ("))) << row.text.toStdString();
}

// Nine grains of one system are too many curves to tell apart: none is drawn, a legend row says
// so, and their predictions stand at the best rate as points; the other system keeps its curve.
TEST_F(SweepCurves, MoreThanEightGrainsOfASystemFallBackToPoints)
{
    QByteArray samples = "sample,system,radius_um,u_ppm,th_ppm,dpar_um,age_ma,sigma_ma\n";
    for (int g = 0; g < 9; ++g)
        samples += "s" + QByteArray::number(g) + ",AHe," + QByteArray::number(40 + 10 * g)
            + ",20,20,,4.5,0.4\n";
    samples += "t,AFT,,,,2.6,7.0,0.7\n";
    fitTransient(samples);
    const FirstView view = ratePlot();
    ASSERT_TRUE(view.style);
    int fallback = 0, aheCurves = 0, aftCurves = 0, pointRows = 0;
    for (const LegendRow& row : view.style->legendRows) {
        fallback += row.text
            == QStringLiteral("AHe: 9 grains, more than 8 curves: at the best rate only");
        aheCurves += row.text.startsWith(QStringLiteral("AHe r=")) && !row.text.contains(u'(');
        aftCurves += row.text == QStringLiteral("AFT Dpar=2.6 um");
        pointRows += row.text.startsWith(QStringLiteral("AHe"))
            && row.text.contains(QStringLiteral(" predicted ("));
    }
    EXPECT_EQ(fallback, 1);
    EXPECT_EQ(aheCurves, 0);
    EXPECT_EQ(aftCurves, 1);
    EXPECT_EQ(pointRows, 8); // seven grains and the two others together
}

// A predictions file of another fit is refused in one line naming both files: one of another
// sweep, and one whose grains are not the samples'.
TEST_F(SweepCurves, APredictionsFileNotOfTheFitIsRefusedInOneLine)
{
    fitTransient(transientSamples);
    ASSERT_TRUE(QFile::copy(dir.filePath("predictions.csv"), dir.filePath("first.csv")));
    // Another sweep of the same samples.
    ASSERT_EQ(
        coolingAges({ "transient", "-o", "12", "--rates", "0.3:0.6:0.1", "--systems", "AHe,AFT",
                        "--observed", "observed.csv", "--predictions", "othersweep.csv" })
            .exitCode,
        0);
    // The same sweep of other grains.
    write("othergrains.csv",
        "sample,system,radius_um,u_ppm,th_ppm,dpar_um,age_ma,sigma_ma\n"
        "a,AHe,70,40,60,,4.5,0.4\nd,AFT,,,,2.6,7.0,0.7\n");
    ASSERT_EQ(
        coolingAges({ "transient", "-o", "12", "--rates", "0.3:0.6:0.05", "--systems", "AHe,AFT",
                        "--observed", "othergrains.csv", "--predictions", "othergrains_p.csv" })
            .exitCode,
        0);
    for (const QString& name :
        { QStringLiteral("othersweep.csv"), QStringLiteral("othergrains_p.csv") }) {
        SCOPED_TRACE(name.toStdString());
        try {
            ratePlot(name);
            ADD_FAILURE() << "accepted";
        } catch (const ViewerStartError& error) {
            const QString message = QString::fromStdString(error.what());
            EXPECT_FALSE(message.contains(u'\n'));
            EXPECT_TRUE(
                message.contains("output/" + name + "' is not the predictions of the fit in '"))
                << message.toStdString();
            EXPECT_TRUE(message.contains(QStringLiteral("output/fit.csv': ")))
                << message.toStdString();
        }
    }
    EXPECT_TRUE(ratePlot(QStringLiteral("first.csv")).style);
}

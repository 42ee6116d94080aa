#include "agetables.h"

#include "csvtable.h"
#include "viewerstartup.h"

#include <algorithm>

namespace {

const QString notResetWord = QStringLiteral("no");

// The records of the table at path, with any failure to read it as the viewer's start-up error.
template <typename Reader> auto readTable(const QString& path, Reader readRows)
{
    try {
        return readRows(CsvTable::read(path));
    } catch (const CsvError& error) {
        throw ViewerStartError(QString::fromStdString(error.what()));
    }
}

// A number that the row must have.
double requiredNumber(const CsvTable& table, int row, int column)
{
    const std::optional<double> value = table.number(row, column);
    if (!value)
        throw CsvError(QStringLiteral("'%1' line %2: the field '%3' is empty")
                           .arg(table.name())
                           .arg(table.lineOf(row))
                           .arg(table.columnName(column)));
    return *value;
}

// A number the row may leave empty; -1 stands for a column the file does not have.
std::optional<double> optionalNumber(const CsvTable& table, int row, int column)
{
    return column < 0 ? std::nullopt : table.number(row, column);
}

int optionalColumn(const CsvTable& table, const QString& name)
{
    return table.hasColumn(name) ? table.column(name) : -1;
}

} // namespace

std::vector<PredictedAge> readPredictedAges(const QString& path)
{
    return readTable(path, [](const CsvTable& table) {
        // A history's profile along elevation has no rate; every other table needs one.
        const bool historyProfile = !table.hasColumn(QStringLiteral("rate_mm_yr"))
            && table.hasColumn(QStringLiteral("elevation_m"))
            && table.hasColumn(QStringLiteral("radius_um"));
        const int rate = historyProfile ? -1 : table.column(QStringLiteral("rate_mm_yr"));
        const int system = table.column(QStringLiteral("system"));
        const int method = table.column(QStringLiteral("method"));
        const int age = table.column(QStringLiteral("age_ma"));
        const int x = optionalColumn(table, QStringLiteral("x_m"));
        const int y = optionalColumn(table, QStringLiteral("y_m"));
        const int sample = optionalColumn(table, QStringLiteral("sample"));
        const int elevation = optionalColumn(table, QStringLiteral("elevation_m"));
        const int closure = optionalColumn(table, QStringLiteral("closure_temperature_c"));
        const int reset = optionalColumn(table, QStringLiteral("reset"));
        const int radius = optionalColumn(table, QStringLiteral("radius_um"));
        const int uranium = optionalColumn(table, QStringLiteral("u_ppm"));
        const int thorium = optionalColumn(table, QStringLiteral("th_ppm"));
        const int samarium = optionalColumn(table, QStringLiteral("sm_ppm"));
        const int dpar = optionalColumn(table, QStringLiteral("dpar_um"));
        std::vector<PredictedAge> ages;
        for (int row = 0; row < table.rowCount(); ++row)
            ages.push_back({
                .rate = optionalNumber(table, row, rate),
                .x = optionalNumber(table, row, x),
                .y = optionalNumber(table, row, y),
                .elevation = optionalNumber(table, row, elevation),
                .sample = sample < 0 ? QString() : table.text(row, sample),
                .system = table.text(row, system),
                .method = table.text(row, method),
                .age = requiredNumber(table, row, age),
                .closureTemperature = optionalNumber(table, row, closure),
                .reset = reset < 0 || table.text(row, reset) != notResetWord,
                .radius = optionalNumber(table, row, radius),
                .uranium = optionalNumber(table, row, uranium),
                .thorium = optionalNumber(table, row, thorium),
                .samarium = optionalNumber(table, row, samarium),
                .dpar = optionalNumber(table, row, dpar),
            });
        return ages;
    });
}

std::vector<SamplePlace> readSamplePlaces(const QString& path)
{
    return readTable(path, [](const CsvTable& table) {
        const int x = table.column(QStringLiteral("x_m"));
        const int y = table.column(QStringLiteral("y_m"));
        const int sample = optionalColumn(table, QStringLiteral("sample"));
        std::vector<SamplePlace> places;
        for (int row = 0; row < table.rowCount(); ++row) {
            const std::optional<double> east = table.number(row, x);
            const std::optional<double> north = table.number(row, y);
            if (!east || !north)
                continue; // a sample placed otherwise (lon, lat) has no place on this map
            const SamplePlace place { sample < 0 ? QString() : table.text(row, sample), *east,
                *north };
            // A sample of several rows (systems, methods) stands once.
            if (std::ranges::none_of(places, [&](const SamplePlace& other) {
                    return other.x == place.x && other.y == place.y;
                }))
                places.push_back(place);
        }
        return places;
    });
}

std::vector<ObservedAge> readObservedAges(const QString& path)
{
    return readTable(path, [](const CsvTable& table) {
        const int sample = table.column(QStringLiteral("sample"));
        const int system = table.column(QStringLiteral("system"));
        const int age = table.column(QStringLiteral("age_ma"));
        const int sigma = table.column(QStringLiteral("sigma_ma"));
        const int elevation = optionalColumn(table, QStringLiteral("elevation_m"));
        std::vector<ObservedAge> ages;
        for (int row = 0; row < table.rowCount(); ++row) {
            ObservedAge observed {
                .sample = table.text(row, sample),
                .system = table.text(row, system),
                .age = requiredNumber(table, row, age),
                .sigma = requiredNumber(table, row, sigma),
                .elevation = optionalNumber(table, row, elevation),
            };
            if (observed.sigma <= 0.0)
                throw CsvError(QStringLiteral("'%1' line %2: sigma_ma must be positive")
                                   .arg(table.name())
                                   .arg(table.lineOf(row)));
            ages.push_back(observed);
        }
        return ages;
    });
}

std::vector<MisfitPoint> readMisfitCurve(const QString& path)
{
    std::vector<MisfitPoint> curve = readTable(path, [](const CsvTable& table) {
        const int rate = table.column(QStringLiteral("rate_mm_yr"));
        const int chi2 = table.column(QStringLiteral("chi2"));
        const int level = optionalColumn(table, QStringLiteral("chi2_level"));
        std::vector<MisfitPoint> points;
        for (int row = 0; row < table.rowCount(); ++row)
            points.push_back({ requiredNumber(table, row, rate), requiredNumber(table, row, chi2),
                optionalNumber(table, row, level) });
        return points;
    });
    std::ranges::sort(curve, {}, &MisfitPoint::rate);
    return curve;
}

std::vector<PathPoint> readCoolingPath(const QString& path)
{
    return readTable(path, [](const CsvTable& table) {
        const int time = table.column(QStringLiteral("time_ma"));
        const int temperature = table.column(QStringLiteral("temperature_c"));
        std::vector<PathPoint> points;
        for (int row = 0; row < table.rowCount(); ++row)
            points.push_back(
                { requiredNumber(table, row, time), requiredNumber(table, row, temperature) });
        return points;
    });
}

std::vector<Residual> readResiduals(const QString& path)
{
    return readTable(path, [](const CsvTable& table) {
        const int sample = table.column(QStringLiteral("sample"));
        const int system = table.column(QStringLiteral("system"));
        const int residual = table.column(QStringLiteral("residual_sigma"));
        const int method = optionalColumn(table, QStringLiteral("method"));
        const int elevation = optionalColumn(table, QStringLiteral("elevation_m"));
        const int reset = optionalColumn(table, QStringLiteral("reset"));
        const int predicted = optionalColumn(table, QStringLiteral("predicted_age_ma"));
        const int radius = optionalColumn(table, QStringLiteral("radius_um"));
        const int uranium = optionalColumn(table, QStringLiteral("u_ppm"));
        const int thorium = optionalColumn(table, QStringLiteral("th_ppm"));
        const int samarium = optionalColumn(table, QStringLiteral("sm_ppm"));
        const int dpar = optionalColumn(table, QStringLiteral("dpar_um"));
        std::vector<Residual> residuals;
        for (int row = 0; row < table.rowCount(); ++row)
            residuals.push_back({
                .sample = table.text(row, sample),
                .system = table.text(row, system),
                .method = method < 0 ? QString() : table.text(row, method),
                .elevation = optionalNumber(table, row, elevation),
                .residualSigma = requiredNumber(table, row, residual),
                .reset = reset < 0 || table.text(row, reset) != notResetWord,
                .predictedAge = optionalNumber(table, row, predicted),
                .radius = optionalNumber(table, row, radius),
                .uranium = optionalNumber(table, row, uranium),
                .thorium = optionalNumber(table, row, thorium),
                .samarium = optionalNumber(table, row, samarium),
                .dpar = optionalNumber(table, row, dpar),
            });
        return residuals;
    });
}

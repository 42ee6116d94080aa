#include "historytables.h"

#include "csvtable.h"
#include "viewerstartup.h"

#include <cmath>
#include <optional>

namespace {

const QString inRangeWord = QStringLiteral("yes");

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

template <typename Reader> auto readTable(const QString& path, Reader readRows)
{
    try {
        return readRows(CsvTable::read(path));
    } catch (const CsvError& error) {
        throw ViewerStartError(QString::fromStdString(error.what()));
    }
}

QString startColumn(int phase)
{
    return QStringLiteral("start_%1_ma").arg(phase);
}

QString rateColumn(int phase)
{
    return QStringLiteral("rate_%1_mm_yr").arg(phase);
}

// A history whose phases do not follow each other back in time cannot be drawn.
void checkHistory(const CsvTable& table, int row, const ErosionHistory& history)
{
    const auto refuse = [&](const QString& reason) {
        throw CsvError(
            QStringLiteral("'%1' line %2: %3").arg(table.name()).arg(table.lineOf(row)).arg(reason));
    };
    for (std::size_t k = 0; k < history.startsMa.size(); ++k) {
        if (history.startsMa[k] < 0.0)
            refuse(QStringLiteral("%1 is in the future").arg(startColumn(int(k) + 1)));
        if (k > 0 && !(history.startsMa[k] < history.startsMa[k - 1]))
            refuse(QStringLiteral("the phases must start oldest first, %1 after %2")
                       .arg(startColumn(int(k) + 1), startColumn(int(k))));
        if (history.ratesMmYr[k] < 0.0)
            refuse(QStringLiteral("%1 is negative").arg(rateColumn(int(k) + 1)));
    }
}

} // namespace

HistoryTable readHistories(const QString& path)
{
    return readTable(path, [](const CsvTable& table) {
        HistoryTable result;
        result.posterior = table.hasColumn(QStringLiteral("walker"));
        std::vector<std::pair<int, int>> phases; // start and rate columns
        phases.emplace_back(table.column(startColumn(1)), table.column(rateColumn(1)));
        for (int k = 2; table.hasColumn(startColumn(k)); ++k)
            phases.emplace_back(table.column(startColumn(k)), table.column(rateColumn(k)));
        const int chi2 = table.column(QStringLiteral("chi2"));
        const int inRange = result.posterior ? -1 : table.column(QStringLiteral("in_range"));
        for (int row = 0; row < table.rowCount(); ++row) {
            // An empty chi2: a history the model could not run (its rock would have started
            // below the column's base, say), which the fit tried and no picture can show.
            if (!table.number(row, chi2))
                continue;
            ErosionHistory history;
            for (const auto& [start, rate] : phases) {
                history.startsMa.push_back(requiredNumber(table, row, start));
                history.ratesMmYr.push_back(requiredNumber(table, row, rate));
            }
            history.chi2 = requiredNumber(table, row, chi2);
            history.inRange = inRange >= 0 && table.text(row, inRange) == inRangeWord;
            checkHistory(table, row, history);
            result.histories.push_back(std::move(history));
        }
        return result;
    });
}

std::vector<ChangeProfilePoint> readChangeProfile(const QString& path)
{
    return readTable(path, [](const CsvTable& table) {
        const int change = table.column(QStringLiteral("change"));
        const int time = table.column(QStringLiteral("change_time_ma"));
        const int chi2 = table.column(QStringLiteral("chi2"));
        const int level = table.column(QStringLiteral("chi2_level"));
        std::vector<ChangeProfilePoint> points;
        for (int row = 0; row < table.rowCount(); ++row) {
            if (!table.number(row, chi2))
                continue; // no history at that change time could be run
            const double number = requiredNumber(table, row, change);
            if (number != std::round(number) || number < 1.0)
                throw CsvError(QStringLiteral("'%1' line %2: change must be 1, 2, ...")
                                   .arg(table.name())
                                   .arg(table.lineOf(row)));
            points.push_back({ static_cast<int>(number), requiredNumber(table, row, time),
                requiredNumber(table, row, chi2), requiredNumber(table, row, level) });
        }
        return points;
    });
}

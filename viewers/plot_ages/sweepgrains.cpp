#include "sweepgrains.h"

#include "grainlabels.h"
#include "orderedgroups.h"
#include "systemmarks.h"
#include "textformat.h"
#include "viewerstartup.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace {

// A grain of the predictions file: a periodic fit's grains stand at their samples' elevations.
struct SweepGrain {
    GrainKey grain;
    std::optional<double> elevation;

    bool operator==(const SweepGrain&) const = default;
};

// Thinner than the options' grain curve (2 pixels), each grain of a system in its own dash, so
// that they read apart from it and from each other in the system's one colour.
constexpr int grainLineWidth = 1;
constexpr std::array grainDashes { Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine, Qt::DashLine };
constexpr int shadeStep = 15; // QColor::darker factor added per grain of one system

QString sweepGrainText(const SweepGrain& key)
{
    const QString text = grainText(key.grain);
    // Field elevations to the metre: three digits would write 2950 m as 2.95e+03.
    return key.elevation ? text
            + QStringLiteral(" at %1 m")
                  .arg(QString::fromStdString(textformat::fixed(*key.elevation, 0)))
                         : text;
}

// The file's rows belong to the fit: every rate of its sweep and no more than the sweep and its
// best rate, and every sample's grain.
void checkOfTheFit(const QString& predictionsPath, const QString& fitPath,
    const std::vector<PredictedAge>& rows, const std::vector<MisfitPoint>& sweep,
    const std::vector<Residual>& residuals, bool byElevation)
{
    const auto refuse = [&](const QString& reason) {
        throw ViewerStartError(QStringLiteral("'%1' is not the predictions of the fit in '%2': %3")
                                   .arg(predictionsPath, fitPath, reason));
    };
    std::set<double> rates;
    for (const PredictedAge& row : rows) {
        if (!row.rate)
            refuse(QStringLiteral("a row has no rate_mm_yr"));
        rates.insert(*row.rate);
    }
    for (const MisfitPoint& point : sweep)
        if (!rates.contains(point.rate))
            refuse(QStringLiteral("it holds no ages at %1 mm/yr").arg(point.rate));
    if (rates.size() > sweep.size() + 1)
        refuse(
            QStringLiteral("it holds %1 rates, the sweep %2").arg(rates.size()).arg(sweep.size()));
    for (const Residual& r : residuals) {
        const SweepGrain grain { grainOf(r), byElevation ? r.elevation : std::nullopt };
        if (std::ranges::none_of(rows, [&](const PredictedAge& row) {
                return SweepGrain { grainOf(row), row.elevation } == grain;
            }))
            refuse(QStringLiteral("it holds no ages of sample %1's grain (%2)")
                       .arg(r.sample, sweepGrainText(grain)));
    }
}

} // namespace

std::set<QString> addSweepGrainCurves(AgeFigure& figure, const QString& predictionsPath,
    const QString& fitPath, const std::vector<MisfitPoint>& sweep,
    const std::vector<Residual>& residuals)
{
    const std::vector<PredictedAge> rows = readPredictedAges(predictionsPath);
    const bool byElevation = std::ranges::any_of(
        rows, [](const PredictedAge& row) { return row.elevation.has_value(); });
    checkOfTheFit(predictionsPath, fitPath, rows, sweep, residuals, byElevation);

    // A grain's curve runs through its reset ages: a minimum age is no point of it.
    OrderedGroups<QString, SweepGrain> grainsOfSystem;
    OrderedGroups<SweepGrain, std::pair<double, double>> curves;
    for (const PredictedAge& row : rows) {
        const SweepGrain grain { grainOf(row), row.elevation };
        if (!curves.contains(grain))
            grainsOfSystem[grain.grain.system].push_back(grain);
        std::vector<std::pair<double, double>>& points = curves[grain]; // the grain is known now
        if (row.reset)
            points.emplace_back(*row.rate, row.age);
    }
    std::set<QString> curved;
    for (std::size_t s = 0; s < grainsOfSystem.size(); ++s) {
        const QString& system = grainsOfSystem.key(s);
        const std::vector<SweepGrain>& grains = grainsOfSystem.items(s);
        if (grains.size() > maxGrainCurves) {
            figure.addCurve({},
                CurveStyle { .colour = systemColour(system), .lineStyle = Qt::NoPen },
                QStringLiteral("%1: %2 grains, more than %3 curves: at the best rate only")
                    .arg(system)
                    .arg(grains.size())
                    .arg(maxGrainCurves));
            continue;
        }
        curved.insert(system);
        for (std::size_t g = 0; g < grains.size(); ++g) {
            std::vector<std::pair<double, double>> points = curves[grains[g]];
            std::ranges::sort(points);
            std::vector<double> xy;
            for (const auto& [rate, age] : points)
                xy.insert(xy.end(), { rate, age });
            figure.addCurve(std::move(xy),
                CurveStyle {
                    .colour = systemColour(system).darker(100 + shadeStep * static_cast<int>(g)),
                    .lineStyle = grainDashes[g % grainDashes.size()],
                    .lineWidth = grainLineWidth },
                sweepGrainText(grains[g]));
        }
    }
    return curved;
}

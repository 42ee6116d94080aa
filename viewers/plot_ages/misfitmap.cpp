#include "misfitmap.h"

#include "agefigure.h"
#include "ageplots.h"
#include "agemapplot.h"
#include "csvtable.h"
#include "textformat.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <ranges>

namespace {

// Cells across and up the map: fine enough that the outline follows the tried histories' own
// spacing (a grid of tens of nodes a side), coarse enough to be drawn at once.
constexpr int mapColumns = 160;
constexpr int mapRows = 100;
// The top of the linear colour scale: the least chi2 and this many times the level's width.
constexpr double scaleLevels = 10.0;
// The map reaches this share of the span of the histories within the scale beyond them.
constexpr double mapMargin = 0.5;
constexpr int scaleRows = 5; // colour rows in the legend, besides the lowest
constexpr int bestMarkerSize = 13;

const QString yesWord = QStringLiteral("yes");

struct Axis {
    QString column;
    QString caption;
};

} // namespace

MisfitMapTable readMisfitMap(const QString& path)
{
    try {
        const CsvTable table = CsvTable::read(path);
        if (table.hasColumn(QStringLiteral("walker")))
            throw CsvError(QStringLiteral("'%1' is a posterior: the misfit map draws the "
                                          "histories a fit tried (--fit-output)")
                               .arg(path));
        if (table.hasColumn(QStringLiteral("start_3_ma")))
            throw CsvError(QStringLiteral("'%1' is a fit of three phases: the misfit map draws a "
                                          "one-phase fit with --fit-base or a two-phase fit")
                               .arg(path));
        std::optional<Axis> x, y;
        if (table.hasColumn(QStringLiteral("start_2_ma"))) {
            x = Axis { QStringLiteral("start_2_ma"), QStringLiteral("Change time (Ma)") };
            y = Axis { QStringLiteral("rate_1_mm_yr"), QStringLiteral("First rate (mm/yr)") };
        } else {
            x = Axis { QStringLiteral("rate_1_mm_yr"), QStringLiteral("Erosion rate (mm/yr)") };
            if (table.hasColumn(QStringLiteral("base_temperature_c")))
                y = Axis { QStringLiteral("base_temperature_c"),
                    QStringLiteral("Base temperature (Celsius)") };
            else if (table.hasColumn(QStringLiteral("base_heat_flow_mw_m2")))
                y = Axis { QStringLiteral("base_heat_flow_mw_m2"),
                    QStringLiteral("Base heat flow (mW/m2)") };
            else
                throw CsvError(QStringLiteral("'%1' is a one-phase fit without a fitted base: the "
                                              "misfit map needs two parameters (--fit-base, or "
                                              "--fit-phases 2); plot_ages history draws it")
                                   .arg(path));
        }
        const int xColumn = table.column(x->column);
        const int yColumn = table.column(y->column);
        const int chi2Column = table.column(QStringLiteral("chi2"));
        const int inRangeColumn = table.column(QStringLiteral("in_range"));
        MisfitMapTable map { x->caption, y->caption, x->column, y->column, {} };
        for (int row = 0; row < table.rowCount(); ++row) {
            const std::optional<double> chi2 = table.number(row, chi2Column);
            if (!chi2) // a history the model could not run
                continue;
            const std::optional<double> px = table.number(row, xColumn);
            const std::optional<double> py = table.number(row, yColumn);
            if (!px || !py)
                throw CsvError(QStringLiteral("'%1' line %2: %3 or %4 is empty")
                                   .arg(path)
                                   .arg(table.lineOf(row))
                                   .arg(x->column, y->column));
            map.points.push_back({ *px, *py, *chi2, table.text(row, inRangeColumn) == yesWord });
        }
        if (map.points.empty())
            throw CsvError(QStringLiteral("'%1' holds no history with a chi2").arg(path));
        if (std::ranges::none_of(map.points, &MisfitMapPoint::inRange))
            throw CsvError(QStringLiteral("'%1' holds no history in range (in_range = yes)").arg(path));
        return map;
    } catch (const CsvError& error) {
        throw ViewerStartError(QString::fromStdString(error.what()));
    }
}

std::vector<std::vector<double>> levelOutline(const std::vector<double>& values, const int columns,
    const int rows, const double level, const double xLow, const double xHigh, const double yLow,
    const double yHigh)
{
    // Nodes at the cells' centres, with a ring of nodes above the level around them.
    const int width = columns + 2;
    const int height = rows + 2;
    const auto value = [&](int i, int j) {
        if (i < 1 || j < 1 || i > columns || j > rows)
            return std::numeric_limits<double>::infinity();
        return values[static_cast<std::size_t>(j - 1) * columns + (i - 1)];
    };
    const double dx = (xHigh - xLow) / columns;
    const double dy = (yHigh - yLow) / rows;
    const auto nodeX = [&](double i) { return xLow + (i - 0.5) * dx; };
    const auto nodeY = [&](double j) { return yLow + (j - 0.5) * dy; };
    // Where the level crosses the edge from node a to node b (one inside, one not); half way to a
    // node of the outer ring, which is the map's edge.
    const auto crossing = [level](double a, double b) {
        if (!std::isfinite(a) || !std::isfinite(b) || a == b)
            return 0.5;
        return std::clamp((level - a) / (b - a), 0.0, 1.0);
    };
    struct Point {
        double x, y;
    };
    // Edge e of the square at (i, j): 0 bottom, 1 right, 2 top, 3 left; its key and its crossing.
    const auto edgeKey = [width](int i, int j, int e) -> long {
        switch (e) {
        case 0: return 2L * (static_cast<long>(j) * width + i);
        case 1: return 2L * (static_cast<long>(j) * width + i + 1) + 1;
        case 2: return 2L * (static_cast<long>(j + 1) * width + i);
        default: return 2L * (static_cast<long>(j) * width + i) + 1;
        }
    };
    const auto edgePoint = [&](int i, int j, int e) -> Point {
        switch (e) {
        case 0: return { nodeX(i + crossing(value(i, j), value(i + 1, j))), nodeY(j) };
        case 1: return { nodeX(i + 1), nodeY(j + crossing(value(i + 1, j), value(i + 1, j + 1))) };
        case 2:
            return { nodeX(i + crossing(value(i, j + 1), value(i + 1, j + 1))), nodeY(j + 1) };
        default: return { nodeX(i), nodeY(j + crossing(value(i, j), value(i, j + 1))) };
        }
    };
    // The edges each case joins (corners: 1 bottom left, 2 bottom right, 4 top right, 8 top
    // left, set when at or below the level); -1 ends the list. The two saddles are resolved by
    // the square's mean.
    static constexpr std::array<std::array<int, 4>, 16> cases { {
        { -1, -1, -1, -1 }, { 3, 0, -1, -1 }, { 0, 1, -1, -1 }, { 3, 1, -1, -1 },
        { 1, 2, -1, -1 }, { 3, 0, 1, 2 }, { 0, 2, -1, -1 }, { 3, 2, -1, -1 },
        { 2, 3, -1, -1 }, { 0, 2, -1, -1 }, { 0, 1, 2, 3 }, { 1, 2, -1, -1 },
        { 3, 1, -1, -1 }, { 0, 1, -1, -1 }, { 3, 0, -1, -1 }, { -1, -1, -1, -1 },
    } };
    std::vector<std::pair<long, long>> segments;
    std::map<long, Point> points;
    std::map<long, std::vector<std::size_t>> atKey;
    for (int j = 0; j + 1 < height; ++j)
        for (int i = 0; i + 1 < width; ++i) {
            const std::array<double, 4> corner { value(i, j), value(i + 1, j),
                value(i + 1, j + 1), value(i, j + 1) };
            int index = 0;
            for (int c = 0; c < 4; ++c)
                if (corner[c] <= level)
                    index |= 1 << c;
            std::array<int, 4> edges = cases[static_cast<std::size_t>(index)];
            if (index == 5 || index == 10) {
                const double mean = (corner[0] + corner[1] + corner[2] + corner[3]) / 4.0;
                const bool joined = mean <= level; // the inside corners meet across the middle
                if ((index == 5) == joined)
                    edges = { 0, 1, 2, 3 }; // cut off the outside corners
                else
                    edges = { 3, 0, 1, 2 }; // cut off the inside corners
            }
            for (int s = 0; s < 4 && edges[s] >= 0; s += 2) {
                const long a = edgeKey(i, j, edges[s]);
                const long b = edgeKey(i, j, edges[s + 1]);
                points.emplace(a, edgePoint(i, j, edges[s]));
                points.emplace(b, edgePoint(i, j, edges[s + 1]));
                atKey[a].push_back(segments.size());
                atKey[b].push_back(segments.size());
                segments.emplace_back(a, b);
            }
        }
    // Join the segments through their shared edges into polylines.
    std::vector<bool> used(segments.size(), false);
    std::vector<std::vector<double>> outlines;
    for (std::size_t first = 0; first < segments.size(); ++first) {
        if (used[first])
            continue;
        used[first] = true;
        std::vector<double> line;
        const Point start = points.at(segments[first].first);
        line.insert(line.end(), { start.x, start.y });
        long key = segments[first].second;
        while (true) {
            const Point p = points.at(key);
            line.insert(line.end(), { p.x, p.y });
            std::optional<std::size_t> next;
            for (const std::size_t s : atKey[key])
                if (!used[s])
                    next = s;
            if (!next)
                break;
            used[*next] = true;
            key = segments[*next].first == key ? segments[*next].second : segments[*next].first;
        }
        outlines.push_back(std::move(line));
    }
    return outlines;
}

FirstView misfitMapFigure(const QString& fitPath, const bool logColour)
{
    const MisfitMapTable table = readMisfitMap(fitPath);
    const auto& points = table.points;
    const MisfitMapPoint& best = *std::ranges::min_element(points, {}, &MisfitMapPoint::chi2);
    double level = -std::numeric_limits<double>::infinity();
    for (const MisfitMapPoint& p : points)
        if (p.inRange)
            level = std::max(level, p.chi2);

    // The colour scale: linear from the least chi2 to a top, or logarithmic.
    const double highest = std::ranges::max(points | std::views::transform(&MisfitMapPoint::chi2));
    double leastPositive = std::numeric_limits<double>::infinity();
    for (const MisfitMapPoint& p : points)
        if (p.chi2 > 0.0)
            leastPositive = std::min(leastPositive, p.chi2);
    const bool logarithmic = logColour && std::isfinite(leastPositive) && highest > leastPositive;
    const double bottom = logarithmic ? leastPositive : best.chi2;
    const double top = logarithmic
        ? highest
        : std::min(highest, best.chi2 + scaleLevels * std::max(level - best.chi2, 1.0));

    // The map spans the histories within the scale and a share of their span either side, within
    // what was tried: where chi2 is far above the top the map would show one colour.
    double xMin = INFINITY, xMax = -INFINITY, yMin = INFINITY, yMax = -INFINITY;
    for (const MisfitMapPoint& p : points)
        if (p.chi2 <= top) {
            xMin = std::min(xMin, p.x);
            xMax = std::max(xMax, p.x);
            yMin = std::min(yMin, p.y);
            yMax = std::max(yMax, p.y);
        }
    const auto [xTriedLow, xTriedHigh]
        = std::ranges::minmax(points | std::views::transform(&MisfitMapPoint::x));
    const auto [yTriedLow, yTriedHigh]
        = std::ranges::minmax(points | std::views::transform(&MisfitMapPoint::y));
    const double xMargin = mapMargin * std::max(xMax - xMin, 0.0);
    const double yMargin = mapMargin * std::max(yMax - yMin, 0.0);
    xMin = std::max(xTriedLow, xMin - xMargin);
    xMax = std::min(xTriedHigh, xMax + xMargin);
    yMin = std::max(yTriedLow, yMin - yMargin);
    yMax = std::min(yTriedHigh, yMax + yMargin);
    // An axis of one value still gets a width: a tenth of the value either side.
    const auto widened = [](double low, double high) {
        if (high > low)
            return std::pair { low, high };
        const double half = low != 0.0 ? 0.1 * std::fabs(low) : 1.0;
        return std::pair { low - half, high + half };
    };
    const auto [xLow, xHigh] = widened(xMin, xMax);
    const auto [yLow, yHigh] = widened(yMin, yMax);

    // Each cell: the least chi2 tried within it, else that of the nearest history tried.
    const double cellWidth = (xHigh - xLow) / mapColumns;
    const double cellHeight = (yHigh - yLow) / mapRows;
    std::vector<double> cells(static_cast<std::size_t>(mapColumns) * mapRows,
        std::numeric_limits<double>::infinity());
    const auto cellOf = [&](double value, double low, double step, int count) {
        return std::clamp(static_cast<int>(std::floor((value - low) / step)), 0, count - 1);
    };
    const auto inMap = [&](const MisfitMapPoint& p) {
        return p.x >= xLow && p.x <= xHigh && p.y >= yLow && p.y <= yHigh;
    };
    for (const MisfitMapPoint& p : points) {
        if (!inMap(p))
            continue;
        double& cell = cells[static_cast<std::size_t>(cellOf(p.y, yLow, cellHeight, mapRows))
                * mapColumns
            + cellOf(p.x, xLow, cellWidth, mapColumns)];
        cell = std::min(cell, p.chi2);
    }
    for (int r = 0; r < mapRows; ++r)
        for (int c = 0; c < mapColumns; ++c) {
            double& cell = cells[static_cast<std::size_t>(r) * mapColumns + c];
            if (std::isfinite(cell))
                continue;
            const double cx = (c + 0.5) / mapColumns;
            const double cy = (r + 0.5) / mapRows;
            double nearest = std::numeric_limits<double>::infinity();
            for (const MisfitMapPoint& p : points) {
                const double ex = (p.x - xLow) / (xHigh - xLow) - cx;
                const double ey = (p.y - yLow) / (yHigh - yLow) - cy;
                if (const double d = ex * ex + ey * ey; d < nearest) {
                    nearest = d;
                    cell = p.chi2;
                }
            }
        }

    const auto share = [&](double chi2) {
        if (!(top > bottom))
            return 0.0;
        const double s = logarithmic
            ? (std::log(std::max(chi2, bottom)) - std::log(bottom)) / (std::log(top) - std::log(bottom))
            : (chi2 - bottom) / (top - bottom);
        return std::clamp(s, 0.0, 1.0);
    };
    QImage image(mapColumns, mapRows, QImage::Format_RGB32);
    for (int r = 0; r < mapRows; ++r)
        for (int c = 0; c < mapColumns; ++c) // image rows run from the top of the map
            image.setPixelColor(c, mapRows - 1 - r,
                ageColour(share(cells[static_cast<std::size_t>(r) * mapColumns + c])));

    ViewerStyle style = ageKindStyle(QStringLiteral("misfit-map"));
    style.xCaption = table.xCaption;
    style.yCaption = table.yCaption;
    AgeFigure figure(style);
    CurveStyle underlay { .lineStyle = Qt::NoPen };
    underlay.underlay = { image, xLow, xHigh, yLow, yHigh };
    figure.addCurve({ xLow, yLow, xHigh, yHigh }, underlay,
        logarithmic ? QStringLiteral("chi2 (logarithmic colour)") : QStringLiteral("chi2"));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int row = 0; row <= scaleRows; ++row) {
        const double s = static_cast<double>(row) / scaleRows;
        const double chi2 = logarithmic ? bottom * std::pow(top / bottom, s) : bottom + s * (top - bottom);
        const QColor colour = ageColour(s);
        const bool capped = !logarithmic && row == scaleRows && top < highest;
        figure.addCurve({ nan, nan },
            CurveStyle { .colour = colour,
                .lineStyle = Qt::NoPen,
                .marker = MarkerShape::Square,
                .markerFill = colour },
            QStringLiteral("%1%2").arg(capped ? QStringLiteral(">= ") : QString(),
                QString::fromStdString(textformat::number(chi2, 4))));
    }
    const std::vector<std::vector<double>> outline
        = levelOutline(cells, mapColumns, mapRows, level, xLow, xHigh, yLow, yHigh);
    for (std::size_t k = 0; k < outline.size(); ++k) {
        CurveStyle line { .colour = Qt::white, .lineWidth = 2 };
        const QString text = QStringLiteral("in range: chi2 <= %1")
                                 .arg(QString::fromStdString(textformat::number(level, 4)));
        if (k == 0)
            figure.addCurve(outline[k], line, text);
        else
            figure.addUnlistedCurve(outline[k], line);
    }
    figure.addCurve({ best.x, best.y },
        CurveStyle { .colour = Qt::black,
            .lineStyle = Qt::NoPen,
            .lineWidth = 2,
            .marker = MarkerShape::Diamond,
            .markerSize = bestMarkerSize,
            .markerFill = Qt::white },
        QStringLiteral("best: %1 %2, %3 %4, chi2 %5")
            .arg(table.xName, QString::fromStdString(textformat::number(best.x, 4)), table.yName,
                QString::fromStdString(textformat::number(best.y, 4)),
                QString::fromStdString(textformat::number(best.chi2, 4))));
    return figure.firstView(QStringLiteral("%1 %2, %3 %4")
                                .arg(table.xName, QString::fromStdString(textformat::number(best.x, 4)),
                                    table.yName,
                                    QString::fromStdString(textformat::number(best.y, 4))));
}

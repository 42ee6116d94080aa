#include "historyplots.h"

#include "ageplots.h"
#include "agefigure.h"
#include "changetimerange.h"
#include "historyenvelope.h"
#include "orderedgroups.h"

#include <QColor>

#include <algorithm>
#include <array>

namespace {

constexpr int bestLineWidth = 2;
constexpr int profileMarkerSize = 5;
constexpr std::size_t profileMarkedPoints = 60; // denser, markers would merge into a line
// Envelopes of a fit's histories are exact below this many change times; a sampler's are
// evaluated on this many intervals (about two pixels each in the 1000-pixel window).
constexpr std::size_t envelopeIntervals = 400;
// The rate and chi2 axes leave this share of their span free above the data, for the legend.
constexpr double rateHeadroom = 0.3;

// Pointwise quantiles of the posterior: the central 68 % and 95 % of the samples.
constexpr double share68Low = 0.16;
constexpr double share68High = 0.84;
constexpr double share95Low = 0.025;
constexpr double share95High = 0.975;

const QColor bandColour(70, 110, 180); // the envelopes, in two strengths
constexpr int outerBandAlpha = 60;
constexpr int innerBandAlpha = 120;

// The change curves of a profile, in the order of the changes.
constexpr std::array<Qt::GlobalColor, 4> changeColours { Qt::blue, Qt::darkMagenta, Qt::darkCyan,
    Qt::darkYellow };

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

const ErosionHistory& bestOf(const std::vector<ErosionHistory>& histories)
{
    return *std::ranges::min_element(histories, {}, &ErosionHistory::chi2);
}

void addEnvelope(AgeFigure& figure, const RateEnvelope& envelope, int alpha, const QString& text)
{
    figure.addCurve(envelope.upper,
        CurveStyle { .colour = bandColour,
            .lineStyle = Qt::NoPen,
            .areaLower = envelope.lower,
            .areaFill = withAlpha(bandColour, alpha) },
        text);
}

// Where the curve (sorted by time) stays at or below level around its lowest point, read as the
// fit read the range it printed (changetimerange.h); flags for a range that reaches an end of
// the profile.
struct ChangeRange {
    double best = 0.0;
    double low = 0.0;
    double high = 0.0;
    bool atEnd = false;
};

ChangeRange rangeOf(const std::vector<ChangeProfilePoint>& curve, double level)
{
    ages::ChangeTimeProfile profile;
    for (const ChangeProfilePoint& point : curve) {
        profile.changeTimesMa.push_back(point.timeMa);
        profile.chi2.push_back(point.chi2);
    }
    ages::readRange(profile, level, { curve.front().timeMa, curve.back().timeMa });
    return { .best = profile.bestMa,
        .low = profile.rangeLowMa,
        .high = profile.rangeHighMa,
        .atEnd = profile.rangeReachesLowBound || profile.rangeReachesHighBound };
}

QString timeText(double timeMa)
{
    return QString::number(timeMa, 'f', 2);
}

} // namespace

QString historyText(const ErosionHistory& history)
{
    QStringList phases;
    for (std::size_t k = 0; k < history.startsMa.size(); ++k)
        phases << QStringLiteral("%1:%2").arg(
            k == 0 ? QString::number(history.startsMa[k], 'g', 6) : timeText(history.startsMa[k]),
            QString::number(history.ratesMmYr[k], 'f', 3));
    return phases.join(u',');
}

FirstView historyFigure(const QString& historiesPath)
{
    const HistoryTable table = readHistories(historiesPath);
    if (table.histories.empty())
        throw ViewerStartError(QStringLiteral("'%1' holds no histories").arg(historiesPath));
    const ErosionHistory& best = bestOf(table.histories);

    AgeFigure figure(ageKindStyle(QStringLiteral("history")));
    figure.reverseX();
    figure.includeY(0.0);
    figure.headroom(rateHeadroom);
    const std::size_t count = table.histories.size();
    if (table.posterior) {
        addEnvelope(figure,
            rateEnvelope(table.histories, share95Low, share95High, envelopeIntervals),
            outerBandAlpha, QStringLiteral("95 % of %1 samples").arg(count));
        addEnvelope(figure,
            rateEnvelope(table.histories, share68Low, share68High, envelopeIntervals),
            innerBandAlpha, QStringLiteral("68 % of them"));
    } else {
        std::vector<ErosionHistory> inRange;
        std::ranges::copy_if(
            table.histories, std::back_inserter(inRange), &ErosionHistory::inRange);
        if (!inRange.empty())
            addEnvelope(figure, rateEnvelope(inRange, 0.0, 1.0, envelopeIntervals),
                innerBandAlpha,
                QStringLiteral("%1 of %2 histories within the range").arg(inRange.size()).arg(count));
    }
    figure.addCurve(stepLine(best),
        CurveStyle { .colour = Qt::black, .lineWidth = bestLineWidth },
        QStringLiteral("best, chi2 %1").arg(QString::number(best.chi2, 'g', 4)));
    return figure.firstView(historyText(best));
}

FirstView profileFigure(const QString& profilePath, bool logY)
{
    const std::vector<ChangeProfilePoint> points = readChangeProfile(profilePath);
    if (points.empty())
        throw ViewerStartError(QStringLiteral("'%1' holds no change times").arg(profilePath));
    OrderedGroups<int, ChangeProfilePoint> byChange;
    for (const ChangeProfilePoint& point : points)
        byChange[point.change].push_back(point);
    const double level = points.front().level;

    AgeFigure figure(ageKindStyle(QStringLiteral("profile")));
    figure.reverseX();
    for (std::size_t c = 0; c < byChange.size(); ++c) {
        std::vector<ChangeProfilePoint> curve = byChange.items(c);
        std::ranges::sort(curve, {}, &ChangeProfilePoint::timeMa);
        const QColor colour = changeColours[c % changeColours.size()];
        std::vector<double> xy;
        for (const ChangeProfilePoint& point : curve)
            xy.insert(xy.end(), { point.timeMa, point.chi2 });
        const ChangeRange range = rangeOf(curve, level);
        figure.addCurve(std::move(xy),
            CurveStyle { .colour = colour,
                .lineWidth = bestLineWidth,
                .marker = curve.size() <= profileMarkedPoints ? MarkerShape::Circle
                                                              : MarkerShape::None,
                .markerSize = profileMarkerSize,
                .markerFill = colour,
                .verticalLines = { range.low, range.high },
                .verticalLineStyle = Qt::DotLine },
            QStringLiteral("change %1: best %2 Ma, range %3 to %4 Ma%5")
                .arg(byChange.key(c))
                .arg(timeText(range.best), timeText(range.low), timeText(range.high),
                    range.atEnd ? QStringLiteral(" (profile end)") : QString()));
    }
    figure.addCurve({},
        CurveStyle { .colour = Qt::red,
            .lineStyle = Qt::NoPen,
            .horizontalLines = { level },
            .horizontalLineStyle = Qt::DashLine },
        QStringLiteral("level chi2_min + max(1, reduced chi2) = %1")
            .arg(QString::number(level, 'g', 4)));
    if (logY)
        figure.logY();
    figure.headroom(rateHeadroom);
    return figure.firstView({});
}

#include "residualplot.h"

#include "ageplots.h"
#include "agefigure.h"
#include "agetables.h"
#include "markerspread.h"
#include "orderedgroups.h"
#include "systemmarks.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int residualMarkerSize = 8;
constexpr double goodFitSigmas = 2.0; // the dashed lines at -2 and +2
constexpr double dodgePixels = 7.0; // between two systems at one x
constexpr double lineRoom = 1.25; // the window reaches at least this far beyond the lines

QString countText(const QString& system, bool reset, std::size_t count)
{
    return reset ? QStringLiteral("%1 (%2)").arg(system).arg(count)
                 : QStringLiteral("%1 not reset (%2)").arg(system).arg(count);
}

} // namespace

FirstView residualFigure(const QString& residualsPath)
{
    const std::vector<Residual> residuals = readResiduals(residualsPath);
    if (residuals.empty())
        throw ViewerStartError(QStringLiteral("'%1' holds no samples").arg(residualsPath));

    // x: the elevation when every sample has one, else the sample's place in the file (1, 2,
    // ... in the order in which the samples first appear); the ages of one rock dated many times
    // (an erosion-history fit) each take their own row's place, since one place would stack them.
    const bool byElevation = std::ranges::all_of(
        residuals, [](const Residual& r) { return r.elevation.has_value(); });
    OrderedGroups<QString, int> samples;
    std::vector<double> xs;
    for (const Residual& r : residuals) {
        if (!samples.contains(r.sample)) {
            const int place = static_cast<int>(samples.size()) + 1;
            samples[r.sample].push_back(place);
        }
        xs.push_back(byElevation ? *r.elevation : samples[r.sample].front());
    }
    const bool byRow = !byElevation && samples.size() == 1 && residuals.size() > 1;
    if (byRow)
        for (std::size_t i = 0; i < xs.size(); ++i)
            xs[i] = static_cast<double>(i + 1);

    OrderedGroups<QString, std::size_t> bySystem;
    for (std::size_t i = 0; i < residuals.size(); ++i)
        bySystem[residuals[i].system].push_back(i);

    ViewerStyle style = ageKindStyle(QStringLiteral("residuals"));
    if (byRow)
        style.xCaption = QStringLiteral("Age of sample %1 (in the order of the file)")
                             .arg(samples.key(0));
    else if (!byElevation)
        style.xCaption = QStringLiteral("Sample (in the order of the file)");
    AgeFigure figure(style);
    figure.addCurve({},
        CurveStyle { .colour = Qt::black,
            .lineStyle = Qt::NoPen,
            .horizontalLines = { 0.0 },
            .horizontalLineStyle = Qt::SolidLine },
        QStringLiteral("observed = predicted"));
    figure.addCurve({},
        CurveStyle { .colour = Qt::darkGray,
            .lineStyle = Qt::NoPen,
            .horizontalLines = { -goodFitSigmas, goodFitSigmas },
            .horizontalLineStyle = Qt::DashLine },
        QStringLiteral("2 sigma either side"));
    for (std::size_t g = 0; g < bySystem.size(); ++g) {
        const QString& system = bySystem.key(g);
        const int offset = static_cast<int>(std::lround(dodgeOffset(g, bySystem.size(), dodgePixels)));
        for (const bool reset : { true, false }) {
            std::vector<double> xy;
            for (const std::size_t i : bySystem.items(g))
                if (residuals[i].reset == reset)
                    xy.insert(xy.end(), { xs[i], residuals[i].residualSigma });
            if (xy.empty())
                continue;
            const std::size_t count = xy.size() / 2;
            figure.addCurve(std::move(xy),
                CurveStyle { .colour = systemColour(system),
                    .lineStyle = Qt::NoPen,
                    .marker = systemMarker(system),
                    .markerSize = residualMarkerSize,
                    .markerFill = reset ? measuredFill(system) : hollowFill,
                    .xPixelOffsets = std::vector<int>(count, offset) },
                countText(system, reset, count));
        }
    }
    // The lines at +-2 inside the frame, not on it.
    figure.includeY(-goodFitSigmas * lineRoom);
    figure.includeY(goodFitSigmas * lineRoom);
    return figure.firstView({});
}

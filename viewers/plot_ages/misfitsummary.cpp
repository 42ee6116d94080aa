#include "misfitsummary.h"

#include "ratefit.h"

#include <optional>

MisfitSummary summariseMisfit(const std::vector<MisfitPoint>& curve)
{
    // The same analysis as the program's own fit, at the level it wrote, so the picture shows the
    // numbers that cooling_ages printed.
    std::vector<double> rates;
    std::vector<double> chi2;
    std::optional<double> level;
    rates.reserve(curve.size());
    chi2.reserve(curve.size());
    for (const MisfitPoint& point : curve) {
        rates.push_back(point.rate);
        chi2.push_back(point.chi2);
        level = level ? level : point.level;
    }
    const ages::RateFit fit = level
        ? ages::fitMisfitCurveAtLevel(std::move(rates), std::move(chi2), *level)
        : ages::fitMisfitCurve(std::move(rates), std::move(chi2), 1); // chi2_min + 1
    return MisfitSummary {
        .bestRate = fit.bestRate,
        .minimumChi2 = fit.chi2Min,
        .rangeLow = fit.rangeLow,
        .rangeHigh = fit.rangeHigh,
        .lowAtSweepStart = fit.rangeReachesLowEnd,
        .highAtSweepEnd = fit.rangeReachesHighEnd,
        .rangeLevel = fit.rangeLevel,
        .scaled = fit.rangeScaled,
    };
}

QString MisfitSummary::levelCaption() const
{
    return (scaled ? QStringLiteral("chi2_min + reduced chi2 = %1")
                   : QStringLiteral("chi2_min + 1 = %1"))
        .arg(QString::number(rangeLevel, 'g', 4));
}

#include "misfitsummary.h"

#include "ratefit.h"

MisfitSummary summariseMisfit(const std::vector<MisfitPoint>& curve)
{
    // The same analysis as the program's own fit, so the picture shows the numbers that
    // cooling_ages printed; the sample count only sets the reduced chi2, which is not drawn.
    std::vector<double> rates;
    std::vector<double> chi2;
    rates.reserve(curve.size());
    chi2.reserve(curve.size());
    for (const MisfitPoint& point : curve) {
        rates.push_back(point.rate);
        chi2.push_back(point.chi2);
    }
    const ages::RateFit fit = ages::fitMisfitCurve(std::move(rates), std::move(chi2), 1);
    return MisfitSummary {
        .bestRate = fit.bestRate,
        .minimumChi2 = fit.chi2Min,
        .rangeLow = fit.rangeLow,
        .rangeHigh = fit.rangeHigh,
        .lowAtSweepStart = fit.rangeReachesLowEnd,
        .highAtSweepEnd = fit.rangeReachesHighEnd,
    };
}

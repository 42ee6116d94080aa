#include "results.h"

#include "coolinghistory.h"
#include "isotherms.h"
#include "profile.h"

#include <vector>

namespace periodic {

PeriodicResults computeResults(const PeriodicSteadyState& model, const PeriodicParameters& p)
{
    const double lambda = p.wavelength;
    const std::vector<double> temps(p.isothermTemp.begin(), p.isothermTemp.end());

    PeriodicResults results;
    for (int i = 0; i < p.pointCount; ++i) {
        const double x = profileX(lambda, p.pointCount, i);
        results.topography.push_back({ x, model.surfaceHeight(x) });
        const std::vector<double> heights = isothermHeights(model, x, temps);
        for (std::size_t j = 0; j < heights.size(); ++j) {
            results.isotherms[j].push_back({ x, heights[j] });
        }
    }
    const auto history = [&](const NamedSite& site) {
        return coolingHistory(model, site.xM(lambda), p.historyDuration, p.pointCount);
    };
    results.ridge = history(ridgeSite);
    results.midValley = history(midSlopeSite);
    results.valley = history(valleySite);
    return results;
}

} // namespace periodic

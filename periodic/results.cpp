#include "results.h"

#include "coolinghistory.h"
#include "isotherms.h"

#include <vector>

namespace periodic {

PeriodicResults computeResults(const PeriodicSteadyState& model, const PeriodicParameters& p)
{
    const double lambda = p.wavelength;
    const int last = p.pointCount - 1;
    const std::vector<double> temps(p.isothermTemp.begin(), p.isothermTemp.end());

    PeriodicResults results;
    for (int i = 0; i <= last; ++i) {
        // x = -lambda + 2 lambda i / (n - 1); written as a difference of two exact products so
        // that the centre and both ends come out as exactly 0 and +-lambda.
        const double x = (lambda * (2 * i - last)) / last;
        results.topography.push_back({ x, model.surfaceHeight(x) });
        const std::vector<double> heights = isothermHeights(model, x, temps);
        for (std::size_t j = 0; j < heights.size(); ++j) {
            results.isotherms[j].push_back({ x, heights[j] });
        }
    }
    results.ridge = coolingHistory(model, 0.0, p.historyDuration, p.pointCount);
    results.midValley = coolingHistory(model, 0.25 * lambda, p.historyDuration, p.pointCount);
    results.valley = coolingHistory(model, 0.5 * lambda, p.historyDuration, p.pointCount);
    return results;
}

} // namespace periodic

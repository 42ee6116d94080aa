#include "coolinghistory.h"

#include "risingpath.h"

namespace periodic {

Series coolingHistory(
    const PeriodicSteadyState& model, const double x, const double durationMyr, const int count)
{
    Series history;
    history.reserve(count);
    for (const RisingPoint& point : risingPath(model, x, durationMyr, count - 1))
        history.push_back({ -point.timeMa + 0.0, point.temperatureC }); // + 0.0 turns -0 into 0
    return history;
}

} // namespace periodic

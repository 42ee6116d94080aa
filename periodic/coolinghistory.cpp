#include "coolinghistory.h"

#include "units.h"

namespace periodic {

Series coolingHistory(
    const PeriodicSteadyState& model, const double x, const double durationMyr, const int count)
{
    const VerticalProfile column = model.column(x);
    const double surfaceDepth = -model.surfaceHeight(x);
    const double metresPerMyr = model.problem().velocity * units::secondsPerMyr;
    const int last = count - 1;

    Series history;
    history.reserve(count);
    for (int i = 0; i <= last; ++i) {
        // Time before present, Myr; exactly 0 at the last sample.
        const double age = durationMyr * (last - i) / last;
        const double depth = surfaceDepth + metresPerMyr * age;
        history.push_back({ -age + 0.0, column.temperature(depth) }); // + 0.0 turns -0 into 0
    }
    return history;
}

} // namespace periodic

#include "historyrequest.h"

namespace ages {

HistorySpace HistoryRequest::fitSpace(const std::size_t sampleCount) const
{
    const double start = pathStartMa();
    return { fitPhases, start, ratesMmYr,
        changeTimesMa.value_or(
            ValueBounds { changeTimeMargin * start, (1 - changeTimeMargin) * start }),
        sampleCount };
}

} // namespace ages

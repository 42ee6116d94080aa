#include "historyenvelope.h"

#include <algorithm>
#include <cmath>
#include <set>

double rateAt(const ErosionHistory& history, double timeMa)
{
    // Phases run oldest first: phase k holds t when the next phase starts at or before t.
    for (std::size_t k = 0; k + 1 < history.startsMa.size(); ++k)
        if (timeMa >= history.startsMa[k + 1])
            return history.ratesMmYr[k];
    return history.ratesMmYr.back();
}

std::vector<double> stepLine(const ErosionHistory& history)
{
    std::vector<double> xy;
    for (std::size_t k = 0; k < history.startsMa.size(); ++k) {
        const double end = k + 1 < history.startsMa.size() ? history.startsMa[k + 1] : 0.0;
        xy.insert(xy.end(),
            { history.startsMa[k], history.ratesMmYr[k], end, history.ratesMmYr[k] });
    }
    return xy;
}

double quantile(std::vector<double>& values, double share)
{
    const double h = (static_cast<double>(values.size()) - 1.0) * std::clamp(share, 0.0, 1.0);
    const auto below = static_cast<std::size_t>(std::floor(h));
    std::ranges::nth_element(values, values.begin() + static_cast<std::ptrdiff_t>(below));
    const double low = values[below];
    if (below + 1 >= values.size())
        return low;
    // The next order statistic is the smallest of those above.
    const double high = *std::min_element(values.begin() + static_cast<std::ptrdiff_t>(below) + 1,
        values.end());
    return low + (h - static_cast<double>(below)) * (high - low);
}

RateEnvelope rateEnvelope(const std::vector<ErosionHistory>& histories, double lowShare,
    double highShare, std::size_t maxIntervals)
{
    RateEnvelope envelope;
    if (histories.empty() || maxIntervals == 0)
        return envelope;
    // The interval ends: every change time, from the oldest start to the present, or a grid.
    double oldest = 0.0;
    std::set<double> ends { 0.0 };
    for (const ErosionHistory& history : histories) {
        oldest = std::max(oldest, history.startsMa.front());
        if (ends.size() <= maxIntervals + 1)
            ends.insert(history.startsMa.begin(), history.startsMa.end());
    }
    std::vector<double> times(ends.rbegin(), ends.rend()); // oldest first
    if (times.size() > maxIntervals + 1) {
        times.clear();
        for (std::size_t i = 0; i <= maxIntervals; ++i)
            times.push_back(oldest * (1.0 - static_cast<double>(i) / maxIntervals));
    }

    std::vector<double> rates(histories.size());
    for (std::size_t i = 0; i + 1 < times.size(); ++i) {
        const double middle = (times[i] + times[i + 1]) / 2.0;
        std::ranges::transform(histories, rates.begin(),
            [middle](const ErosionHistory& history) { return rateAt(history, middle); });
        const double low = quantile(rates, lowShare);
        const double high = quantile(rates, highShare);
        envelope.upper.insert(envelope.upper.end(), { times[i], high, times[i + 1], high });
        envelope.lower.insert(envelope.lower.end(), { low, low });
    }
    return envelope;
}

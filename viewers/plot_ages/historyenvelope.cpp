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

namespace {

// Counts of values by rank, with the k-th smallest found in O(log n) (a Fenwick tree: Fenwick
// 1994, Software Pract. Exper. 24:327).
class RankCounts {
public:
    explicit RankCounts(std::size_t size)
        : m_tree(size + 1, 0)
    {
        while (m_highestBit * 2 <= size)
            m_highestBit *= 2;
    }
    void add(std::size_t rank, int count)
    {
        for (std::size_t i = rank + 1; i < m_tree.size(); i += i & (~i + 1))
            m_tree[i] += count;
    }
    // The rank of the k-th smallest value counted (k from 0).
    std::size_t kth(std::size_t k) const
    {
        std::size_t position = 0;
        for (std::size_t step = m_highestBit; step > 0; step /= 2)
            if (position + step < m_tree.size() && m_tree[position + step] <= static_cast<long>(k)) {
                position += step;
                k -= static_cast<std::size_t>(m_tree[position]);
            }
        // The largest 1-based index whose prefix count is at most k: the k-th value is the next,
        // which is index position + 1, rank position.
        return position;
    }

private:
    std::vector<long> m_tree;
    std::size_t m_highestBit = 1;
};

} // namespace

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

    // The rates by rank; every history starts in its first phase, and moves to its phase k
    // once the time is younger than start_k: an event that takes one rate out and puts the
    // next in. Walking from the oldest time to the present, the counts by rank are those of
    // the histories' rates at each time, and the quantiles are read off them.
    std::vector<double> rates;
    for (const ErosionHistory& history : histories)
        rates.insert(rates.end(), history.ratesMmYr.begin(), history.ratesMmYr.end());
    std::ranges::sort(rates);
    const auto rankOf = [&rates](double rate) {
        return static_cast<std::size_t>(std::ranges::lower_bound(rates, rate) - rates.begin());
    };
    struct Change {
        double time;
        std::size_t from;
        std::size_t to;
    };
    std::vector<Change> changes;
    RankCounts counts(rates.size());
    for (const ErosionHistory& history : histories) {
        counts.add(rankOf(history.ratesMmYr.front()), 1);
        for (std::size_t k = 1; k < history.startsMa.size(); ++k)
            changes.push_back({ history.startsMa[k], rankOf(history.ratesMmYr[k - 1]),
                rankOf(history.ratesMmYr[k]) });
    }
    std::ranges::sort(changes, std::greater {}, &Change::time);

    const double last = static_cast<double>(histories.size()) - 1.0;
    const auto quantileNow = [&](double share) {
        // Definition 7 between the order statistics j and j + 1 (from 0) of the rates now.
        const double h = last * std::clamp(share, 0.0, 1.0);
        const auto j = static_cast<std::size_t>(std::floor(h));
        const double low = rates[counts.kth(j)];
        const double high = j + 1 < histories.size() ? rates[counts.kth(j + 1)] : low;
        return low + (h - static_cast<double>(j)) * (high - low);
    };
    auto next = changes.begin();
    for (std::size_t i = 0; i + 1 < times.size(); ++i) {
        const double middle = (times[i] + times[i + 1]) / 2.0;
        for (; next != changes.end() && next->time > middle; ++next) {
            counts.add(next->from, -1);
            counts.add(next->to, 1);
        }
        const double low = quantileNow(lowShare);
        const double high = quantileNow(highShare);
        envelope.upper.insert(envelope.upper.end(), { times[i], high, times[i + 1], high });
        envelope.lower.insert(envelope.lower.end(), { low, low });
    }
    return envelope;
}

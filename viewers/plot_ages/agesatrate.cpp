#include "agesatrate.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>

namespace {

std::vector<PredictedAge> rowsAt(const std::vector<PredictedAge>& ages, double rate)
{
    std::vector<PredictedAge> run;
    std::ranges::copy_if(ages, std::back_inserter(run),
        [rate](const PredictedAge& age) { return age.rate == rate; });
    return run;
}

bool sameRow(const PredictedAge& a, const PredictedAge& b)
{
    return a.system == b.system && a.method == b.method && a.x == b.x
        && a.elevation == b.elevation;
}

} // namespace

std::vector<PredictedAge> firstRun(const std::vector<PredictedAge>& ages)
{
    std::vector<PredictedAge> run;
    const std::optional<double> rate = ages.empty() ? std::nullopt : ages.front().rate;
    std::ranges::copy_if(ages, std::back_inserter(run),
        [&rate](const PredictedAge& age) { return age.rate == rate; });
    return run;
}

std::vector<PredictedAge> runAtRate(const std::vector<PredictedAge>& ages, double rate)
{
    std::set<double> rates;
    for (const PredictedAge& age : ages)
        if (age.rate)
            rates.insert(*age.rate);
    if (rates.empty())
        return firstRun(ages);
    const auto above = rates.lower_bound(rate);
    if (above == rates.end())
        return rowsAt(ages, *rates.rbegin());
    if (*above == rate || above == rates.begin())
        return rowsAt(ages, *above);
    const double r0 = *std::prev(above);
    const double r1 = *above;
    const std::vector<PredictedAge> low = rowsAt(ages, r0);
    const std::vector<PredictedAge> high = rowsAt(ages, r1);
    const bool nearerLow = rate - r0 <= r1 - rate;
    if (low.size() != high.size()
        || !std::ranges::equal(low, high, [](const PredictedAge& a, const PredictedAge& b) {
               return sameRow(a, b);
           }))
        return nearerLow ? low : high;

    const double weight = (rate - r0) / (r1 - r0);
    const auto between = [weight](double a, double b) { return a + (b - a) * weight; };
    std::vector<PredictedAge> run = low;
    for (std::size_t i = 0; i < run.size(); ++i) {
        PredictedAge& age = run[i];
        age.rate = rate;
        age.age = between(low[i].age, high[i].age);
        age.closureTemperature = low[i].closureTemperature && high[i].closureTemperature
            ? std::optional(between(*low[i].closureTemperature, *high[i].closureTemperature))
            : std::nullopt;
        age.reset = low[i].reset && high[i].reset;
    }
    return run;
}

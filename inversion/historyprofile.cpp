#include "historyprofile.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace ages {

MisfitLevel misfitLevel(double chi2Min, const HistorySpace& space)
{
    return misfitLevel(chi2Min, space.degreesOfFreedom());
}

ChangeTimeProfile sampledProfile(
    const std::vector<TriedHistory>& tried, int change, ValueBounds bounds, int binCount)
{
    if (change < 1)
        throw std::invalid_argument("a sampled profile needs a change, bins and bounds");
    // The change time's index in a history of constant phases.
    ChangeTimeProfile profile
        = sampledProfile(tried, 2 * static_cast<std::size_t>(change) - 1, bounds, binCount);
    profile.change = change;
    return profile;
}

ChangeTimeProfile sampledProfile(const std::vector<TriedHistory>& tried, const std::size_t index,
    ValueBounds bounds, int binCount)
{
    if (binCount < 1 || !(bounds.low < bounds.high))
        throw std::invalid_argument("a sampled profile needs bins and bounds");
    const double width = (bounds.high - bounds.low) / binCount;
    std::vector<const TriedHistory*> lowest(binCount, nullptr);
    for (const TriedHistory& history : tried) {
        if (history.parameters.size() <= index || std::isnan(history.chi2))
            continue;
        const double changeMa = history.parameters[index];
        if (!bounds.contains(changeMa))
            continue;
        const int bin = std::min(binCount - 1, static_cast<int>((changeMa - bounds.low) / width));
        if (!lowest[bin] || history.chi2 < lowest[bin]->chi2)
            lowest[bin] = &history;
    }
    ChangeTimeProfile profile;
    profile.change = 0;
    for (const TriedHistory* history : lowest) {
        if (history) {
            profile.changeTimesMa.push_back(history->parameters[index]);
            profile.chi2.push_back(history->chi2);
        }
    }
    return profile;
}

} // namespace ages

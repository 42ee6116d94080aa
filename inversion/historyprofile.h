#pragma once
// How well the ages pin each change time of a history: the profile of chi2 (the misfit minimised
// over every other parameter at each change time of a grid) and the range read off it.
//
// The range of each change time is read by changetimerange.h.

#include "changetimerange.h"
#include "historyparameters.h"
#include "misfitlevel.h"

#include <vector>

namespace ages {

// The level a history fit's ranges are read at: misfitLevel with the space's degrees of freedom.
MisfitLevel misfitLevel(double chi2Min, const HistorySpace& space);

// A profile from histories spread over the space (the sampler's): the lowest chi2 among the
// histories whose change time falls in each of binCount equal bins of the bounds, placed at that
// history's change time. Empty bins are left out.
ChangeTimeProfile sampledProfile(
    const std::vector<TriedHistory>& tried, int change, ValueBounds bounds, int binCount);
// The same for the parameter at index (the other parameter's profile, say), change 0.
ChangeTimeProfile sampledProfile(
    const std::vector<TriedHistory>& tried, std::size_t index, ValueBounds bounds, int binCount);

} // namespace ages

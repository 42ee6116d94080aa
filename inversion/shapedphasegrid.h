#pragma once
// The fit of one phase of a ramp or a decay: two parameters, the rate at the path start r0 and
// either the rate at the present r1 (a ramp, linear in between) or the decay time TAU (the rate
// r0 exp(-(P - t) / TAU)). Ages pin such a pair along a narrow curved ridge (a faster start with
// a steeper fall dates much like a slower start with a gentler one), far narrower than any grid
// step, so the profiles are computed, not read off a grid:
//
// 1. The profiles: at each of valueCount values of one parameter (spaced by a constant ratio
//    across its bounds: --rates for r0 and r1, --decay-times for TAU; equal ratios are about
//    equal steps in age), chi2 is minimised over the other by Brent's method (Boost's
//    brent_find_minima) in its logarithm across its bounds. Along one parameter with the other
//    held the ages move one way, so that minimum is the ridge's.
// 2. The best history: Brent's method in r0 between the grid values on either side of the
//    lowest profile point, each trial with its own inner minimisation over the second parameter
//    (the profile of r0 refined), then the downhill simplex from there with steps of a hundredth
//    of each value, inside the bounds. The best is the lowest history of all these evaluated.
// 3. The ranges: each profile gets the best as one more point and its range is read at the
//    fit's level (changetimerange.h); then the profile is computed at both ends of that range
//    as well and the range read again (twice), so that the crossings rest on profile points
//    beside them rather than on a parabola across a grid step.
// The profile points run in parallel, each in a fixed order, so the result does not depend on
// the thread count.

#include "historyfitresult.h"
#include "historyparameters.h"
#include "parallelfor.h"
#include "ratefit.h"

namespace ages {

struct ShapedGridSettings {
    // Defaults sized for a misfit of a few ms: some 700 evaluations (667 on the example's
    // eight ages), a second or two on two cores.
    int valueCount = 12; // per parameter, >= 3
    int refinementEvaluations = 40; // the simplex's cap
    unsigned threads = defaultThreadCount();
};

// The space must have one phase, a ramp or a decay, no other parameter and no error
// (historySpaceError). Throws std::invalid_argument otherwise or for settings out of range; an
// exception from the misfit ends the fit and is passed on.
HistoryFit fitShapedPhaseGrid(const HistorySpace& space, const HistoryMisfit& misfit,
    const ShapedGridSettings& settings = {}, const FitProgress& progress = {});

} // namespace ages

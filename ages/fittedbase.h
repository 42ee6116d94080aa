#pragma once
// The words of a fit that fits the base of the geotherm with the erosion (--fit-base MIN:MAX):
// the base's best value and range, and the warnings that the data cannot pin it, shared by the
// history fit and the rate fits of the transient and periodic models.
//
//     base_temperature_c: 1180 C, range 1020 to 1350 C (fitted with the erosion)
//     warning: the range of base_temperature_c reaches 800 C, the lowest of --fit-base: ...
//     warning: the ages constrain rate and geotherm together: the rate ranges from ...

#include "changetimerange.h"
#include "ratefit.h"
#include "textformat.h"

#include <string>
#include <vector>

namespace ages {

// What the fitted base is called and measured in.
struct FittedBaseWords {
    std::string column; // its table column: base_temperature_c, basal_gradient_c_m, ...
    std::string unit; // C, mW/m2, C/m
    ValueBounds bounds; // --fit-base
    // What would separate rate and geotherm, the end of the trade-off warning.
    std::string remedy = "add data that know the geotherm (borehole temperatures, system T; heat "
                         "flow, Q) or systems of other closure temperatures";
};

// "base_temperature_c: 1180 C, range 1020 to 1350 C (fitted with the erosion)" from the base's
// profile (its bestRate, rangeLow and rangeHigh are the base's values); scaled: the range was
// widened by the reduced chi2. No line end.
std::string fittedBaseLine(const RateFit& base, const FittedBaseWords& words, bool scaled);

// The warnings, as values: the base's range reaching a bound of --fit-base (kind
// base_at_bound), and, given the rate's range over every base (overBases) and at the best base
// alone (atBestBase), the trade-off when the first is more than twice as wide as the second
// (kind rate_and_geotherm).
std::vector<textformat::Warning> fittedBaseWarnings(const RateFit& base,
    const FittedBaseWords& words, const RateFit* overBases = nullptr,
    const RateFit* atBestBase = nullptr);

} // namespace ages

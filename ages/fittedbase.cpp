#include "fittedbase.h"

#include "misfitlevel.h"

namespace ages {

namespace {

// The rate's range with the base fitted more than this many times its width at the best base:
// the ages do not separate the two.
constexpr double rangeWideningWarned = 2.0;

} // namespace

std::string fittedBaseLine(const RateFit& base, const FittedBaseWords& words, const bool scaled)
{
    const std::string unit = " " + words.unit;
    const int decimals = rangeDecimals(base.rangeLow, base.rangeHigh, 0);
    return words.column + ": " + textformat::fixed(base.bestRate, decimals) + unit + ", range "
        + textformat::fixed(base.rangeLow, decimals) + " to "
        + textformat::fixed(base.rangeHigh, decimals) + unit + " (fitted with the erosion"
        + (scaled ? ", scaled by reduced chi2" : "") + ")";
}

std::vector<textformat::Warning> fittedBaseWarnings(const RateFit& base,
    const FittedBaseWords& words, const RateFit* overBases, const RateFit* atBestBase)
{
    std::vector<textformat::Warning> warnings;
    const std::string unit = " " + words.unit;
    if (base.rangeReachesLowEnd)
        warnings.push_back({ .kind = "base_at_bound", .samples = {},
            .text = "the range of " + words.column + " reaches "
                + textformat::number(words.bounds.low) + unit
                + ", the lowest of --fit-base: the data cannot exclude a lower one; widen "
                  "--fit-base" });
    if (base.rangeReachesHighEnd)
        warnings.push_back({ .kind = "base_at_bound", .samples = {},
            .text = "the range of " + words.column + " reaches "
                + textformat::number(words.bounds.high) + unit
                + ", the highest of --fit-base: the data cannot exclude a higher one; widen "
                  "--fit-base" });
    if (overBases && atBestBase) {
        const double widthAll = overBases->rangeHigh - overBases->rangeLow;
        const double widthFixed = atBestBase->rangeHigh - atBestBase->rangeLow;
        if (widthAll > rangeWideningWarned * widthFixed) {
            const int decimals = rangeDecimals(atBestBase->rangeLow, atBestBase->rangeHigh, 3);
            warnings.push_back({ .kind = "rate_and_geotherm", .samples = {},
                .text = "the ages constrain rate and geotherm together: the rate ranges from "
                    + textformat::fixed(overBases->rangeLow, decimals) + " to "
                    + textformat::fixed(overBases->rangeHigh, decimals)
                    + " mm/yr over the bases that fit, against "
                    + textformat::fixed(atBestBase->rangeLow, decimals) + " to "
                    + textformat::fixed(atBestBase->rangeHigh, decimals)
                    + " mm/yr at the best base alone; a faster rate on a cooler geotherm explains "
                      "them as well as a slower one on a hotter: "
                    + words.remedy });
        }
    }
    return warnings;
}

} // namespace ages

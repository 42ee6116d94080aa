#include "ratesweep.h"

#include "inputerror.h"
#include "ratefit.h"
#include "strictnumber.h"
#include "textformat.h"

#include <cmath>
#include <string>

namespace ages {

namespace {

// Steps that land within this fraction of a step beyond STOP still count: 0.1:0.3:0.1 holds 0.3
// although 0.1 + 2 x 0.1 rounds to 0.30000000000000004.
constexpr double stepTolerance = 1e-6;

// The last k with start + k step <= stop, within the tolerance.
double lastStepIndex(const RateSweep& sweep)
{
    return std::floor((sweep.stop - sweep.start) / sweep.step + stepTolerance);
}

} // namespace

std::vector<double> RateSweep::rates() const
{
    const auto last = static_cast<int>(lastStepIndex(*this));
    std::vector<double> list;
    list.reserve(last + 1);
    for (int k = 0; k <= last; ++k)
        list.push_back(start + k * step);
    return list;
}

RateSweep parseRateSweep(const std::string_view text)
{
    const std::string form
        = "--rates expects START:STOP:STEP in mm/yr, got '" + std::string(text) + "'";
    const auto first = text.find(':');
    const auto second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos || text.find(':', second + 1) != std::string_view::npos)
        throw InputError(form);
    const auto start = decimal::strictDouble(text.substr(0, first));
    const auto stop = decimal::strictDouble(text.substr(first + 1, second - first - 1));
    const auto step = decimal::strictDouble(text.substr(second + 1));
    if (!start || !stop || !step)
        throw InputError(form);

    return checkedRateSweep({ *start, *stop, *step }, text);
}

RateSweep checkedRateSweep(const RateSweep& sweep, const std::string_view shownAs)
{
    const std::string text = !shownAs.empty() ? std::string(shownAs)
                                              : textformat::shortest(sweep.start) + ":"
            + textformat::shortest(sweep.stop) + ":" + textformat::shortest(sweep.step);
    if (!std::isfinite(sweep.start) || !std::isfinite(sweep.stop) || !std::isfinite(sweep.step))
        throw InputError("--rates: START, STOP and STEP must be finite numbers (got '" + text + "')");
    if (sweep.step <= 0)
        throw InputError("--rates: STEP must be greater than 0 (got '" + text + "')");
    // Both models erode: a rate of 0 or less has no cooling path.
    if (sweep.start <= 0)
        throw InputError(
            "--rates: START must be greater than 0 mm/yr (got '" + text + "')");
    if (sweep.start > sweep.stop)
        throw InputError("--rates: START must not exceed STOP (got '" + text + "')");
    if (sweep.start < slowestFitRateMmYr || sweep.stop > fastestFitRateMmYr)
        throw InputError("--rates '" + text + "': rates lie from "
            + textformat::number(slowestFitRateMmYr) + " to "
            + textformat::number(fastestFitRateMmYr)
            + " mm/yr, from the slowest erosion of a craton to beyond the fastest measured");
    const double count = lastStepIndex(sweep) + 1;
    if (!(count <= maxSweepRates))
        throw InputError("--rates '" + text + "' holds more than "
            + std::to_string(maxSweepRates) + " rates; take a larger STEP");
    return sweep;
}

} // namespace ages

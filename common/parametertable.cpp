#include "parametertable.h"

#include "textformat.h"

#include <cmath>

namespace parameters {

namespace {

// " um", or nothing without a unit. (Appended rather than "literal + string", which GCC 12's
// -Wrestrict misreads.)
std::string unitSuffix(const std::string_view unit)
{
    std::string suffix;
    if (!unit.empty())
        suffix.append(" ").append(unit);
    return suffix;
}

std::string withUnit(const double value, const std::string_view unit)
{
    return textformat::number(value) + unitSuffix(unit);
}

} // namespace

bool Range::holds(const double value) const
{
    return std::isfinite(value) && (lowestIncluded ? value >= lowest : value > lowest)
        && (highestIncluded ? value <= highest : value < highest);
}

std::string Range::text(const std::string_view unit) const
{
    std::string text;
    if (std::isfinite(lowest))
        text = (lowestIncluded ? "of at least " : "above ") + withUnit(lowest, unit);
    if (std::isfinite(highest))
        text += (text.empty() ? "" : " and ") + std::string(highestIncluded ? "at most " : "below ")
            + withUnit(highest, unit);
    return text;
}

std::optional<std::string> rangeError(const Description& parameter, const double value,
    const std::optional<Range>& given, const std::string_view lowestName)
{
    const Range& range = given ? *given : parameter.range;
    if (range.holds(value))
        return std::nullopt;
    std::string bounds = range.text(parameter.unit);
    if (!lowestName.empty()) {
        const std::size_t number = bounds.find_first_of("-0123456789");
        bounds.insert(number, std::string(lowestName) + ", ");
    }
    return std::string(parameter.name) + " (" + std::string(parameter.flag) + " "
        + withUnit(value, parameter.unit) + ") must be a finite number"
        + (bounds.empty() ? "" : " " + bounds);
}

std::string rangeHelp(const Description& parameter)
{
    // Shorter than a refusal's words: "25 to 500 um", "above 0, at most 1e+06 m", "at least 0 ppm".
    const Range& r = parameter.range;
    const std::string unit = unitSuffix(parameter.unit);
    const bool low = std::isfinite(r.lowest);
    const bool high = std::isfinite(r.highest);
    std::string bounds;
    if (low && high && r.lowestIncluded && r.highestIncluded)
        bounds = textformat::number(r.lowest) + " to " + textformat::number(r.highest) + unit;
    else if (low && high)
        bounds = (r.lowestIncluded ? "at least " : "above ") + textformat::number(r.lowest) + ", "
            + (r.highestIncluded ? "at most " : "below ") + textformat::number(r.highest) + unit;
    else if (low)
        bounds = (r.lowestIncluded ? "at least " : "above ") + textformat::number(r.lowest) + unit;
    else if (high)
        bounds = (r.highestIncluded ? "at most " : "below ") + textformat::number(r.highest) + unit;
    return bounds;
}

std::string helpWithRange(const Description& parameter, const std::string_view more)
{
    const std::string bounds = rangeHelp(parameter);
    return std::string(parameter.help) + std::string(more) + (bounds.empty() ? "" : ", " + bounds);
}

} // namespace parameters

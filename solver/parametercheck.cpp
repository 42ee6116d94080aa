#include "parametercheck.h"

#include "units.h"

#include <cmath>
#include <cstdio>

namespace erosion {

namespace {

// The value of option as the user typed it, or as the program holds it when it was not typed
// (the C locale is never changed, so '.' is the point).
std::string shown(const RunParameters& p, char option, double value)
{
    if (const auto typed = p.typedText.find(option); typed != p.typedText.end())
        return typed->second;
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::optional<std::string> requirePositive(
    const RunParameters& p, double value, char option, const char* what, const char* unit)
{
    if (std::isfinite(value) && value > 0.0)
        return std::nullopt;
    return std::string("-") + option + " " + what + " must be a finite number greater than 0" + unit
        + " (got " + shown(p, option, value) + ")";
}

} // namespace

std::optional<std::string> checkParameters(const RunParameters& p)
{
    if (auto error = requirePositive(p, p.erosionRate, 'r', "erosion rate", " mm/yr"))
        return error;
    if (auto error = requirePositive(p, p.maxDepth, 'z', "maximum depth", " meters"))
        return error;
    if (auto error = requirePositive(p, p.diffusivity, 'a', "thermal diffusivity", " m^2/s"))
        return error;

    constexpr char geothermOptions[] = { 'd', 'e', 'f', 'g' };
    for (std::size_t k = 0; k < p.geothermTime.size(); ++k) {
        const double time = p.geothermTime[k];
        if (time >= 0.0 && std::isfinite(time))
            continue;
        const char option = geothermOptions[k];
        const std::string head
            = std::string("-") + option + " geotherm " + std::to_string(k + 1) + " time ";
        const std::string got = " (got " + shown(p, option, time / units::secondsPerMyr) + ")";
        // A time that overflows in seconds is beyond anything the model can evaluate.
        if (time > 0.0)
            return head + "is too large: it must be a finite number of million years" + got;
        return head + "must be a finite number of million years, 0 or more" + got;
    }
    return std::nullopt;
}

std::optional<std::string> checkGrid(const RunParameters& p, int nodeCount)
{
    if (nodeCount >= 2)
        return std::nullopt;
    return "-z maximum depth (got " + shown(p, 'z', p.maxDepth)
        + " meters) is too small beside the node spacing, 1000 x -r erosion rate (got "
        + shown(p, 'r', p.erosionRate)
        + " mm/yr): the depth grid needs 2 nodes or more, the surface and one below it";
}

std::optional<std::string> exposureTimeError(const RunParameters& p, const double exposureMyr)
{
    if (exposureMyr >= 0.0 && std::isfinite(exposureMyr * units::secondsPerMyr))
        return std::nullopt;
    const std::string got = " (got " + shown(p, 'o', exposureMyr) + ")";
    if (exposureMyr > 0.0)
        return "-o exposure time is too large: it must be a finite number of million years" + got;
    return "-o exposure time must be a finite number of million years, 0 or more" + got;
}

std::optional<std::string> checkHistoryTime(const RunParameters& p, int nodeCount)
{
    const int last = nodeCount - 1;
    if (!exposureTimeError(p, p.historyTime) && p.historyTime <= last)
        return std::nullopt;
    return "-o temperature history time must be between 0 and " + std::to_string(last)
        + " million years for this grid (got " + shown(p, 'o', p.historyTime) + ")";
}

} // namespace erosion

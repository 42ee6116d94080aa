#include "parametercheck.h"

#include <cmath>
#include <cstdio>

namespace erosion {

namespace {

// A value as the user would type it back (the C locale is never changed, so '.' is the point).
std::string shown(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::optional<std::string> requirePositive(
    double value, const char* option, const char* what, const char* unit)
{
    if (std::isfinite(value) && value > 0.0)
        return std::nullopt;
    return std::string("ERROR: ") + option + " " + what + " must be a finite number greater than 0"
        + unit + " (got " + shown(value) + ")";
}

} // namespace

std::optional<std::string> checkParameters(const RunParameters& p)
{
    if (auto error = requirePositive(p.erosionRate, "-r", "erosion rate", " mm/yr"))
        return error;
    if (auto error = requirePositive(p.maxDepth, "-z", "maximum depth", " meters"))
        return error;
    if (auto error = requirePositive(p.diffusivity, "-a", "thermal diffusivity", " m^2/s"))
        return error;

    constexpr const char* geothermOptions[] = { "-d", "-e", "-f", "-g" };
    for (std::size_t k = 0; k < p.geothermTime.size(); ++k) {
        const double time = p.geothermTime[k];
        if (time >= 0.0 && std::isfinite(time))
            continue;
        return std::string("ERROR: ") + geothermOptions[k] + " geotherm " + std::to_string(k + 1)
            + " time must be a finite number of million years, 0 or more (got "
            + shown(time / units::secondsPerMyr) + ")";
    }
    return std::nullopt;
}

std::optional<std::string> checkHistoryTime(const RunParameters& p, int nodeCount)
{
    const int last = nodeCount - 1;
    if (p.historyTime >= 0.0 && p.historyTime <= last)
        return std::nullopt;
    return "ERROR: -o temperature history time must be between 0 and " + std::to_string(last)
        + " million years for this grid (got " + shown(p.historyTime) + ")";
}

} // namespace erosion

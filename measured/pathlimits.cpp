#include "pathlimits.h"

#include "textformat.h"

#include <algorithm>

namespace ages {

bool isDatableTemperature(const double temperatureC)
{
    return temperatureC >= absoluteZeroC && temperatureC <= hottestPathC;
}

std::optional<thermochron::PathPoint> undatablePoint(const thermochron::CoolingPath& path)
{
    const auto point = std::find_if(path.begin(), path.end(),
        [](const thermochron::PathPoint& p) { return !isDatableTemperature(p.temperatureC); });
    if (point == path.end())
        return std::nullopt;
    return *point;
}

std::string temperatureRangeMessage(const thermochron::PathPoint& point, const std::string_view fix)
{
    return "the cooling path reaches " + textformat::number(point.temperatureC) + " C at "
        + textformat::number(point.timeMa) + " Ma, outside " + textformat::number(absoluteZeroC)
        + " to " + textformat::number(hottestPathC) + " C; " + std::string(fix);
}

std::optional<std::string> temperatureRangeError(const thermochron::CoolingPath& path)
{
    if (const auto point = undatablePoint(path))
        return temperatureRangeMessage(*point, "check the model's temperatures (-T, -B or -b)");
    return std::nullopt;
}

} // namespace ages

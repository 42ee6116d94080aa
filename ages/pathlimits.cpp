#include "pathlimits.h"

#include <sstream>

namespace ages {

bool isDatableTemperature(const double temperatureC)
{
    return temperatureC >= absoluteZeroC && temperatureC <= hottestPathC;
}

std::optional<std::string> temperatureRangeError(const thermochron::CoolingPath& path)
{
    for (const thermochron::PathPoint& point : path) {
        if (isDatableTemperature(point.temperatureC))
            continue;
        std::ostringstream text;
        text << "the cooling path reaches " << point.temperatureC << " C at " << point.timeMa
             << " Ma, outside " << absoluteZeroC << " to " << hottestPathC
             << " C; check the model's temperatures (-T, -B or -b)";
        return text.str();
    }
    return std::nullopt;
}

} // namespace ages

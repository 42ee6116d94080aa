#include "pathinput.h"

#include "helptext.h"

#include "pathlimits.h"

#include <algorithm>
#include <cmath>

namespace erosion_python {

namespace {

// "time_ma[3] = -1 Ma"
std::string pointText(std::size_t index, double timeMa)
{
    return "time_ma[" + std::to_string(index) + "] = " + shownNumber(timeMa) + " Ma";
}

} // namespace

ages::SamplePath samplePath(const DoubleArray& timeMa, const DoubleArray& temperatureC,
    const std::optional<DoubleArray>& depthM)
{
    const std::vector<double> times = toVector(timeMa, "time_ma");
    const std::vector<double> temperatures = toVector(temperatureC, "temperature_c");
    std::vector<double> depths = depthM ? toVector(*depthM, "depth_m") : std::vector<double> {};
    if (temperatures.size() != times.size() || (depthM && depths.size() != times.size()))
        throw py::value_error("time_ma, temperature_c" + std::string(depthM ? " and depth_m" : "")
            + " must be of one length (got " + std::to_string(times.size()) + ", "
            + std::to_string(temperatures.size())
            + (depthM ? ", " + std::to_string(depths.size()) : std::string()) + ")");
    if (times.size() < 2)
        throw py::value_error(
            "a cooling path needs at least 2 points, found " + std::to_string(times.size()));
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (!std::isfinite(times[i]))
            throw py::value_error(pointText(i, times[i]) + " is not a number");
        if (times[i] < 0)
            throw py::value_error(pointText(i, times[i])
                + " lies in the future (times are Ma before present, 0 or more)");
        if (times[i] > ages::oldestPathMa)
            throw py::value_error(pointText(i, times[i]) + " is older than the Earth ("
                + shownNumber(ages::oldestPathMa) + " Ma)");
    }

    // Oldest first, as the age models read a path.
    const bool youngestFirst = times.front() < times.back();
    ages::SamplePath sample;
    sample.path.reserve(times.size());
    for (std::size_t k = 0; k < times.size(); ++k) {
        const std::size_t i = youngestFirst ? times.size() - 1 - k : k;
        sample.path.push_back({ times[i], temperatures[i] });
    }
    if (youngestFirst)
        std::reverse(depths.begin(), depths.end());
    sample.depthM = std::move(depths);
    for (std::size_t k = 1; k < sample.path.size(); ++k)
        if (!(sample.path[k].timeMa < sample.path[k - 1].timeMa))
            throw py::value_error(
                "time_ma must rise or fall throughout: " + shownNumber(sample.path[k].timeMa)
                + " Ma follows " + shownNumber(sample.path[k - 1].timeMa) + " Ma");
    if (const auto point = ages::undatablePoint(sample.path))
        throw py::value_error(ages::temperatureRangeMessage(*point, "check temperature_c"));
    return sample;
}

} // namespace erosion_python

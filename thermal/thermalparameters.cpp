#include "thermalparameters.h"

#include "textformat.h"

#include <cmath>
#include <limits>
#include <vector>

namespace thermal {

namespace {

// "conductivity (-k 0 W/m/K)"
std::string describe(const char* name, const char* option, const double value, const char* unit)
{
    return std::string(name) + " (" + option + " " + textformat::number(value) + " " + unit + ")";
}

struct Bound {
    const char* name;
    const char* option;
    double value;
    const char* unit;
    double lowest; // the value must be above this, or at least this when inclusive
    bool inclusive;
    double highest = std::numeric_limits<double>::infinity(); // and at most this
    const char* lowestName = nullptr; // what the lowest value is, when another option sets it
};

// The bound's refusal, or nothing when the value is finite and on the right side of it.
std::optional<std::string> boundError(const Bound& b)
{
    const bool inRange
        = (b.inclusive ? b.value >= b.lowest : b.value > b.lowest) && b.value <= b.highest;
    if (std::isfinite(b.value) && inRange)
        return std::nullopt;
    std::string range = (b.inclusive ? "of at least " : "above ")
        + (b.lowestName ? std::string(b.lowestName) + ", " : std::string())
        + textformat::number(b.lowest) + " " + b.unit;
    if (std::isfinite(b.highest))
        range += " and at most " + textformat::number(b.highest) + " " + b.unit;
    return describe(b.name, b.option, b.value, b.unit) + " must be a finite number " + range;
}

} // namespace

std::optional<std::string> parameterError(const ThermalParameters& p)
{
    std::vector<Bound> bounds {
        { "surface temperature", "-T", p.surfaceTemperatureC, "C", absoluteZeroC, true },
        { "base depth", "-z", p.baseDepthM, "m", 0.0, false, deepestBaseM },
    };
    if (p.base == BaseCondition::Temperature) {
        // Heat flows up through the column: the base is hotter than the surface.
        bounds.push_back({ "base temperature", "-b", p.baseTemperatureC, "C", p.surfaceTemperatureC,
            false, std::numeric_limits<double>::infinity(), "the surface temperature (-T)" });
    } else {
        bounds.push_back({ "base heat flow", "-q", p.baseHeatFlowMWm2, "mW/m2", 0.0, true });
    }
    bounds.push_back({ "conductivity", "-k", p.conductivityWmK, "W/m/K", 0.0, false });
    bounds.push_back({ "diffusivity", "-a", p.diffusivityM2s, "m2/s", 0.0, false });
    bounds.push_back({ "heat production", "-H", p.heatProductionUWm3, "uW/m3", 0.0, true });
    if (p.heatProductionUWm3 > 0.0) {
        if (p.heatProductionShape == HeatProductionShape::Exponential) {
            bounds.push_back(
                { "heat production scale", "--hr", p.heatProductionScaleM, "m", 0.0, false });
        } else {
            bounds.push_back({ "heat-producing layer depth", "--h-depth", p.heatProductionDepthM,
                "m", 0.0, false });
        }
    }
    if (p.initial == InitialState::Linear) {
        bounds.push_back({ "initial gradient", "-B", p.initialGradientCm, "C/m", 0.0, true });
    }

    for (const Bound& bound : bounds) {
        if (auto message = boundError(bound))
            return message;
    }
    return std::nullopt;
}

} // namespace thermal

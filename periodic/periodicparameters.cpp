#include "periodicparameters.h"

#include "numberword.h"
#include "units.h"

#include <cmath>

namespace periodic {

namespace {

// "erosion rate (-r 0.5 mm/yr)"
std::string describe(
    const char option, const std::string& name, const double value, const std::string& unit)
{
    return name + " (-" + option + " " + numberWord(value) + (unit.empty() ? "" : " ") + unit + ")";
}

} // namespace

std::optional<std::string> parameterError(const PeriodicParameters& p)
{
    const struct {
        char option;
        const char* name;
        double value;
        const char* unit;
        bool positive; // must be > 0
    } values[] = {
        { 'r', "erosion rate", p.erosionRate, "mm/yr", true },
        { 'a', "thermal diffusivity", p.diffusivity, "m2/s", true },
        { 'T', "surface temperature", p.surfaceTemp, "C", false },
        { 'L', "lapse rate", p.lapseRate, "C/km", false },
        { 'b', "basal temperature", p.basalTemp, "C", false },
        { 'z', "basal depth", p.basalDepth, "m", true },
        { 'w', "wavelength", p.wavelength, "m", true },
        { 'A', "relief amplitude", p.reliefAmplitude, "m", false },
        { 'i', "isotherm 1", p.isothermTemp[0], "C", false },
        { 'j', "isotherm 2", p.isothermTemp[1], "C", false },
        { 'k', "isotherm 3", p.isothermTemp[2], "C", false },
        { 'l', "isotherm 4", p.isothermTemp[3], "C", false },
        { 'o', "history duration", p.historyDuration, "Myr", true },
    };
    for (const auto& v : values) {
        if (!std::isfinite(v.value)) {
            return describe(v.option, v.name, v.value, v.unit) + " must be a finite number";
        }
        if (v.positive && v.value <= 0.0) {
            return describe(v.option, v.name, v.value, v.unit) + " must be positive";
        }
    }
    if (p.reliefAmplitude < 0.0) {
        return describe('A', "relief amplitude", p.reliefAmplitude, "m")
            + " must be zero or positive (ridges lie at x = 0)";
    }
    if (p.basalDepth <= p.reliefAmplitude) {
        return describe('z', "basal depth", p.basalDepth, "m")
            + " must lie below the valley floors, deeper than the "
            + describe('A', "relief amplitude", p.reliefAmplitude, "m");
    }
    if (p.pointCount < 2 || p.pointCount > maxPointCount) {
        return "points per profile (-n " + std::to_string(p.pointCount) + ") must be from 2 to "
            + std::to_string(maxPointCount);
    }
    // The valley rock starts deepest: h0 below the mean level plus what erosion removed since.
    const double startDepth
        = p.reliefAmplitude + p.erosionRate * units::metresPerMyrPerMmPerYear * p.historyDuration;
    if (startDepth > p.basalDepth) {
        return describe('o', "history duration", p.historyDuration, "Myr") + " at the "
            + describe('r', "erosion rate", p.erosionRate, "mm/yr") + " starts the valley rock "
            + numberWord(startDepth) + " m deep, below the "
            + describe('z', "basal depth", p.basalDepth, "m");
    }
    return std::nullopt;
}

SteadyStateProblem toProblem(const PeriodicParameters& p)
{
    return {
        .velocity = units::metresPerSecondFromMmPerYear(p.erosionRate),
        .diffusivity = p.diffusivity,
        .surfaceTemp = p.surfaceTemp,
        .lapseRate = p.lapseRate / units::metresPerKilometre,
        .basalTemp = p.basalTemp,
        .basalDepth = p.basalDepth,
        .wavelength = p.wavelength,
        .amplitude = p.reliefAmplitude,
    };
}

} // namespace periodic

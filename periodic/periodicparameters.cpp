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

// Ts -+ beta h0 (C): the surface temperature on the ridge crests and on the valley floors.
double ridgeTemp(const PeriodicParameters& p)
{
    return p.surfaceTemp - p.lapseRate * p.reliefAmplitude / units::metresPerKilometre;
}
double valleyTemp(const PeriodicParameters& p)
{
    return p.surfaceTemp + p.lapseRate * p.reliefAmplitude / units::metresPerKilometre;
}

// "(-T 0 C and -L 6.5 C/km over -A 1000 m)": where a surface temperature comes from.
std::string surfaceTempSource(const PeriodicParameters& p)
{
    return "(-T " + numberWord(p.surfaceTemp) + " C and -L " + numberWord(p.lapseRate)
        + " C/km over -A " + numberWord(p.reliefAmplitude) + " m)";
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
    if (p.lapseRate < 0.0) {
        return describe('L', "lapse rate", p.lapseRate, "C/km")
            + " must be zero or positive: the surface cools by this much per km of height";
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
    const struct {
        char option;
        const char* name;
        double value;
    } temperatures[] = {
        { 'T', "surface temperature", p.surfaceTemp },
        { 'b', "basal temperature", p.basalTemp },
        { 'i', "isotherm 1", p.isothermTemp[0] },
        { 'j', "isotherm 2", p.isothermTemp[1] },
        { 'k', "isotherm 3", p.isothermTemp[2] },
        { 'l', "isotherm 4", p.isothermTemp[3] },
    };
    for (const auto& t : temperatures) {
        if (t.value < absoluteZero) {
            return describe(t.option, t.name, t.value, "C") + " lies below absolute zero ("
                + numberWord(absoluteZero) + " C); temperatures are in degrees Celsius";
        }
    }
    if (ridgeTemp(p) < absoluteZero) {
        return "the ridge crests would be at " + numberWord(ridgeTemp(p)) + " C "
            + surfaceTempSource(p) + ", below absolute zero (" + numberWord(absoluteZero)
            + " C); lower the lapse rate (-L) or the relief (-A), or raise -T";
    }
    // Heat must flow up through every surface point; with a base no hotter than the valley floors
    // the model has no geotherm to speak of, and rock would warm on its way to the surface.
    if (!(p.basalTemp > valleyTemp(p))) {
        return describe('b', "basal temperature", p.basalTemp, "C")
            + " must be above the hottest surface temperature, " + numberWord(valleyTemp(p))
            + " C in the valleys " + surfaceTempSource(p) + "; raise -b or lower -T";
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

std::vector<std::string> parameterWarnings(const PeriodicParameters& p)
{
    // By the maximum principle the model's temperatures lie between those of its boundaries: the
    // ridge crests at the coldest and the base at the hottest (it is hotter than the valleys).
    const double coldest = ridgeTemp(p);
    const double hottest = p.basalTemp;
    std::vector<std::string> warnings;
    for (std::size_t j = 0; j < p.isothermTemp.size(); ++j) {
        const double temp = p.isothermTemp[j];
        if (temp < coldest || temp > hottest) {
            warnings.push_back(
                describe(static_cast<char>('i' + j), "isotherm " + std::to_string(j + 1), temp, "C")
                + " lies outside the model's temperatures, " + numberWord(coldest) + " to "
                + numberWord(hottest) + " C: its file holds only NaN");
        }
    }
    return warnings;
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

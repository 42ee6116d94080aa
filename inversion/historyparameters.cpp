#include "historyparameters.h"

#include "textformat.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace ages {

namespace {

} // namespace

std::string historySpaceError(const HistorySpace& space)
{
    if (space.phaseCount < 1 || space.phaseCount > 3)
        return "--fit-phases must be 1, 2 or 3, got " + std::to_string(space.phaseCount);
    if (!(space.pathStartMa > 0) || !std::isfinite(space.pathStartMa))
        return "the path start must be a positive number of Ma, got "
            + textformat::number(space.pathStartMa);
    const ValueBounds rates = space.ratesMmYr;
    if (!(rates.low >= slowestFitRateMmYr) || !(rates.low < rates.high)
        || !(rates.high <= fastestFitRateMmYr))
        return "--rates MIN:MAX needs " + textformat::number(slowestFitRateMmYr)
            + " <= MIN < MAX <= " + textformat::number(fastestFitRateMmYr) + " (mm/yr), got " + textformat::number(rates.low)
            + ":" + textformat::number(rates.high);
    if (space.phaseCount > 1) {
        const ValueBounds times = space.changeTimesMa;
        if (!(times.low > 0) || !(times.low < times.high) || !(times.high < space.pathStartMa))
            return "--change-times MIN:MAX needs 0 < MIN < MAX < the path start ("
                + textformat::number(space.pathStartMa) + " Ma), got "
                + textformat::number(times.low) + ":" + textformat::number(times.high);
    }
    if (space.other
        && !(space.other->low < space.other->high && std::isfinite(space.other->low)
            && std::isfinite(space.other->high)))
        return "the bounds of " + space.otherColumn + " need MIN < MAX, got "
            + textformat::number(space.other->low) + ":" + textformat::number(space.other->high);
    return {};
}

std::string parameterCountWarning(const HistorySpace& space)
{
    if (space.degreesOfFreedom() > 0)
        return {};
    const auto counted = [](std::size_t count, const char* noun) {
        return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
    };
    return "warning: " + counted(static_cast<std::size_t>(space.parameterCount()), "parameter")
        + " for " + counted(space.sampleCount, "sample")
        + ": the ages cannot pin every parameter and the reduced chi2 is undefined; fit fewer "
          "phases or add samples";
}

bool isInside(const HistorySpace& space, const std::vector<double>& parameters)
{
    if (parameters.size() != static_cast<std::size_t>(space.parameterCount()))
        return false;
    if (space.other && !space.other->contains(parameters.back()))
        return false;
    double previousChangeMa = space.pathStartMa;
    for (std::size_t i = 0; i < static_cast<std::size_t>(space.historyParameterCount()); ++i) {
        const double value = parameters[i];
        if (i % 2 == 0) {
            if (!space.ratesMmYr.contains(value))
                return false;
        } else {
            if (!space.changeTimesMa.contains(value) || !(value < previousChangeMa))
                return false;
            previousChangeMa = value;
        }
    }
    return true;
}

ErosionHistory historyOf(const HistorySpace& space, const std::vector<double>& parameters)
{
    // The history's own parameters, with or without the other after them.
    if (parameters.size() != static_cast<std::size_t>(space.parameterCount())
        && parameters.size() != static_cast<std::size_t>(space.historyParameterCount()))
        throw std::invalid_argument("a history needs 2 x phases - 1 parameters");
    ErosionHistory history(space.phaseCount);
    history[0].startMa = space.pathStartMa;
    for (int phase = 0; phase < space.phaseCount; ++phase) {
        history[phase].rateMmYr = parameters[2 * phase];
        if (phase > 0)
            history[phase].startMa = parameters[2 * phase - 1];
    }
    return history;
}

std::vector<double> parametersOf(const ErosionHistory& history)
{
    std::vector<double> parameters;
    for (std::size_t phase = 0; phase < history.size(); ++phase) {
        if (phase > 0)
            parameters.push_back(history[phase].startMa);
        parameters.push_back(history[phase].rateMmYr);
    }
    return parameters;
}

double otherOf(const HistorySpace& space, const std::vector<double>& parameters)
{
    return space.other ? parameters.back() : std::numeric_limits<double>::quiet_NaN();
}

double misfitOf(
    const HistorySpace& space, const HistoryMisfit& misfit, const std::vector<double>& parameters)
{
    return misfit(historyOf(space, parameters), otherOf(space, parameters));
}

std::vector<std::string> historyColumnNames(const HistorySpace& space)
{
    std::vector<std::string> names = historyColumnNames(space.phaseCount);
    if (space.other)
        names.push_back(space.otherColumn);
    return names;
}

std::vector<std::string> historyColumnNames(int phaseCount)
{
    std::vector<std::string> names;
    for (int phase = 1; phase <= phaseCount; ++phase) {
        names.push_back("start_" + std::to_string(phase) + "_ma");
        names.push_back("rate_" + std::to_string(phase) + "_mm_yr");
    }
    return names;
}

} // namespace ages

#include "historyparameters.h"

#include "textformat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace ages {

namespace {

// The unit of a parameter's role in messages and tables.
const char* roleUnit(ParameterRole role)
{
    switch (role) {
    case ParameterRole::ChangeTime:
        return "_ma";
    case ParameterRole::DecayTime:
        return "_myr";
    case ParameterRole::Other:
        return "";
    case ParameterRole::Rate:
    case ParameterRole::EndRate:
        break;
    }
    return "_mm_yr";
}

struct ShapeWord {
    const char* word;
    PhaseShape shape;
};
constexpr ShapeWord shapeWords[] = { { "constant", PhaseShape::Constant },
    { "ramp", PhaseShape::Ramp }, { "decay", PhaseShape::Decay } };

} // namespace

std::vector<HistoryParameter> historyParameters(const HistorySpace& space)
{
    std::vector<HistoryParameter> roles;
    for (int phase = 1; phase <= space.phaseCount; ++phase) {
        if (phase > 1)
            roles.push_back({ ParameterRole::ChangeTime, phase });
        roles.push_back({ ParameterRole::Rate, phase });
        if (space.shapeOf(phase) == PhaseShape::Ramp)
            roles.push_back({ ParameterRole::EndRate, phase });
        else if (space.shapeOf(phase) == PhaseShape::Decay)
            roles.push_back({ ParameterRole::DecayTime, phase });
    }
    if (space.other)
        roles.push_back({ ParameterRole::Other, 0 });
    return roles;
}

std::size_t changeTimeIndex(const HistorySpace& space, const int change)
{
    const std::vector<HistoryParameter> roles = historyParameters(space);
    for (std::size_t i = 0; i < roles.size(); ++i) {
        if (roles[i].role == ParameterRole::ChangeTime && roles[i].phase == change + 1)
            return i;
    }
    throw std::invalid_argument("the space has no change time " + std::to_string(change));
}

ValueBounds parameterBounds(const HistorySpace& space, const std::size_t index)
{
    switch (historyParameters(space).at(index).role) {
    case ParameterRole::ChangeTime:
        return space.changeTimesMa;
    case ParameterRole::DecayTime:
        return space.decayTimesMyr;
    case ParameterRole::Other:
        return *space.other;
    case ParameterRole::Rate:
    case ParameterRole::EndRate:
        break;
    }
    return space.ratesMmYr;
}

std::vector<PhaseShape> parsePhaseShapes(const std::string& words, const int phaseCount)
{
    std::vector<PhaseShape> shapes;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = std::min(words.find(',', from), words.size());
        const std::string word = words.substr(from, comma - from);
        const auto known = std::find_if(std::begin(shapeWords), std::end(shapeWords),
            [&](const ShapeWord& shape) { return word == shape.word; });
        if (known == std::end(shapeWords))
            throw std::invalid_argument("--fit-shapes expects constant, ramp or decay for each "
                                        "phase, got '"
                + word + "'");
        shapes.push_back(known->shape);
        if (comma == words.size())
            break;
        from = comma + 1;
    }
    if (static_cast<int>(shapes.size()) != phaseCount)
        throw std::invalid_argument("--fit-shapes " + words + " names "
            + std::to_string(shapes.size()) + " shape" + (shapes.size() == 1 ? "" : "s")
            + " for --fit-phases " + std::to_string(phaseCount) + ": give one word per phase");
    return shapes;
}

std::string phaseShapeWord(const PhaseShape shape)
{
    for (const ShapeWord& known : shapeWords) {
        if (known.shape == shape)
            return known.word;
    }
    return "constant";
}

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
    if (!space.shapes.empty() && static_cast<int>(space.shapes.size()) != space.phaseCount)
        return "--fit-shapes names " + std::to_string(space.shapes.size())
            + " shapes for --fit-phases " + std::to_string(space.phaseCount)
            + ": give one word per phase";
    const bool decays = std::find(space.shapes.begin(), space.shapes.end(), PhaseShape::Decay)
        != space.shapes.end();
    const ValueBounds decay = space.decayTimesMyr;
    if (decays && !(decay.low > 0 && decay.low < decay.high && std::isfinite(decay.high)))
        return "--decay-times MIN:MAX needs 0 < MIN < MAX (Myr), got "
            + textformat::number(decay.low) + ":" + textformat::number(decay.high);
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
    const std::vector<HistoryParameter> roles = historyParameters(space);
    double previousChangeMa = space.pathStartMa;
    for (std::size_t i = 0; i < roles.size(); ++i) {
        const double value = parameters[i];
        if (!parameterBounds(space, i).contains(value))
            return false;
        if (roles[i].role == ParameterRole::ChangeTime) {
            if (!(value < previousChangeMa))
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
        throw std::invalid_argument("a history needs one parameter per rate, change time and "
                                    "shape parameter of its phases");
    ErosionHistory history(space.phaseCount);
    history[0].startMa = space.pathStartMa;
    const std::vector<HistoryParameter> roles = historyParameters(space);
    for (std::size_t i = 0; i < static_cast<std::size_t>(space.historyParameterCount()); ++i) {
        ErosionPhase& phase = history[roles[i].phase - 1];
        phase.shape = space.shapeOf(roles[i].phase);
        switch (roles[i].role) {
        case ParameterRole::Rate:
            phase.rateMmYr = parameters[i];
            break;
        case ParameterRole::EndRate:
            phase.endRateMmYr = parameters[i];
            break;
        case ParameterRole::DecayTime:
            phase.decayMyr = parameters[i];
            break;
        case ParameterRole::ChangeTime:
            phase.startMa = parameters[i];
            break;
        case ParameterRole::Other:
            break;
        }
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
        if (history[phase].shape == PhaseShape::Ramp)
            parameters.push_back(history[phase].endRateMmYr);
        else if (history[phase].shape == PhaseShape::Decay)
            parameters.push_back(history[phase].decayMyr);
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
    std::vector<std::string> names { "start_1_ma" };
    for (const HistoryParameter& parameter : historyParameters(space)) {
        const std::string phase = std::to_string(parameter.phase);
        switch (parameter.role) {
        case ParameterRole::Rate:
            names.push_back("rate_" + phase + roleUnit(parameter.role));
            break;
        case ParameterRole::EndRate:
            names.push_back("end_rate_" + phase + roleUnit(parameter.role));
            break;
        case ParameterRole::DecayTime:
            names.push_back("tau_" + phase + roleUnit(parameter.role));
            break;
        case ParameterRole::ChangeTime:
            names.push_back("start_" + phase + roleUnit(parameter.role));
            break;
        case ParameterRole::Other:
            names.push_back(space.otherColumn);
            break;
        }
    }
    return names;
}

std::vector<std::string> historyColumnNames(int phaseCount)
{
    HistorySpace space;
    space.phaseCount = phaseCount;
    return historyColumnNames(space);
}

} // namespace ages

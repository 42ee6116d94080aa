#include "historyrequest.h"

#include "inputerror.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace ages {

HistorySpace HistoryRequest::fitSpace(const std::size_t sampleCount) const
{
    const double start = pathStartMa();
    HistorySpace space { fitPhases, start, ratesMmYr,
        changeTimesMa.value_or(
            ValueBounds { changeTimeMargin * start, (1 - changeTimeMargin) * start }),
        sampleCount };
    space.other = fitBase;
    space.otherColumn = baseColumn();
    space.shapes = fitShapes;
    space.decayTimesMyr = decayTimesMyr.value_or(
        ValueBounds { shortestDecayShare * start, longestDecayShare * start });
    return space;
}

std::string HistoryRequest::baseColumn() const
{
    return thermal.base == thermal::BaseCondition::HeatFlow ? "base_heat_flow_mw_m2"
                                                            : "base_temperature_c";
}

void applyThermalChoices(const ThermalChoices& choices, thermal::ThermalParameters& parameters)
{
    if (choices.baseTemperature && choices.baseHeatFlow)
        throw InputError("-b and -q both set the base of the column: give its temperature (-b) "
                         "or the heat flow into it (-q), not both");
    parameters.base = choices.baseHeatFlow ? thermal::BaseCondition::HeatFlow
                                           : thermal::BaseCondition::Temperature;
    if (choices.productionScale && choices.productionDepth)
        throw InputError("--hr and --h-depth both shape the heat production: give its e-folding "
                         "depth (--hr) or the depth of a uniform layer (--h-depth), not both");
    parameters.heatProductionShape = choices.productionDepth
        ? thermal::HeatProductionShape::Uniform
        : thermal::HeatProductionShape::Exponential;
    if (choices.initialWord == "steady")
        parameters.initial = thermal::InitialState::Steady;
    else if (choices.initialWord == "linear")
        parameters.initial = thermal::InitialState::Linear;
    else
        throw InputError("--initial expects steady or linear, got '" + choices.initialWord + "'");
    if (choices.initialGradient && parameters.initial != thermal::InitialState::Linear)
        throw InputError("-B is the gradient of the linear initial state: add --initial linear, "
                         "or leave -B out for the steady geotherm");
}

std::string fitBaseError(const ValueBounds bounds, const thermal::ThermalParameters& parameters)
{
    const bool flow = parameters.base == thermal::BaseCondition::HeatFlow;
    for (const double value : { bounds.low, bounds.high }) {
        thermal::ThermalParameters at = parameters;
        (flow ? at.baseHeatFlowMWm2 : at.baseTemperatureC) = value;
        if (const auto error = thermal::parameterError(at))
            return *error;
    }
    if (!(bounds.low < bounds.high))
        return "the bounds need MIN < MAX";
    return {};
}

void setFitShapes(HistoryRequest& request, const std::string& shapeWords,
    const std::optional<ValueBounds>& decayTimesMyr)
{
    request.fitShapes.clear();
    if (!shapeWords.empty()) {
        try {
            request.fitShapes = parsePhaseShapes(shapeWords, request.fitPhases);
        } catch (const std::invalid_argument& error) {
            throw InputError(error.what());
        }
    }
    const bool decays
        = std::find(request.fitShapes.begin(), request.fitShapes.end(), thermal::PhaseShape::Decay)
        != request.fitShapes.end();
    if (decayTimesMyr && !decays)
        throw InputError("--decay-times bounds the TAU of a decay phase: add decay to "
                         "--fit-shapes, or leave --decay-times out");
    request.decayTimesMyr = decayTimesMyr;
}

HistorySampler parseHistorySampler(const std::string& word)
{
    if (word == "grid")
        return HistorySampler::grid;
    if (word == "mcmc")
        return HistorySampler::mcmc;
    throw InputError("--sampler expects grid or mcmc, got '" + word + "'");
}

std::string seedError(const std::string_view given)
{
    return "--seed expects a whole number from 0 to 18446744073709551615, got '"
        + std::string(given) + "'";
}

void checkSamplerChoices(const HistoryRequest& request, const SamplerChoices& given)
{
    if (historyEngine(request.fitSpace(0), request.fit) == HistorySampler::mcmc)
        return;
    for (const auto& [name, isGiven] : { std::pair { "--steps", given.steps },
             std::pair { "--walkers", given.walkers }, std::pair { "--burn-in", given.burnIn },
             std::pair { "--seed", given.seed }, std::pair { "--chains", given.chains } }) {
        if (isGiven)
            throw InputError(std::string(name)
                + " sets the ensemble sampler, which this fit does not run: add --sampler mcmc");
    }
}

} // namespace ages

#include "historymisfit.h"

#include "historymodel.h"
#include "pathlimits.h"

#include "textformat.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace ages {

namespace {

std::vector<MeasuredAge> measuredAges(const std::vector<ObservedAge>& samples)
{
    std::vector<MeasuredAge> measured;
    measured.reserve(samples.size());
    for (const ObservedAge& sample : samples)
        measured.push_back({ sample.ageMa, sample.sigmaMa });
    return measured;
}

} // namespace

bool HistoryPlacement::placesSamples() const
{
    return std::any_of(
        presentDepthsM.begin(), presentDepthsM.end(), [](double depthM) { return depthM != 0.0; });
}

HistoryAgeMisfit::HistoryAgeMisfit(const thermal::ThermalParameters& parameters,
    const std::vector<ObservedAge>& samples, const std::vector<AgeKind>& kinds,
    const thermal::Resolution& resolution, const HistoryPlacement& placement,
    std::vector<LengthSample> lengths, const AgeSettings& settings)
    : m_parameters(parameters)
    , m_resolution(resolution)
    , m_measured(measuredAges(samples))
    , m_placement(placement)
    , m_lengths(std::move(lengths))
    , m_settings(settings)
{
    if (!m_placement.presentDepthsM.empty() && m_placement.presentDepthsM.size() != samples.size())
        throw std::invalid_argument("a placement needs one depth per sample");
    const auto depthOf = [&](std::size_t i) {
        return m_placement.presentDepthsM.empty() ? 0.0 : m_placement.presentDepthsM[i];
    };
    for (std::size_t i = 0; i < samples.size(); ++i)
        m_depthsM.push_back(depthOf(i));
    if (!m_lengths.empty())
        m_depthsM.push_back(0.0); // the lengths' rock, at the mean surface
    std::sort(m_depthsM.begin(), m_depthsM.end());
    m_depthsM.erase(std::unique(m_depthsM.begin(), m_depthsM.end()), m_depthsM.end());
    m_samplesAt.resize(m_depthsM.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto at = std::lower_bound(m_depthsM.begin(), m_depthsM.end(), depthOf(i));
        m_samplesAt[at - m_depthsM.begin()].push_back(i);
    }
    for (const auto& indices : m_samplesAt) {
        std::vector<AgeKind> kindsThere;
        for (const std::size_t i : indices)
            kindsThere.push_back(kinds[i]);
        m_predictors.emplace_back(kindsThere);
    }
}

thermal::ThermalParameters HistoryAgeMisfit::parametersAt(const double base) const
{
    thermal::ThermalParameters parameters = m_parameters;
    if (std::isnan(base))
        return parameters;
    if (parameters.base == thermal::BaseCondition::HeatFlow)
        parameters.baseHeatFlowMWm2 = base;
    else
        parameters.baseTemperatureC = base;
    return parameters;
}

std::optional<HistoryPrediction> HistoryAgeMisfit::prediction(
    const ErosionHistory& history, const double base) const
{
    const thermal::ThermalParameters parameters = parametersAt(base);
    const thermal::PlacedRocks rocks { m_depthsM, m_placement.lapseRateCm };
    if (thermal::placedRunError(parameters, history, rocks, m_resolution))
        return std::nullopt;
    thermal::PlacedRun run = thermal::placedRun(parameters, history, rocks, m_resolution);
    HistoryPrediction predicted;
    predicted.ages.resize(m_measured.size());
    for (std::size_t k = 0; k < m_depthsM.size(); ++k) {
        const SamplePath sample = samplePathOf(run.paths[k]);
        if (undatablePoint(sample.path))
            return std::nullopt;
        const std::vector<thermochron::Age> ages = m_predictors[k].predict(sample.path);
        for (std::size_t j = 0; j < ages.size(); ++j)
            predicted.ages[m_samplesAt[k][j]] = ages[j];
        if (m_depthsM[k] == 0.0)
            for (const LengthSample& lengths : m_lengths)
                predicted.lengths.push_back(predictedSampleLengths(sample.path, lengths, m_settings));
    }
    for (const PlacedTemperature& measured : m_placement.temperatures)
        predicted.temperaturesC.push_back(thermal::geothermTemperatureC(
            run.presentGeotherm, measured.depthM, m_placement.lapseRateCm));
    predicted.surfaceHeatFlowMWm2 = thermal::surfaceHeatFlowMWm2(parameters, run.presentGeotherm);
    predicted.presentGeotherm = std::move(run.presentGeotherm);
    return predicted;
}

std::optional<std::vector<thermochron::Age>> HistoryAgeMisfit::predictions(
    const ErosionHistory& history) const
{
    auto predicted = prediction(history, std::nan(""));
    if (!predicted)
        return std::nullopt;
    return std::move(predicted->ages);
}

double chi2Of(
    const std::vector<MeasuredAge>& measured, const std::vector<thermochron::Age>& predicted)
{
    double sum = 0;
    for (std::size_t i = 0; i < measured.size(); ++i) {
        const double residual = (measured[i].ageMa - predicted[i].ageMa) / measured[i].sigmaMa;
        sum += residual * residual;
    }
    return sum;
}

double HistoryAgeMisfit::chi2(const std::vector<thermochron::Age>& predicted) const
{
    return chi2Of(m_measured, predicted);
}

std::optional<LengthPredictions> HistoryAgeMisfit::lengthPredictions(
    const ErosionHistory& history, const double base) const
{
    auto predicted = prediction(history, base);
    if (!predicted)
        return std::nullopt;
    return std::move(predicted->lengths);
}

double HistoryAgeMisfit::lengthsMisfit(const LengthPredictions& predicted) const
{
    double sum = 0;
    for (std::size_t k = 0; k < m_lengths.size(); ++k)
        sum += lengthMisfit(predicted[k], m_lengths[k].measured);
    return sum;
}

double HistoryAgeMisfit::lengthsMisfit(const ErosionHistory& history, const double base) const
{
    if (m_lengths.empty())
        return 0;
    const auto predicted = lengthPredictions(history, base);
    return predicted ? lengthsMisfit(*predicted) : std::nan("");
}

double HistoryAgeMisfit::chi2(const HistoryPrediction& predicted) const
{
    const auto square = [](double x) { return x * x; };
    double sum = chi2(predicted.ages);
    for (std::size_t j = 0; j < m_placement.temperatures.size(); ++j) {
        const MeasuredValue& measured = m_placement.temperatures[j].temperatureC;
        sum += square((measured.value - predicted.temperaturesC[j]) / measured.sigma);
    }
    for (const MeasuredValue& measured : m_placement.heatFlowsMWm2)
        sum += square((measured.value - predicted.surfaceHeatFlowMWm2) / measured.sigma);
    return sum;
}

double HistoryAgeMisfit::operator()(const ErosionHistory& history, const double base) const
{
    const auto predicted = prediction(history, base);
    if (!predicted)
        return std::nan("");
    return m_lengths.empty() ? chi2(*predicted) : chi2(*predicted) + lengthsMisfit(predicted->lengths);
}

double HistoryAgeMisfit::operator()(const ErosionHistory& history) const
{
    return (*this)(history, std::nan(""));
}

std::size_t HistoryAgeMisfit::dataCount() const
{
    return m_measured.size() + m_placement.temperatures.size() + m_placement.heatFlowsMWm2.size();
}

std::size_t HistoryAgeMisfit::kindCount() const
{
    std::size_t count = 0;
    for (const SamplePredictor& predictor : m_predictors)
        count += predictor.kindCount();
    return count;
}

std::optional<textformat::Warning> notResetWarning(const std::vector<ObservedAge>& samples,
    const std::vector<thermochron::Age>& predicted, const ErosionHistory& history,
    const std::string_view which)
{
    textformat::Warning warning { .kind = "not_reset" };
    std::string names;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (predicted[i].reset)
            continue;
        warning.samples.push_back(samples[i].sample);
        names += (names.empty() ? "" : ", ") + samples[i].sample + " "
            + std::string(thermochron::systemName(samples[i].system)) + " (line "
            + std::to_string(samples[i].line) + ")";
    }
    if (names.empty())
        return std::nullopt;
    warning.text = "the path of " + std::string(which) + " "
        + thermal::formatErosionHistory(history, 2, 3) + " does not reset " + names
        + ": the rock starts too cold at " + textformat::number(history.front().startMa)
        + " Ma, and those predictions are only what the grain gathered since then (lower "
          "bounds); start the path earlier (the first START of --erosion)";
    return warning;
}

} // namespace ages

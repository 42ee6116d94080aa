#include "historymisfit.h"

#include "historymodel.h"
#include "pathlimits.h"

#include "textformat.h"

#include <cmath>

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

HistoryAgeMisfit::HistoryAgeMisfit(const thermal::ThermalParameters& parameters,
    const std::vector<ObservedAge>& samples, const std::vector<AgeKind>& kinds,
    const thermal::Resolution& resolution, std::vector<LengthSample> lengths,
    const AgeSettings& settings)
    : m_parameters(parameters)
    , m_resolution(resolution)
    , m_measured(measuredAges(samples))
    , m_predictor(kinds)
    , m_lengths(std::move(lengths))
    , m_settings(settings)
{
}

std::optional<SamplePath> HistoryAgeMisfit::pathOf(const ErosionHistory& history) const
{
    if (thermal::runError(m_parameters, history, m_resolution))
        return std::nullopt;
    SamplePath sample = samplePathOf(thermal::historyPath(m_parameters, history, m_resolution));
    if (undatablePoint(sample.path))
        return std::nullopt;
    return sample;
}

HistoryAgeMisfit::LengthPredictions HistoryAgeMisfit::lengthsAlong(const SamplePath& path) const
{
    LengthPredictions predicted;
    for (const LengthSample& sample : m_lengths)
        predicted.push_back(predictedSampleLengths(path.path, sample, m_settings));
    return predicted;
}

std::optional<std::vector<thermochron::Age>> HistoryAgeMisfit::predictions(
    const ErosionHistory& history) const
{
    const std::optional<SamplePath> path = pathOf(history);
    if (!path)
        return std::nullopt;
    return m_predictor.predict(path->path);
}

std::optional<HistoryAgeMisfit::LengthPredictions> HistoryAgeMisfit::lengthPredictions(
    const ErosionHistory& history) const
{
    const std::optional<SamplePath> path = pathOf(history);
    if (!path)
        return std::nullopt;
    return lengthsAlong(*path);
}

double HistoryAgeMisfit::lengthsMisfit(const LengthPredictions& predicted) const
{
    double sum = 0;
    for (std::size_t k = 0; k < m_lengths.size(); ++k)
        sum += lengthMisfit(predicted[k], m_lengths[k].measured);
    return sum;
}

double HistoryAgeMisfit::lengthsMisfit(const ErosionHistory& history) const
{
    if (m_lengths.empty())
        return 0;
    const auto predicted = lengthPredictions(history);
    return predicted ? lengthsMisfit(*predicted) : std::nan("");
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

double HistoryAgeMisfit::operator()(const ErosionHistory& history) const
{
    const std::optional<SamplePath> path = pathOf(history);
    if (!path)
        return std::nan("");
    const double ages = chi2(m_predictor.predict(path->path));
    return m_lengths.empty() ? ages : ages + lengthsMisfit(lengthsAlong(*path));
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

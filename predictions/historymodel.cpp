#include "historymodel.h"

#include "ageprediction.h"
#include "inputerror.h"

namespace ages {

SamplePath samplePathOf(const thermal::HistoryPath& path)
{
    SamplePath sample;
    sample.path.reserve(path.timeMa.size());
    for (std::size_t i = 0; i < path.timeMa.size(); ++i)
        sample.path.push_back({ path.timeMa[i], path.temperatureC[i] });
    sample.depthM = path.depthM;
    return sample;
}

SamplePath historySamplePath(const thermal::ThermalParameters& parameters,
    const thermal::ErosionHistory& history, const thermal::Resolution& resolution)
{
    if (const auto error = thermal::runError(parameters, history, resolution))
        throw InputError(*error);
    return samplePathOf(thermal::historyPath(parameters, history, resolution));
}

std::vector<AgeRow> historyAgeRows(const thermal::ThermalParameters& parameters,
    const thermal::ErosionHistory& history, const AgeSettings& settings)
{
    std::vector<AgeRow> rows = pathAgeRows(historySamplePath(parameters, history), settings);
    for (AgeRow& row : rows)
        row.rateMmYr = thermal::rateAtMa(history, 0.0);
    return rows;
}

} // namespace ages

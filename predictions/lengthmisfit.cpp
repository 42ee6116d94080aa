#include "lengthmisfit.h"

#include "ageprediction.h"

#include "textformat.h"

#include <cmath>
#include <numeric>
#include <stdexcept>

namespace ages {

namespace {

// The p-value below which a sample's lengths are taken not to come from the prediction.
constexpr double smallestFittingP = 0.05;

double meanOf(const std::vector<double>& values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

// The sample standard deviation (n - 1), as length distributions are published; 0 for one track.
double sdOf(const std::vector<double>& values)
{
    if (values.size() < 2)
        return 0;
    const double mean = meanOf(values);
    double sum = 0;
    for (const double value : values)
        sum += (value - mean) * (value - mean);
    return std::sqrt(sum / static_cast<double>(values.size() - 1));
}

double setMisfit(
    const std::vector<double>& lengths, const thermochron::TrackLengthDistribution& distribution)
{
    if (lengths.empty())
        return 0;
    const double misfit = thermochron::minusTwoLogLikelihood(lengths, distribution);
    return std::isfinite(misfit) ? std::min(misfit, impossibleLengthsMisfit)
                                 : impossibleLengthsMisfit;
}

} // namespace

std::vector<JoinedLengths> joinLengths(std::vector<ObservedAge>& ages,
    std::vector<SampleLengths> lengths, const AgeSettings& settings,
    const std::string_view lengthsFile)
{
    std::vector<JoinedLengths> joined;
    for (SampleLengths& measured : lengths) {
        const auto refuse = [&](const std::string& reason) {
            throw TrackLengthsError(std::string(lengthsFile) + " line "
                + std::to_string(measured.firstLine) + ": " + reason);
        };
        std::optional<std::size_t> age;
        std::optional<double> elevation;
        for (std::size_t i = 0; i < ages.size(); ++i) {
            if (ages[i].sample != measured.sample)
                continue;
            if (!elevation)
                elevation = ages[i].elevationM;
            if (ages[i].system != thermochron::System::AFT)
                continue;
            if (age)
                refuse("sample " + textformat::printable(measured.sample)
                    + " has two AFT ages (lines " + std::to_string(ages[*age].line) + " and "
                    + std::to_string(ages[i].line) + "), and its lengths can join only one");
            age = i;
        }
        double dpar = measured.dparUm.value_or(settings.dparUm);
        if (age) {
            if (!ages[*age].dparUm && measured.dparUm)
                ages[*age].dparUm = measured.dparUm;
            dpar = ages[*age].dparUm.value_or(settings.dparUm);
        }
        if (!(dpar >= minDparUm && dpar <= maxDparUm))
            refuse("the Dpar of sample " + textformat::printable(measured.sample) + ", "
                + textformat::number(dpar) + " um, is outside " + textformat::number(minDparUm)
                + " to " + textformat::number(maxDparUm) + " um");
        thermochron::Grain grain;
        grain.dparUm = dpar;
        joined.push_back({ { std::move(measured), grain }, age, elevation });
    }
    return joined;
}

double lengthMisfit(
    const std::optional<thermochron::TrackLengths>& predicted, const SampleLengths& measured)
{
    if (!predicted)
        return impossibleLengthsMisfit;
    return std::min(impossibleLengthsMisfit,
        setMisfit(measured.projectedUm, predicted->projected)
            + setMisfit(measured.unprojectedUm, predicted->unprojected));
}

std::optional<thermochron::TrackLengths> predictedSampleLengths(
    const thermochron::CoolingPath& path, const LengthSample& sample, const AgeSettings& settings)
{
    try {
        return apatiteLengths(path, sample.grain, settings);
    } catch (const std::invalid_argument&) {
        return std::nullopt; // every track erased
    }
}

std::string lengthsAssumed(const std::vector<JoinedLengths>& lengths, const AgeSettings& settings)
{
    std::string text(thermochron::kineticsName(thermochron::Kinetics::Ketcham2007));
    std::size_t defaulted = 0;
    for (const JoinedLengths& joined : lengths)
        defaulted += !joined.lengths.measured.dparUm && !(joined.age);
    if (defaulted > 0)
        text += " (Dpar " + textformat::number(settings.dparUm) + " um from --dpar for "
            + std::to_string(defaulted) + " of " + std::to_string(lengths.size())
            + (lengths.size() == 1 ? " sample)" : " samples)");
    text
        += settings.californiumIrradiated ? ", Cf-irradiated mounts" : ", mounts not Cf-irradiated";
    return text;
}

std::vector<LengthComparison> compareLengths(
    const std::optional<thermochron::TrackLengths>& predicted, const SampleLengths& measured)
{
    std::vector<LengthComparison> comparisons;
    if (!predicted)
        return comparisons;
    for (const bool projected : { true, false }) {
        const std::vector<double>& lengths
            = projected ? measured.projectedUm : measured.unprojectedUm;
        if (lengths.empty())
            continue;
        const thermochron::TrackLengthDistribution& distribution
            = projected ? predicted->projected : predicted->unprojected;
        const auto cdf = [&](double length) { return distribution.cdf(length); };
        comparisons.push_back({ measured.sample, projected, lengths.size(), meanOf(lengths),
            sdOf(lengths), distribution.meanUm(), distribution.sdUm(),
            thermochron::kolmogorovSmirnov(lengths, cdf), thermochron::kuiper(lengths, cdf) });
    }
    return comparisons;
}

std::string lengthReportLine(const LengthComparison& c)
{
    using textformat::fixed;
    return "lengths " + textformat::printable(c.sample) + " (" + std::to_string(c.count)
        + (c.projected ? " c-axis projected" : " unprojected") + "): MTL "
        + fixed(c.measuredMeanUm, 2) + " SD " + fixed(c.measuredSdUm, 2) + " um, predicted "
        + fixed(c.predictedMeanUm, 2) + " SD " + fixed(c.predictedSdUm, 2) + " um; K-S D "
        + fixed(c.kolmogorovSmirnov.statistic, 3) + " p " + fixed(c.kolmogorovSmirnov.pValue, 2)
        + ", Kuiper V " + fixed(c.kuiper.statistic, 3) + " p " + fixed(c.kuiper.pValue, 2);
}

std::string lengthWarning(const std::vector<LengthComparison>& comparisons)
{
    std::string named;
    for (const LengthComparison& c : comparisons) {
        if (c.kolmogorovSmirnov.pValue >= smallestFittingP && c.kuiper.pValue >= smallestFittingP)
            continue;
        named += (named.empty() ? "" : ", ") + textformat::printable(c.sample) + " ("
            + (c.projected ? "projected" : "unprojected") + ", K-S p "
            + textformat::fixed(c.kolmogorovSmirnov.pValue, 3) + ", Kuiper p "
            + textformat::fixed(c.kuiper.pValue, 3) + ")";
    }
    if (named.empty())
        return {};
    return textformat::warningLine("the measured lengths of " + named
        + " are unlikely to come from the distribution predicted at the best fit (p < 0.05): the "
          "model does not explain their shape");
}

} // namespace ages

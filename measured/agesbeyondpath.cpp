#include "agesbeyondpath.h"

#include "textformat.h"

namespace ages {

std::vector<bool> agesWithinPath(
    const std::vector<ObservedAge>& samples, const double pathMyr, const bool keepOlder)
{
    std::vector<bool> counted;
    counted.reserve(samples.size());
    for (const ObservedAge& sample : samples)
        counted.push_back(keepOlder || sample.ageMa <= pathMyr);
    return counted;
}

std::optional<textformat::Warning> agesBeyondPathWarning(const std::vector<ObservedAge>& samples,
    const std::vector<bool>& counted, const std::string_view paths, const std::string_view remedy)
{
    textformat::Warning warning { .kind = "older_than_path" };
    std::string named;
    std::size_t older = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (counted[i])
            continue;
        warning.samples.push_back(samples[i].sample);
        named += (older++ == 0 ? "" : ", ") + textformat::printable(samples[i].sample) + " ("
            + std::string(thermochron::systemName(samples[i].system)) + " "
            + textformat::number(samples[i].ageMa) + " Ma)";
    }
    if (older == 0)
        return std::nullopt;
    warning.text = std::to_string(older) + " of " + std::to_string(samples.size())
        + " measured ages are older than " + std::string(paths)
        + " and are left out of chi2, for a prediction along them can only be a lower bound: "
        + named + "; " + std::string(remedy) + ", or give --keep-unreset to fit them all the same";
    return warning;
}

} // namespace ages

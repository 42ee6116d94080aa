#include "reliefhistory.h"

#include "textformat.h"
#include "strictnumber.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace terrain {

namespace {

constexpr const char* syntaxHint = "START:FACTOR with START in Ma before present and FACTOR the "
                                   "multiple of today's relief, oldest first, the last 1, "
                                   "e.g. 20:0.5,8:1";

// "relief phase 2 (25:0.5)"
std::string phaseName(const ReliefHistory& relief, const std::size_t index)
{
    const ReliefPhase& phase = relief.phases[index];
    return "relief phase " + std::to_string(index + 1) + " (" + textformat::number(phase.startMa)
        + ":" + textformat::number(phase.factor) + ")";
}

} // namespace

double ReliefHistory::factorAt(const double timeMa) const
{
    if (phases.empty())
        return 1.0;
    double factor = phases.front().factor;
    for (const ReliefPhase& phase : phases) {
        if (phase.startMa >= timeMa)
            factor = phase.factor;
    }
    return factor;
}

std::optional<std::string> reliefError(const ReliefHistory& relief)
{
    const std::vector<ReliefPhase>& phases = relief.phases;
    for (std::size_t i = 0; i < phases.size(); ++i) {
        if (!(std::isfinite(phases[i].startMa) && phases[i].startMa > 0.0))
            return phaseName(relief, i) + " must start before present: START is in Ma, above 0";
        if (i > 0 && !(phases[i].startMa < phases[i - 1].startMa))
            return phaseName(relief, i) + " does not start after " + phaseName(relief, i - 1)
                + ": give the phases oldest first";
        if (!(std::isfinite(phases[i].factor) && phases[i].factor >= 0.0))
            return phaseName(relief, i) + " needs a factor of at least 0 (a finite number)";
    }
    if (!phases.empty() && phases.back().factor != 1.0)
        return phaseName(relief, phases.size() - 1)
            + " lasts until today, whose topography is the DEM: the last factor must be 1";
    return std::nullopt;
}

ReliefHistory parseReliefHistory(const std::string_view text)
{
    ReliefHistory relief;
    std::size_t from = 0;
    while (from < text.size() || (from == text.size() && !relief.phases.empty())) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string_view item = text.substr(from, comma - from);
        const std::string name = "relief phase " + std::to_string(relief.phases.size() + 1) + " '"
            + std::string(item) + "'";
        const std::size_t colon = item.find(':');
        if (colon == std::string_view::npos || item.find(':', colon + 1) != std::string_view::npos)
            throw std::invalid_argument(name + " is not " + syntaxHint);
        const auto start = decimal::strictDouble(item.substr(0, colon));
        const auto factor = decimal::strictDouble(item.substr(colon + 1));
        if (!start || !factor)
            throw std::invalid_argument(name + ": START and FACTOR must be numbers, " + syntaxHint);
        relief.phases.push_back({ *start, *factor });
        if (comma == text.size())
            break;
        from = comma + 1;
    }
    if (auto message = reliefError(relief))
        throw std::invalid_argument(*message);
    return relief;
}

} // namespace terrain

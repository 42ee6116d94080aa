#include "erosionhistory.h"

#include "strictnumber.h"
#include "textformat.h"
#include "units.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace thermal {

namespace {

constexpr const char* syntaxHint = "START:RATE with START in Ma before present and RATE in mm/yr, "
                                   "oldest first, e.g. 20:0.3,5:0.6";

// "erosion phase 2 (25:0.6)"
std::string phaseName(const ErosionHistory& history, std::size_t index)
{
    return "erosion phase " + std::to_string(index + 1) + " ("
        + textformat::number(history[index].startMa) + ":"
        + textformat::number(history[index].rateMmYr) + ")";
}

// value with the given decimals, in the "C" locale.
std::string fixed(const double value, const int decimals)
{
    std::array<char, 64> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value + 0.0,
        std::chars_format::fixed, std::clamp(decimals, 0, 17));
    // A value too long for the buffer (beyond 1e45 or so) falls back to the general notation.
    if (result.ec != std::errc())
        return textformat::number(value);
    return std::string(buffer.data(), result.ptr);
}

// "20.00" -> "20", "20.50" -> "20.5".
std::string withoutTrailingZeros(std::string text)
{
    if (text.find('.') == std::string::npos)
        return text;
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

std::optional<std::string> historyError(const ErosionHistory& history)
{
    if (history.empty())
        return std::string("erosion history is empty: give its phases as ") + syntaxHint;
    for (std::size_t i = 0; i < history.size(); ++i) {
        const ErosionPhase& phase = history[i];
        if (!(std::isfinite(phase.startMa) && phase.startMa > 0.0))
            return phaseName(history, i)
                + " must start before present: START is in Ma before "
                  "present, a finite number above 0";
        if (phase.startMa > oldestStartMa)
            return phaseName(history, i) + " starts before the Earth formed: START is at most "
                + textformat::number(oldestStartMa) + " Ma";
        if (i > 0 && !(phase.startMa < history[i - 1].startMa))
            return phaseName(history, i) + " does not start after " + phaseName(history, i - 1)
                + ": give the phases oldest first, each with a smaller START than the one before";
        if (!(std::isfinite(phase.rateMmYr) && phase.rateMmYr > 0.0))
            return phaseName(history, i) + " needs a rate above 0 mm/yr (a finite number)";
    }
    return std::nullopt;
}

ErosionHistory parseErosionHistory(const std::string_view text)
{
    if (text.empty())
        throw std::invalid_argument(
            std::string("erosion history is empty: give its phases as ") + syntaxHint);
    ErosionHistory history;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string_view item = text.substr(from, comma - from);
        const std::string name = "erosion phase " + std::to_string(history.size() + 1) + " '"
            + std::string(item) + "'";
        const std::size_t colon = item.find(':');
        if (colon == std::string_view::npos || item.find(':', colon + 1) != std::string_view::npos)
            throw std::invalid_argument(name + " is not " + syntaxHint);
        const std::string_view startWord = item.substr(0, colon);
        const std::string_view rateWord = item.substr(colon + 1);
        const auto start = decimal::strictDouble(startWord);
        if (!start)
            throw std::invalid_argument(
                name + ": the start '" + std::string(startWord) + "' is not a number");
        const auto rate = decimal::strictDouble(rateWord);
        if (!rate)
            throw std::invalid_argument(
                name + ": the rate '" + std::string(rateWord) + "' is not a number");
        history.push_back({ *start, *rate });
        if (comma == text.size())
            break;
        from = comma + 1;
    }
    if (auto message = historyError(history))
        throw std::invalid_argument(*message);
    return history;
}

std::string formatErosionHistory(
    const ErosionHistory& history, const int timeDecimals, const int rateDecimals)
{
    std::string text;
    for (std::size_t i = 0; i < history.size(); ++i) {
        if (i > 0)
            text += ',';
        const std::string start = fixed(history[i].startMa, timeDecimals);
        text += (i == 0 ? withoutTrailingZeros(start) : start) + ':'
            + fixed(history[i].rateMmYr, rateDecimals);
    }
    return text;
}

double exhumationSinceM(const ErosionHistory& history, const double timeMa)
{
    double depthM = 0.0;
    for (std::size_t i = 0; i < history.size(); ++i) {
        const double endMa = i + 1 < history.size() ? history[i + 1].startMa : 0.0;
        const double myr = std::min(history[i].startMa, timeMa) - endMa;
        if (myr > 0.0)
            depthM += history[i].rateMmYr * units::metresPerMyrPerMmPerYear * myr;
    }
    return depthM;
}

} // namespace thermal

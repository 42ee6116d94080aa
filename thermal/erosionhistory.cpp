#include "erosionhistory.h"

#include "strictnumber.h"
#include "textformat.h"
#include "units.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace thermal {

namespace {

constexpr const char* syntaxHint = "START:RATE with START in Ma before present and RATE in mm/yr, "
                                   "oldest first, e.g. 20:0.3,5:0.6 (or START:RATE0~RATE1, a "
                                   "ramp, and START:RATE0/TAU, a decay over TAU Myr)";

// The rate word of a phase: "0.6", "0.2~0.8" or "0.9/4".
std::string rateText(const ErosionPhase& phase, std::string (*number)(double))
{
    switch (phase.shape) {
    case PhaseShape::Ramp:
        return number(phase.rateMmYr) + "~" + number(phase.endRateMmYr);
    case PhaseShape::Decay:
        return number(phase.rateMmYr) + "/" + number(phase.decayMyr);
    case PhaseShape::Constant:
        break;
    }
    return number(phase.rateMmYr);
}

std::string plainNumber(double value)
{
    return textformat::number(value);
}

// "erosion phase 2 (25:0.6)"
std::string phaseName(const ErosionHistory& history, std::size_t index)
{
    return "erosion phase " + std::to_string(index + 1) + " ("
        + textformat::number(history[index].startMa) + ":" + rateText(history[index], plainNumber)
        + ")";
}

double endOfPhase(const ErosionHistory& history, const std::size_t i)
{
    return i + 1 < history.size() ? history[i + 1].startMa : 0.0;
}

// The erosion of phase i between fromMa and toMa (start >= fromMa >= toMa >= end), m: the
// integral of its rate over that time, in closed form.
double phaseErosionM(
    const ErosionHistory& history, const std::size_t i, const double fromMa, const double toMa)
{
    const ErosionPhase& phase = history[i];
    const double a = phase.startMa - fromMa, b = phase.startMa - toMa; // Myr since its start
    double mmYrMyr = 0.0; // the integral in mm/yr x Myr
    switch (phase.shape) {
    case PhaseShape::Constant:
        mmYrMyr = phase.rateMmYr * (b - a);
        break;
    case PhaseShape::Ramp: {
        // r(s) = r0 + (r1 - r0) s / T over the phase's length T.
        const double length = phase.startMa - endOfPhase(history, i);
        const double slope = (phase.endRateMmYr - phase.rateMmYr) / length;
        mmYrMyr = phase.rateMmYr * (b - a) + 0.5 * slope * (b * b - a * a);
        break;
    }
    case PhaseShape::Decay:
        // r(s) = r0 exp(-s / tau): r0 tau (exp(-a / tau) - exp(-b / tau)).
        mmYrMyr = phase.rateMmYr * phase.decayMyr
            * (std::exp(-a / phase.decayMyr) - std::exp(-b / phase.decayMyr));
        break;
    }
    return mmYrMyr * units::metresPerMyrPerMmPerYear;
}

// The times where the depth of the rock exposed today may be least: every phase boundary and,
// in a ramp through 0, the time its rate changes sign.
std::vector<double> depthExtremaMa(const ErosionHistory& history)
{
    std::vector<double> times;
    for (std::size_t i = 0; i < history.size(); ++i) {
        const ErosionPhase& phase = history[i];
        times.push_back(phase.startMa);
        if (phase.shape == PhaseShape::Ramp && phase.rateMmYr * phase.endRateMmYr < 0.0) {
            const double length = phase.startMa - endOfPhase(history, i);
            times.push_back(
                phase.startMa - length * phase.rateMmYr / (phase.rateMmYr - phase.endRateMmYr));
        }
    }
    return times;
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
        if (!std::isfinite(phase.rateMmYr)
            || (phase.shape == PhaseShape::Ramp && !std::isfinite(phase.endRateMmYr)))
            return phaseName(history, i) + " needs a finite rate (mm/yr)";
        if (phase.shape == PhaseShape::Decay
            && !(std::isfinite(phase.decayMyr) && phase.decayMyr > 0.0))
            return phaseName(history, i) + " needs a decay time TAU above 0 Myr";
    }
    // Burial takes the rock down; the rock exposed today cannot have come from above the surface.
    double highestMa = 0.0, leastDepthM = 0.0;
    for (const double timeMa : depthExtremaMa(history)) {
        const double depthM = exhumationSinceM(history, timeMa);
        if (depthM < leastDepthM)
            leastDepthM = depthM, highestMa = timeMa;
    }
    if (leastDepthM < -1e-9)
        return "the rock exposed today would have stood " + textformat::number(-leastDepthM)
            + " m above the surface at " + textformat::number(highestMa)
            + " Ma: burial (a negative rate) must be outweighed by the erosion after it";
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
        std::string_view rateWord = item.substr(colon + 1);
        const auto start = decimal::strictDouble(startWord);
        if (!start)
            throw std::invalid_argument(
                name + ": the start '" + std::string(startWord) + "' is not a number");
        ErosionPhase phase;
        phase.startMa = *start;
        // RATE0~RATE1 or RATE0/TAU: the second word after the mark.
        const std::size_t ramp = rateWord.find('~'), decay = rateWord.find('/');
        std::string_view secondWord;
        if (ramp != std::string_view::npos) {
            phase.shape = PhaseShape::Ramp;
            secondWord = rateWord.substr(ramp + 1);
            rateWord = rateWord.substr(0, ramp);
        } else if (decay != std::string_view::npos) {
            phase.shape = PhaseShape::Decay;
            secondWord = rateWord.substr(decay + 1);
            rateWord = rateWord.substr(0, decay);
        }
        const auto rate = decimal::strictDouble(rateWord);
        if (!rate)
            throw std::invalid_argument(
                name + ": the rate '" + std::string(rateWord) + "' is not a number");
        phase.rateMmYr = *rate;
        if (phase.shape != PhaseShape::Constant) {
            const auto second = decimal::strictDouble(secondWord);
            if (!second)
                throw std::invalid_argument(name + ": the "
                    + (phase.shape == PhaseShape::Ramp ? "end rate '" : "decay time '")
                    + std::string(secondWord) + "' is not a number");
            (phase.shape == PhaseShape::Ramp ? phase.endRateMmYr : phase.decayMyr) = *second;
        }
        history.push_back(phase);
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
        const ErosionPhase& phase = history[i];
        text += (i == 0 ? withoutTrailingZeros(start) : start) + ':'
            + fixed(phase.rateMmYr, rateDecimals);
        if (phase.shape == PhaseShape::Ramp)
            text += '~' + fixed(phase.endRateMmYr, rateDecimals);
        else if (phase.shape == PhaseShape::Decay)
            text += '/' + withoutTrailingZeros(fixed(phase.decayMyr, rateDecimals));
    }
    return text;
}

double exhumationSinceM(const ErosionHistory& history, const double timeMa)
{
    double depthM = 0.0;
    for (std::size_t i = 0; i < history.size(); ++i) {
        const double endMa = endOfPhase(history, i);
        const double fromMa = std::min(history[i].startMa, timeMa);
        if (fromMa > endMa) {
            depthM += history[i].shape == PhaseShape::Constant
                ? history[i].rateMmYr * units::metresPerMyrPerMmPerYear * (fromMa - endMa)
                : phaseErosionM(history, i, fromMa, endMa);
        }
    }
    return depthM;
}

double rateAtMa(const ErosionHistory& history, const double timeMa)
{
    std::size_t i = 0;
    while (i + 1 < history.size() && history[i + 1].startMa >= timeMa)
        ++i;
    const ErosionPhase& phase = history[i];
    const double since = phase.startMa - timeMa;
    switch (phase.shape) {
    case PhaseShape::Ramp:
        return phase.rateMmYr
            + (phase.endRateMmYr - phase.rateMmYr) * since
            / (phase.startMa - endOfPhase(history, i));
    case PhaseShape::Decay:
        return phase.rateMmYr * std::exp(-since / phase.decayMyr);
    case PhaseShape::Constant:
        break;
    }
    return phase.rateMmYr;
}

double fastestRateMmYr(const ErosionPhase& phase)
{
    return std::max(std::abs(phase.rateMmYr),
        phase.shape == PhaseShape::Ramp ? std::abs(phase.endRateMmYr) : 0.0);
}

} // namespace thermal

#pragma once
// The erosion history: phases of erosion, oldest first, each lasting until the next starts (the
// last until the present). Phases are written START:RATE, START in Ma before present and RATE in
// mm/yr; "20:0.3,5:0.6" erodes at 0.3 mm/yr from 20 Ma to 5 Ma, then at 0.6 mm/yr until today.
// Besides a constant rate a phase may be
//
//     START:RATE0~RATE1   a ramp: the rate runs linearly from RATE0 at START to RATE1 at the
//                         phase's end;
//     START:RATE0/TAU     exponential decay: the rate is RATE0 exp(-(START - t) / TAU), TAU in Myr.
//
// A rate may be 0 (a pause) or negative (burial: sedimentation takes the rock down, as in a
// reheating path); the rock exposed today must never have stood above the surface.
//
//     const thermal::ErosionHistory history = thermal::parseErosionHistory("20:0.3,5:0.6");
//     thermal::formatErosionHistory(history, 2, 3);  // "20:0.300,5.00:0.600"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace thermal {

enum class PhaseShape { Constant, Ramp, Decay };

struct ErosionPhase {
    double startMa = 0; // when the phase begins, Ma before present, > 0
    double rateMmYr = 0; // the erosion rate through the phase (at its start, for a shape), mm/yr
    PhaseShape shape = PhaseShape::Constant;
    double endRateMmYr = 0; // Ramp: the rate at the phase's end, mm/yr
    double decayMyr = 0; // Decay: TAU, Myr, > 0
};

// Oldest first: startMa strictly decreasing.
using ErosionHistory = std::vector<ErosionPhase>;

// The oldest start accepted, Ma: the age of the Earth.
inline constexpr double oldestStartMa = 4567.0;

// The first fault of the history as one line without the "ERROR: " prefix, e.g. "erosion phase 2
// (25:0.6) starts before phase 1 (20:0.3): give the phases oldest first"; nothing when it has at
// least one phase, every start is above 0 and at most oldestStartMa and later than the one
// before, every rate finite (0 and negative too) and every TAU above 0, and the rock exposed
// today never above the surface (its depth, the erosion since then, never negative).
std::optional<std::string> historyError(const ErosionHistory& history);

// Reads "START:RATE,START:RATE,...": every START and RATE wholly a decimal number (no blanks or
// units), then checked as historyError does. Throws std::invalid_argument whose what() is the
// one-line refusal, e.g. "erosion phase 2 '5:0.6x': the rate '0.6x' is not a number".
ErosionHistory parseErosionHistory(std::string_view text);

// The history in the syntax parseErosionHistory reads, so that a printed history can be pasted
// back: change times with timeDecimals decimals and rates with rateDecimals, e.g.
// "20:0.300,5.50:0.570" for (2, 3). The oldest start, where the history begins and which a fit
// never moves, is written without trailing zeros (20, not 20.00). Rounding may merge close
// change times or round a tiny rate to 0, which the parser then refuses: choose the decimals
// for the precision the history holds.
std::string formatErosionHistory(
    const ErosionHistory& history, int timeDecimals = 2, int rateDecimals = 3);

// The depth, m below the present surface, of the rock exposed today at timeMa (0 to the oldest
// start): the erosion between then and now, the integral of the rate (1 mm/yr over 1 Myr is
// 1000 m). A valid history is assumed.
double exhumationSinceM(const ErosionHistory& history, double timeMa);

// The rate at timeMa (0 to the oldest start), mm/yr: that of the phase running then.
double rateAtMa(const ErosionHistory& history, double timeMa);

// The largest |rate| of a phase, mm/yr: what its grid and steps must resolve.
double fastestRateMmYr(const ErosionPhase& phase);

} // namespace thermal

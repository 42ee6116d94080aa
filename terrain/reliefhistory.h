#pragma once
// How the relief of the landscape changed: a factor that scales today's relief, constant within
// each phase. Phases are written START:FACTOR, START in Ma before present, oldest first, like
// the erosion history's START:RATE; each lasts until the next starts, the last until today. The
// topography of a phase is
//
//     h(x, y) = h_min + factor (h_DEM(x, y) - h_min),
//
// h_min the DEM's lowest elevation, so that the lowest valley floor stays where it is and the
// rest of the landscape stands higher or lower above it. The DEM is today's topography, so the
// last phase's factor is 1: "20:0.5,8:1" is half today's relief from 20 Ma (and before, if the
// erosion history starts earlier) until 8 Ma, and today's since. No phases: today's relief at
// all times.
//
//     const terrain::ReliefHistory relief = terrain::parseReliefHistory("20:0.5,8:1");
//     relief.factorAt(10.0);   // 0.5

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace terrain {

struct ReliefPhase {
    double startMa = 0; // when the phase begins, Ma before present, > 0
    double factor = 1; // today's relief times this, >= 0
};

struct ReliefHistory {
    std::vector<ReliefPhase> phases; // oldest first; empty: the DEM at all times

    // The factor at timeMa: that of the youngest phase begun at or before timeMa (a phase holds
    // from its START on), the first phase's before it, 1 without phases.
    double factorAt(double timeMa) const;
};

// The first fault as one line without the "ERROR: " prefix, e.g. "relief phase 2 (25:0.5)
// does not start after relief phase 1 (20:1)", or nothing: every START finite, above 0 and
// below the one before, every FACTOR finite and >= 0, the last 1.
std::optional<std::string> reliefError(const ReliefHistory& relief);

// Reads "START:FACTOR,..." (every word wholly a decimal number), then checks it as reliefError
// does. An empty text is no phase. Throws std::invalid_argument with the one-line refusal.
ReliefHistory parseReliefHistory(std::string_view text);

} // namespace terrain

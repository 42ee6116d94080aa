#pragma once
// The `history` model of cooling_ages: the rock exposed today under an erosion history of phases
// (the thermal model of thermal/), and the fit of such a history to measured ages.
//
//     cooling_ages history --erosion 20:0.3,5:0.6 [thermal options] [age options]
//         [--observed FILE [--fit-phases N --fit-shapes constant|ramp|decay,...
//          --rates MIN:MAX --change-times MIN:MAX --decay-times MIN:MAX
//          --sampler grid|mcmc --steps S --walkers W --seed N --chains K]]
//
// The thermal options carry the letters of the thermal model (thermalparameters.h): -T -z -b -q
// -k -a -H --hr --h-depth --initial -B; -b and -q (the base held by its temperature or fed by a
// heat flow) exclude each other, as do --hr and --h-depth (the shape of the heat production).
// A fit's histories all start where --erosion starts: its first START is the path start, and
// every other phase is the fit's to choose.
//
// The request is a plain value; historyoptions.h reads it from the command line.

#include "historyfit.h"
#include "historyparameters.h"

#include "erosionhistory.h"
#include "thermalparameters.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// The rates a fit searches when --rates is not given, mm/yr: from slow erosion of a stable
// craton to that of an active orogen.
inline constexpr ValueBounds defaultFitRatesMmYr { 0.05, 2.0 };
// Without --change-times, a fit searches the path but for this share of it at either end: a
// change in the first or last twentieth leaves too little time at one of the rates to mark the
// ages.
inline constexpr double changeTimeMargin = 0.05;
// Without --decay-times, a decay's TAU is searched from this share of the path (a rate that has
// fallen to a third within the first twentieth of the path, near a step) to this many times the
// path (a rate that falls by less than 40 % over it, near a constant).
inline constexpr double shortestDecayShare = 0.05;
inline constexpr double longestDecayShare = 2.0;

struct HistoryRequest {
    thermal::ThermalParameters thermal;
    thermal::ErosionHistory erosion; // --erosion: the table's history, and the fit's path start
    int fitPhases = 0; // --fit-phases: 1, 2 or 3; 0 without a fit
    ValueBounds ratesMmYr = defaultFitRatesMmYr; // --rates
    std::optional<ValueBounds> changeTimesMa; // --change-times; nothing for the default
    // --fit-shapes: one per fitted phase, oldest first; empty when every phase is constant
    std::vector<thermal::PhaseShape> fitShapes;
    std::optional<ValueBounds> decayTimesMyr; // --decay-times; nothing for the default
    HistoryFitSettings fit; // --sampler, --steps, --walkers, --seed
    // --keep-unreset: measured ages older than the path stay in chi2 (by default they are left
    // out and named, for a prediction along the path can only be a lower bound of them)
    bool keepUnreset = false;
    // --mean-elevation: the field elevation of the column's surface, m; needed to place samples
    // that carry elevation_m (a sample h above it was D(t) - h deep at time t).
    std::optional<double> meanElevationM;
    double lapseRateCkm = 6.5; // -L: the surface temperature falls this much per km of height
    // --fit-base: the base's temperature (C) or, with -q, its heat flow (mW/m2), fitted within
    // these bounds together with the erosion.
    std::optional<ValueBounds> fitBase;

    double pathStartMa() const { return erosion.empty() ? 0.0 : erosion.front().startMa; }
    // The space a fit of sampleCount data searches: fitPhases phases from pathStartMa of the
    // shapes given, the rates, change times and decay times given (or their defaults), and the
    // base with --fit-base.
    HistorySpace fitSpace(std::size_t sampleCount) const;
    // The table column of the fitted base: base_temperature_c, or with -q base_heat_flow_mw_m2.
    std::string baseColumn() const;
};

// The thermal values whose meaning depends on others, as a user gave them: which of the pairs
// that exclude each other were set (the rest keep their defaults) and the word of --initial. The
// command line and the Python module fill one, so that both refuse alike.
struct ThermalChoices {
    bool baseTemperature = false; // -b
    bool baseHeatFlow = false; // -q
    bool productionScale = false; // --hr
    bool productionDepth = false; // --h-depth
    bool initialGradient = false; // -B
    std::string initialWord = "steady"; // --initial: steady or linear
};

// Sets the base condition, the shape of the heat production and the initial state of parameters
// from the choices. Throws InputError, in this order, for -b with -q, --hr with --h-depth, an
// --initial that is neither steady nor linear, and -B without --initial linear (a value that
// would be ignored).
void applyThermalChoices(const ThermalChoices& choices, thermal::ThermalParameters& parameters);

// The refusal of --fit-base bounds: MIN < MAX, each a base the column can take (parameterError
// on the base the parameters hold: its temperature, or its heat flow); empty when usable.
std::string fitBaseError(ValueBounds bounds, const thermal::ThermalParameters& parameters);

// Sets fitShapes and decayTimesMyr from --fit-shapes' words (empty: not given) and the bounds
// of --decay-times. Throws InputError for an unknown word, a count that is not --fit-phases, and
// --decay-times without a decay phase (it would be ignored).
void setFitShapes(HistoryRequest& request, const std::string& shapeWords,
    const std::optional<ValueBounds>& decayTimesMyr);

// --sampler's word: grid or mcmc. Throws InputError for any other.
HistorySampler parseHistorySampler(const std::string& word);

// The refusal of a seed that is not a whole number from 0 to 2^64 - 1, quoting the seed given.
std::string seedError(std::string_view given);

// The ensemble sampler's settings as a user gave them (--steps, --walkers, --burn-in, --seed,
// --chains).
struct SamplerChoices {
    bool steps = false;
    bool walkers = false;
    bool burnIn = false;
    bool seed = false;
    bool chains = false;
};

// Throws InputError for a sampler's setting given to a fit that runs another engine: it would be
// ignored.
void checkSamplerChoices(const HistoryRequest& request, const SamplerChoices& given);

} // namespace ages

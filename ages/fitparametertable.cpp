#include "fitparametertable.h"

#include "textformat.h"

#include <stdexcept>
#include <string>

namespace ages {

using parameters::BoundsParameter;
using parameters::Range;

const FitPhaseCount fitPhaseParameter { { "--fit-phases", "phases", "phases to fit", "",
                                            Range { .lowest = 0, .highest = 3 },
                                            "phases of the history to fit to the --observed ages "
                                            "(0: no fit)" },
    &HistoryRequest::fitPhases };

const std::array<BoundsParameter, 4> fitBoundsTable { {
    { { "--rates", "rates", "the fit's rates", "mm/yr", {}, "bounds on every phase's rate" },
        textformat::number(defaultFitRatesMmYr.low) + ":"
            + textformat::number(defaultFitRatesMmYr.high) },
    { { "--change-times", "change_times", "the fit's change times", "Ma", {},
          "bounds on every change of rate" },
        "the path but for its first and last twentieth" },
    { { "--decay-times", "decay_times", "the fit's decay times", "Myr", {},
          "bounds on the TAU of every decay phase (--fit-shapes)" },
        "a twentieth of the path to twice the path" },
    { { "--fit-base", "fit_base", "the fitted base", "C or mW/m2", {},
          "bounds of the base fitted with the erosion: its temperature (C), or where a heat flow "
          "feeds the base, that heat flow (mW/m2)" },
        "the base held at its value" },
} };

const BoundsParameter transientFitBase { { "--fit-base", "fit_base", "the fitted gradient", "C/m", {},
                                            "bounds of the basal gradient -B (the gradient of the "
                                            "initial geotherm and far below the surface) fitted "
                                            "with the rate, on a grid of the --rates sweep x 7 "
                                            "gradients, the rate's range profiled over them" },
    "the gradient held at -B" };

const BoundsParameter periodicFitBase { { "--fit-base", "fit_base", "the fitted base", "C", {},
                                           "bounds of the basal temperature -b fitted with the "
                                           "rate, on a grid of the --rates sweep x 7 "
                                           "temperatures, the rate's range profiled over them" },
    "the base held at -b" };

const BoundsParameter& fitBounds(const std::string_view flag)
{
    for (const BoundsParameter& entry : fitBoundsTable) {
        if (entry.text.flag == flag)
            return entry;
    }
    throw std::out_of_range("no fit option " + std::string(flag));
}

namespace {

// A default written as MIN:MAX, for the module's pair: "(0.05, 2)"; words stay words.
std::string asPair(const std::string& defaultText)
{
    const std::size_t colon = defaultText.find(':');
    if (colon == std::string::npos)
        return defaultText;
    std::string pair("(");
    return pair.append(defaultText, 0, colon).append(", ").append(defaultText, colon + 1).append(")");
}

// The unit the help names: a base's unit is said in its help already.
bool unitInHelp(const BoundsParameter& parameter)
{
    return parameter.text.unit.find(' ') != std::string_view::npos;
}

} // namespace

std::string boundsHelp(const BoundsParameter& parameter)
{
    return std::string(parameter.text.help) + ", MIN:MAX";
}

std::string boundsOptionHelp(const BoundsParameter& parameter)
{
    const std::string unit = unitInHelp(parameter) ? "" : " in " + std::string(parameter.text.unit);
    return boundsHelp(parameter) + unit + " (default: " + parameter.defaultText + ")";
}

std::string boundsKeywordHelp(const BoundsParameter& parameter)
{
    std::string help(parameter.text.help);
    help.replace(0, help.find(' '), "bounds (min, max)");
    const std::string unit = unitInHelp(parameter) ? "" : " in " + std::string(parameter.text.unit);
    return help + unit + "; " + asPair(parameter.defaultText) + " when not given";
}

} // namespace ages

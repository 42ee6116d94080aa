#pragma once
// An erosion history as the history fits see it: N phases (1 to 3) on a cooling path of fixed
// length P Myr, the oldest phase starting at P Ma, and the box the fits search. Each phase has a
// shape (--fit-shapes): a constant rate, a ramp (the rate linear from RATE0 at the phase's start
// to RATE1 at its end) or a decay (RATE0 exp(-(start - t) / TAU)). A history is handled as a flat
// vector of its free parameters in the order of the fit's tables, phase by phase,
//
//     rate_1 [end_rate_1 | tau_1], change_1, rate_2 [end_rate_2 | tau_2], change_2, rate_3 ...
//
// where change_k (Ma) is the start of phase k + 1, every rate is in mm/yr and TAU in Myr: 2N - 1
// parameters for constant phases, one more for each ramp or decay. Rates (a ramp's both) lie
// within --rates, TAU within --decay-times, change times within --change-times and strictly
// decreasing (older change first); the path start is fixed.
//
// A space may fit one parameter of the model besides the history (the caller's: the base of the
// geotherm, --fit-base). It comes last in the vector, within its own bounds, and the misfit gets
// its value beside the history (NaN when the space fits none).

#include "changetimerange.h"
#include "erosionhistory.h"
#include "ratefit.h"

#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace ages {

// The thermal model's phases and histories: each phase runs from its start to the next phase's
// (the last to 0 Ma), oldest phase first.
using ErosionPhase = thermal::ErosionPhase;
using ErosionHistory = thermal::ErosionHistory;

// chi2 of the measured samples for one history and the value of the space's other parameter
// (NaN without one): sum(((observed - predicted) / sigma)^2). Called from several threads at once.
// A history the model cannot run may give NaN: the fits avoid it. An exception ends the fit and
// is passed on. Made from any function of the history, or of the history and that value.
class HistoryMisfit {
public:
    using Function = std::function<double(const ErosionHistory& history, double other)>;

    HistoryMisfit() = default;
    template <class F> HistoryMisfit(F function)
    {
        if constexpr (std::is_invocable_r_v<double, const F&, const ErosionHistory&, double>)
            m_function = std::move(function);
        else
            m_function = [function = std::move(function)](
                             const ErosionHistory& history, double) { return function(history); };
    }

    double operator()(const ErosionHistory& history,
        double other = std::numeric_limits<double>::quiet_NaN()) const
    {
        return m_function(history, other);
    }

    // Whether it holds a function (a default one does not).
    explicit operator bool() const { return static_cast<bool>(m_function); }

private:
    Function m_function;
};

// What a parameter of the vector is: its role and its phase (1 for the oldest).
enum class ParameterRole { Rate, EndRate, DecayTime, ChangeTime, Other };
struct HistoryParameter {
    ParameterRole role = ParameterRole::Rate;
    int phase = 1; // a change time's phase is the one it starts
};

// The shapes a fitted phase may take, by the words of --fit-shapes.
using PhaseShape = thermal::PhaseShape;

// What a history fit searches.
struct HistorySpace {
    HistorySpace() = default;
    HistorySpace(
        int phases, double startMa, ValueBounds rates, ValueBounds changeTimes, std::size_t samples)
        : phaseCount(phases)
        , pathStartMa(startMa)
        , ratesMmYr(rates)
        , changeTimesMa(changeTimes)
        , sampleCount(samples)
    {
    }

    int phaseCount = 2; // 1, 2 or 3
    double pathStartMa = 0; // > 0: the start of the oldest phase
    ValueBounds ratesMmYr; // every phase's rate
    ValueBounds changeTimesMa; // every change time, inside (0, pathStartMa)
    std::size_t sampleCount = 0; // measured data the misfit sums over
    // The other parameter fitted with the history, last in the vector, and its table column.
    std::optional<ValueBounds> other;
    std::string otherColumn = "other";
    // One per phase, oldest first; empty when every phase is constant.
    std::vector<PhaseShape> shapes;
    ValueBounds decayTimesMyr { 1.0, 100.0 }; // TAU of every decay phase, Myr

    PhaseShape shapeOf(int phase) const // phase from 1
    {
        return shapes.empty() ? PhaseShape::Constant
                              : shapes.at(static_cast<std::size_t>(phase - 1));
    }
    // Whether some phase is a ramp or a decay.
    bool shaped() const
    {
        for (const PhaseShape shape : shapes)
            if (shape != PhaseShape::Constant)
                return true;
        return false;
    }
    int historyParameterCount() const
    {
        int count = 2 * phaseCount - 1;
        for (const PhaseShape shape : shapes)
            count += shape == PhaseShape::Constant ? 0 : 1;
        return count;
    }
    int parameterCount() const { return historyParameterCount() + (other ? 1 : 0); }
    // Samples less fitted parameters; 0 or less when the data cannot constrain every parameter.
    long degreesOfFreedom() const
    {
        return static_cast<long>(sampleCount) - static_cast<long>(parameterCount());
    }
};

// The role of every parameter of the space, in the vector's order (the other's last).
std::vector<HistoryParameter> historyParameters(const HistorySpace& space);
// The index in the vector of change time `change` (1 for the oldest).
std::size_t changeTimeIndex(const HistorySpace& space, int change);
// The bounds of parameter index of the space.
ValueBounds parameterBounds(const HistorySpace& space, std::size_t index);

// --fit-shapes' words, one per phase: constant, ramp or decay, comma separated. Throws
// std::invalid_argument with a one-line refusal for an unknown word or a count that is not
// phaseCount.
std::vector<PhaseShape> parsePhaseShapes(const std::string& words, int phaseCount);
// The word of a shape: constant, ramp, decay.
std::string phaseShapeWord(PhaseShape shape);

// One history the fit ran, and its misfit (NaN when the model could not run it).
struct TriedHistory {
    std::vector<double> parameters;
    double chi2 = 0;
};

// The first unusable value of a space as a one-line message naming the option and the accepted
// range; empty when the space is usable.
std::string historySpaceError(const HistorySpace& space);

// A warning line when the parameters are as many as the samples or more (the fit then has no
// degrees of freedom left and its reduced chi2 means nothing); empty otherwise.
std::string parameterCountWarning(const HistorySpace& space);

// Whether the parameters lie in the box and the change times are strictly decreasing.
bool isInside(const HistorySpace& space, const std::vector<double>& parameters);

ErosionHistory historyOf(const HistorySpace& space, const std::vector<double>& parameters);
std::vector<double> parametersOf(const ErosionHistory& history);
// The other parameter's value in parameters, NaN when the space fits none.
double otherOf(const HistorySpace& space, const std::vector<double>& parameters);
// The misfit of a parameter vector of the space.
double misfitOf(
    const HistorySpace& space, const HistoryMisfit& misfit, const std::vector<double>& parameters);

// The column names of the parameters with the fixed path start before them, as the fit's tables
// head them: start_1_ma, rate_1_mm_yr, start_2_ma, rate_2_mm_yr, ... (constant phases; a ramp's
// end rate is end_rate_K_mm_yr and a decay's TAU tau_K_myr, each after its phase's rate)
std::vector<std::string> historyColumnNames(int phaseCount);
// The same with the other parameter's column last.
std::vector<std::string> historyColumnNames(const HistorySpace& space);

} // namespace ages

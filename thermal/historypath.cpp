#include "historypath.h"

#include "column.h"
#include "textformat.h"
#include "units.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace thermal {

namespace {

// The fewest equal parts no longer than most, with a tolerance for a length that is a whole
// multiple up to rounding (50000 / 250 must be 200, not 201).
long long partsOf(const double length, const double most)
{
    return static_cast<long long>(std::ceil(length / most * (1.0 - 1e-12)));
}

// The opening of a phase whose steps are tau long: its first K steps, K = openingSpanMyr / tau
// rounded up, are taken as 2K sub-steps of tau / 2^openingLevels, then K of each length double
// the one before, up to tau / 2 (which add up to K tau): the steps grow with the time since the
// change, as a boundary layer growing like sqrt(t) needs. The span is a fixed time, not a number
// of steps, so that halving tau halves every sub-step: about a million years, in which the layer
// grows to sqrt(kappa t) = 6.5 km at the suite's diffusivity. With a span of a few steps
// instead, the path converged at an order of 1 to 1.5 after a change of rate.
constexpr double openingSpanMyr = 1.0;
constexpr int openingLevels = 8;

// K for a phase of `steps` steps of stepMyr.
long long openingStepsOf(const long long steps, const double stepMyr)
{
    return std::min(steps, std::max(1LL, partsOf(openingSpanMyr, stepMyr)));
}

double endOf(const ErosionHistory& history, const std::size_t phase)
{
    return phase + 1 < history.size() ? history[phase + 1].startMa : 0.0;
}

// The node spacing (at most) for the resolution and the history's fastest phase.
double spacingFor(const ThermalParameters& p, const ErosionHistory& history, const Resolution& r)
{
    double fastestMmYr = 0.0;
    for (const ErosionPhase& phase : history)
        fastestMmYr = std::max(fastestMmYr, fastestRateMmYr(phase));
    const double u = units::metresPerSecondFromMmPerYear(fastestMmYr);
    return std::min(r.nodeSpacingM, maximumCellPeclet * p.diffusivityM2s / u);
}

// The step (at most, Myr) for the resolution and the phase's rate on a grid of spacing h.
double stepFor(const double rateMmYr, const double spacingM, const Resolution& r)
{
    const double metresPerMyr = rateMmYr * units::metresPerMyrPerMmPerYear;
    return std::min(r.timeStepMyr, maximumCourant * spacingM / metresPerMyr);
}

struct Plan {
    long long intervals = 0;
    std::vector<long long> phaseSteps; // the equal steps of each phase
    std::vector<double> stepMyr; // their length, tau
};

// The steps of the history: each phase's equal steps, the K opening ones taken as
// openingLevels + 1 sub-steps each.
long long stepCount(const Plan& plan)
{
    long long steps = 0;
    for (std::size_t phase = 0; phase < plan.phaseSteps.size(); ++phase) {
        const long long n = plan.phaseSteps[phase];
        steps += n + openingStepsOf(n, plan.stepMyr[phase]) * openingLevels;
    }
    return steps;
}

Plan planOf(const ThermalParameters& p, const ErosionHistory& history, const Resolution& r)
{
    Plan plan;
    plan.intervals
        = std::max<long long>(minimumIntervals, partsOf(p.baseDepthM, spacingFor(p, history, r)));
    const double spacingM = p.baseDepthM / plan.intervals;
    for (std::size_t phase = 0; phase < history.size(); ++phase) {
        const double myr = history[phase].startMa - endOf(history, phase);
        const long long steps
            = std::max(1LL, partsOf(myr, stepFor(fastestRateMmYr(history[phase]), spacingM, r)));
        plan.phaseSteps.push_back(steps);
        plan.stepMyr.push_back(myr / steps);
    }
    return plan;
}

std::optional<std::string> resolutionError(const Resolution& r)
{
    if (!(std::isfinite(r.nodeSpacingM) && r.nodeSpacingM > 0.0))
        return "node spacing (" + textformat::number(r.nodeSpacingM)
            + " m) must be a finite number above 0 m";
    if (!(std::isfinite(r.timeStepMyr) && r.timeStepMyr > 0.0))
        return "time step (" + textformat::number(r.timeStepMyr)
            + " Myr) must be a finite number above 0 Myr";
    return std::nullopt;
}

// The run itself; its inputs checked: the path of each rock whose depth today below the surface
// is one of presentDepthsM (0 for the rock exposed today), above the surface at T0 + lapse z.
std::vector<HistoryPath> run(const ThermalParameters& p, const ErosionHistory& history,
    const Resolution& r, const std::vector<double>& presentDepthsM, const double lapseRateCm,
    std::vector<double>* presentC, double* spacingM)
{
    const Plan plan = planOf(p, history, r);
    Column column(p, static_cast<int>(plan.intervals));
    std::vector<double> temperature = column.initialState();

    std::vector<HistoryPath> paths(presentDepthsM.size());
    const long long points = stepCount(plan) + 1;
    for (HistoryPath& path : paths) {
        path.timeMa.reserve(points);
        path.temperatureC.reserve(points);
        path.depthM.reserve(points);
    }
    // depthM: of the rock exposed today; each rock lies its present depth deeper.
    const auto record = [&](const double timeMa, const double depthM) {
        for (std::size_t k = 0; k < paths.size(); ++k) {
            HistoryPath& path = paths[k];
            const double z = depthM + presentDepthsM[k];
            path.timeMa.push_back(timeMa);
            path.depthM.push_back(z);
            path.temperatureC.push_back(z >= 0.0 ? column.temperatureAt(temperature, z)
                                                 : p.surfaceTemperatureC + lapseRateCm * z);
        }
    };
    record(history.front().startMa, exhumationSinceM(history, history.front().startMa));

    for (std::size_t phase = 0; phase < history.size(); ++phase) {
        const double startMa = history[phase].startMa;
        const double endMa = endOf(history, phase);
        const long long steps = plan.phaseSteps[phase];
        const double stepMyr = plan.stepMyr[phase];
        const bool constant = history[phase].shape == PhaseShape::Constant;
        const double velocityMs = units::metresPerSecondFromMmPerYear(history[phase].rateMmYr);
        // The rock's depth at timeMa within the phase: the erosion until its end, and the
        // phase's own since timeMa (for a ramp or a decay, the integral in closed form).
        const double endDepthM = exhumationSinceM(history, endMa);
        const double metresPerMyr = history[phase].rateMmYr * units::metresPerMyrPerMmPerYear;
        const auto recordAt = [&](const double timeMa) {
            record(timeMa,
                constant ? endDepthM + metresPerMyr * (timeMa - endMa)
                         : exhumationSinceM(history, timeMa));
        };
        // The factorisation for a step of c (s) from fromMa: a constant phase's speed once per
        // length; a changing rate's at the step's midpoint for every step, which keeps
        // Crank-Nicolson second order in time.
        double preparedS = -1.0;
        const auto prepare = [&](const double implicitS, const double fromMa, const double myr) {
            if (constant) {
                if (implicitS != preparedS)
                    column.prepare(velocityMs, implicitS);
                preparedS = implicitS;
                return;
            }
            column.prepare(
                units::metresPerSecondFromMmPerYear(rateAtMa(history, fromMa - 0.5 * myr)),
                implicitS);
        };

        // The opening, the phase's first `opening` steps: 2 x opening sub-steps of tau / 2^levels
        // (the very first as two backward-Euler halves), then opening of each length up to
        // tau / 2.
        const long long opening = openingStepsOf(steps, stepMyr);
        // The time since the phase began counts the shortest sub-steps, so that it is exact.
        const double shortestMyr = std::ldexp(stepMyr, -openingLevels);
        long long elapsed = 0;
        for (int level = openingLevels; level >= 1; --level) {
            const long long length = 1LL << (openingLevels - level); // in shortest sub-steps
            const double lengthMyr = length * shortestMyr;
            const long long repeats = (level == openingLevels ? 2 : 1) * opening;
            for (long long k = 0; k < repeats; ++k) {
                prepare(0.5 * lengthMyr * units::secondsPerMyr, startMa - elapsed * shortestMyr,
                    lengthMyr);
                if (elapsed == 0) {
                    column.backwardEulerStep(temperature);
                    column.backwardEulerStep(temperature);
                } else {
                    column.crankNicolsonStep(temperature);
                }
                elapsed += length;
                const bool phaseEnd = opening == steps && level == 1 && k + 1 == repeats;
                recordAt(phaseEnd ? endMa : startMa - elapsed * shortestMyr);
            }
        }
        // The phase's other steps, with one factorisation for a constant rate.
        for (long long k = opening + 1; k <= steps; ++k) {
            prepare(0.5 * stepMyr * units::secondsPerMyr, startMa - (k - 1) * stepMyr, stepMyr);
            column.crankNicolsonStep(temperature);
            recordAt(k == steps ? endMa : startMa - k * stepMyr);
        }
    }
    if (presentC)
        *presentC = std::move(temperature);
    if (spacingM)
        *spacingM = column.spacingM();
    return paths;
}

Geotherm geothermOf(std::vector<double> temperatureC, const double spacingM)
{
    Geotherm geotherm;
    geotherm.temperatureC = std::move(temperatureC);
    geotherm.depthM.resize(geotherm.temperatureC.size());
    for (std::size_t i = 0; i < geotherm.depthM.size(); ++i)
        geotherm.depthM[i] = i * spacingM;
    return geotherm;
}

} // namespace

std::optional<std::string> runError(
    const ThermalParameters& p, const ErosionHistory& history, const Resolution& r)
{
    if (auto message = parameterError(p))
        return message;
    if (auto message = resolutionError(r))
        return message;
    if (auto message = historyError(history))
        return message;
    const double startMa = history.front().startMa;
    const double startDepthM = exhumationSinceM(history, startMa);
    if (startDepthM > p.baseDepthM) {
        return "the rock exposed today would have started " + textformat::number(startDepthM)
            + " m deep at " + textformat::number(startMa) + " Ma, below the base of the column (-z "
            + textformat::number(p.baseDepthM) + " m): deepen the base or lower the rates";
    }
    const Plan plan = planOf(p, history, r);
    if (plan.intervals > maximumIntervals) {
        return "the grid would need " + std::to_string(plan.intervals) + " intervals, more than "
            + std::to_string(maximumIntervals) + ": a coarser node spacing or slower rates";
    }
    const long long steps = stepCount(plan);
    if (steps > maximumSteps) {
        return "the history from " + textformat::number(startMa) + " Ma would take "
            + std::to_string(steps) + " time steps, more than " + std::to_string(maximumSteps)
            + ": a longer time step or slower rates";
    }
    // Each bound alone may hold while their product is hours of work: a very fast phase needs
    // both a fine grid and short steps.
    const double nodeSteps = static_cast<double>(plan.intervals) * static_cast<double>(steps);
    if (nodeSteps > maximumNodeSteps) {
        return "the history from " + textformat::number(startMa) + " Ma would take "
            + std::to_string(steps) + " time steps on " + std::to_string(plan.intervals)
            + " intervals, " + textformat::number(nodeSteps, 3) + " node steps, more than "
            + textformat::number(maximumNodeSteps) + ", a few seconds of work: slower rates";
    }
    return std::nullopt;
}

Discretisation discretisation(
    const ThermalParameters& p, const ErosionHistory& history, const Resolution& r)
{
    const Plan plan = planOf(p, history, r);
    return { static_cast<int>(plan.intervals), p.baseDepthM / plan.intervals, plan.stepMyr,
        stepCount(plan) };
}

HistoryPath historyPath(
    const ThermalParameters& p, const ErosionHistory& history, const Resolution& r)
{
    if (auto message = runError(p, history, r))
        throw std::invalid_argument(*message);
    return std::move(run(p, history, r, { 0.0 }, 0.0, nullptr, nullptr).front());
}

HistoryRun historyRun(
    const ThermalParameters& p, const ErosionHistory& history, const Resolution& r)
{
    if (auto message = runError(p, history, r))
        throw std::invalid_argument(*message);
    HistoryRun result;
    double spacingM = 0.0;
    std::vector<double> presentC;
    result.path = std::move(run(p, history, r, { 0.0 }, 0.0, &presentC, &spacingM).front());
    result.presentGeotherm = geothermOf(std::move(presentC), spacingM);
    return result;
}

std::optional<std::string> placedRunError(const ThermalParameters& p, const ErosionHistory& history,
    const PlacedRocks& rocks, const Resolution& r)
{
    if (auto message = runError(p, history, r))
        return message;
    if (!std::isfinite(rocks.lapseRateCm))
        return "the lapse rate (" + textformat::number(rocks.lapseRateCm * 1000.0)
            + " C/km) must be a finite number";
    const double startMa = history.front().startMa;
    const double startDepthM = exhumationSinceM(history, startMa);
    for (const double presentDepthM : rocks.presentDepthsM) {
        if (!std::isfinite(presentDepthM))
            return "a rock's depth today must be a finite number of metres";
        if (startDepthM + presentDepthM > p.baseDepthM) {
            return "the rock " + textformat::number(presentDepthM)
                + " m below the mean surface today would have started "
                + textformat::number(startDepthM + presentDepthM) + " m deep at "
                + textformat::number(startMa) + " Ma, below the base of the column (-z "
                + textformat::number(p.baseDepthM) + " m): deepen the base or lower the rates";
        }
    }
    return std::nullopt;
}

PlacedRun placedRun(const ThermalParameters& p, const ErosionHistory& history,
    const PlacedRocks& rocks, const Resolution& r)
{
    if (auto message = placedRunError(p, history, rocks, r))
        throw std::invalid_argument(*message);
    PlacedRun result;
    double spacingM = 0.0;
    std::vector<double> presentC;
    result.paths
        = run(p, history, r, rocks.presentDepthsM, rocks.lapseRateCm, &presentC, &spacingM);
    result.presentGeotherm = geothermOf(std::move(presentC), spacingM);
    return result;
}

double surfaceHeatFlowMWm2(const ThermalParameters& p, const Geotherm& geotherm)
{
    const std::vector<double>& T = geotherm.temperatureC;
    const double h = geotherm.depthM[1] - geotherm.depthM[0];
    // The derivative at node 0 of the cubic through nodes 0..3: (-11 T0 + 18 T1 - 9 T2 + 2 T3) /
    // 6h.
    const double gradientCm = (-11.0 * T[0] + 18.0 * T[1] - 9.0 * T[2] + 2.0 * T[3]) / (6.0 * h);
    return p.conductivityWmK * gradientCm / wattsPerMilliwatt;
}

double geothermTemperatureC(const Geotherm& geotherm, const double depthM, const double lapseRateCm)
{
    const std::vector<double>& T = geotherm.temperatureC;
    if (depthM < 0.0)
        return T.front() + lapseRateCm * depthM;
    return nodalTemperatureAt(T, geotherm.depthM[1] - geotherm.depthM[0], depthM);
}

} // namespace thermal

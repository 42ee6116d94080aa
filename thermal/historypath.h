#pragma once
// The forward model: the temperature of the column under an erosion history, and the cooling
// path of the rock exposed today.
//
// The grid is fixed to the eroding surface and rock rises through it at the rate of the phase,
// so the temperature obeys dT/dt = kappa T'' + u(t) T' + A(d) kappa / k (column.h), starting
// from the initial state when the first phase begins.
//
// In time, Crank-Nicolson: second order and unconditionally stable. Each phase is cut into equal
// steps tau, so that every change of rate falls on a step boundary, and one factorisation of
// the tridiagonal matrix serves the phase's equal steps. A change of rate, though, makes a kink
// at the held surface (the rock there would warm or cool at the new rate, but the surface stays
// at T0), and the boundary layer that spreads from it grows as sqrt(kappa t): far too fast at
// first for steps of tau, and with equal steps the path converges only at first order or so for
// a while after every change. So each phase opens with a graded span of about a million years
// in which the steps grow geometrically from tau / 256 to tau / 2 (historypath.cpp), one more
// factorisation per step length (nine per phase, none per step); with it the path converges at
// second order everywhere (halving tau divides the change of the path by 4.0). The very first
// sub-step is taken as two backward-Euler halves with the same matrix (Rannacher's start): they
// damp the sharpest modes, which Crank-Nicolson alone (its factor is near -1 for them) would
// let ring after a kink or the jump of a held base temperature at the start.
//
// In space, the node spacing is at most Resolution::nodeSpacingM and u h / kappa <=
// maximumCellPeclet for the fastest phase: erosion sharpens the geotherm under the surface to
// the scale kappa / u. A phase's steps are at most Resolution::timeStepMyr and let the rock rise
// at most maximumCourant node spacings each.
//
// The rock exposed today is tracked exactly: at time t its depth is the erosion since then, the
// integral of the rate, and its temperature the field's at that depth (column.h).
//
// Every function is pure: a run allocates its arrays once (none per step) and shares nothing,
// so any number of threads may run histories at once.
//
//     const thermal::HistoryPath path
//         = thermal::historyPath(parameters, thermal::parseErosionHistory("20:0.3,5:0.6"));

#include "erosionhistory.h"
#include "thermalparameters.h"

#include <optional>
#include <string>
#include <vector>

namespace thermal {

// The longest node spacing and time step a run may take.
struct Resolution {
    double nodeSpacingM = 250.0;
    double timeStepMyr = 0.2;
};

// The refinement for fast erosion (above): u h / kappa and u dt / h at most.
inline constexpr double maximumCellPeclet = 0.02;
inline constexpr double maximumCourant = 1.0;

// Bounds of the work of one run: the grid's intervals (at least four, for the cubic through
// four nodes) and the time steps of a history.
inline constexpr int minimumIntervals = 4;
inline constexpr long long maximumIntervals = 1000000;
inline constexpr long long maximumSteps = 1000000;
// ... and of their product, the node steps of one run (some 5 ns each): a few seconds at most.
inline constexpr double maximumNodeSteps = 1e9;

// The cooling path of the rock exposed today, one point per time step, oldest first.
struct HistoryPath {
    std::vector<double> timeMa; // from the history's first start down to 0
    std::vector<double> temperatureC;
    std::vector<double> depthM; // below the present surface
};

// Temperatures at the grid's nodes, surface first.
struct Geotherm {
    std::vector<double> depthM; // below the surface
    std::vector<double> temperatureC;
};

// A path with the geotherm at its end, today.
struct HistoryRun {
    HistoryPath path;
    Geotherm presentGeotherm;
};

// The grid and steps a run takes.
struct Discretisation {
    int intervals; // of the column
    double nodeSpacingM;
    std::vector<double> stepMyr; // per phase
    long long steps; // of the whole history, opening sub-steps included
};

// The first reason the run cannot be made, as one line without the "ERROR: " prefix: a
// parameter (parameterError), the resolution, the history (historyError), a rock exposed today
// that would have started below the base, or a grid or step count beyond the bounds above.
std::optional<std::string> runError(const ThermalParameters& parameters,
    const ErosionHistory& history, const Resolution& resolution = {});

// The grid and steps of the run; runError must have found nothing.
Discretisation discretisation(const ThermalParameters& parameters, const ErosionHistory& history,
    const Resolution& resolution = {});

// The path of the rock exposed today. Throws std::invalid_argument with runError's message.
HistoryPath historyPath(const ThermalParameters& parameters, const ErosionHistory& history,
    const Resolution& resolution = {});

// The same with the present geotherm.
HistoryRun historyRun(const ThermalParameters& parameters, const ErosionHistory& history,
    const Resolution& resolution = {});

// Rocks that do not lie at the surface today: a sample of a vertical profile, h metres above the
// mean surface, or one of a borehole, d metres below it. Under the 1D model's flat isotherms such
// a rock lies at
//
//     z(t) = D(t) + z0        below the mean surface at time t,
//
// D(t) the erosion since t (exhumationSinceM) and z0 its depth today (-h, or d): one column run
// serves every rock, each read at its own depth. While z < 0 the rock stands in the relief, at the
// surface temperature for its height, T0 + lapse z (lapse in C/m, z negative: colder higher up).
struct PlacedRocks {
    std::vector<double> presentDepthsM; // z0 of each rock, m below the mean surface
    double lapseRateCm = 0.0065; // C/m above the mean surface
};

// The rock exposed today at the mean surface is presentDepthsM 0. A rock whose depth today lies
// below the base of the column is refused by runError's check of the deepest one.
struct PlacedRun {
    std::vector<HistoryPath>
        paths; // one per rock, in the order given; depthM below the mean surface
    Geotherm presentGeotherm;
};

// runError for rocks placed as above: the deepest rock must also have started above the base.
std::optional<std::string> placedRunError(const ThermalParameters& parameters,
    const ErosionHistory& history, const PlacedRocks& rocks, const Resolution& resolution = {});

// The paths of the rocks and the present geotherm, from one run of the column. Throws
// std::invalid_argument with placedRunError's message.
PlacedRun placedRun(const ThermalParameters& parameters, const ErosionHistory& history,
    const PlacedRocks& rocks, const Resolution& resolution = {});

// The heat flowing out of the surface today, mW/m2: k dT/dz at the surface of the present
// geotherm, the derivative of the cubic through its first four nodes (third order in the
// spacing).
double surfaceHeatFlowMWm2(const ThermalParameters& parameters, const Geotherm& geotherm);

// The temperature of the geotherm at depthM (m below the surface; above it, the surface
// temperature for the height, as in PlacedRocks), by the cubic through the four nodes around it.
double geothermTemperatureC(const Geotherm& geotherm, double depthM, double lapseRateCm = 0.0);

} // namespace thermal

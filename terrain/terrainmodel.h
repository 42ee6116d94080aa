#pragma once
// The 3D thermal model under a DEM, and the cooling paths of its rocks.
//
// The crust between the land surface h(x, y, t) and a flat base L below sea level obeys
//
//     dT/dt = kappa lap T - w dT/dz + A(d) kappa / k,    w = u(t) f(x, y),  d = h - z,
//
// z up, the rock rising at the erosion history's rate u (times the uplift map's f), the surface
// held at T0 - lapse h, the base at Tb or with the heat flow qb, the sides insulated, the heat
// production fixed to the surface as in the 1D column (thermal/heatproduction.h). The
// topography is today's DEM, or in the past the DEM with its relief scaled by the relief
// history's factor; a surface that stands still while rock rises through it is eroded at the
// rock's rate. The run starts from the steady state of the first phase under the first
// topography.
//
// In space, trilinear finite elements (finiteelements.h) on a terrain-following grid
// (terraingrid.h): its levels follow the surface, so the surface condition sits on nodes with
// no cut cells, and they are finer near the surface, where the paths and the geotherm's
// curvature are. Second order: the error of a path falls by 4 when the horizontal spacing, the
// level spacing and the step are halved (tests/terrain's convergence test measures it).
//
// In time, Crank-Nicolson, second order and unconditionally stable, with equal steps within
// each phase (a span between changes of rate or relief), so that one matrix and one
// preconditioner serve the phase. A change makes a kink (of the gradient at a change of rate, of
// the field itself at a change of relief) whose boundary layer grows as sqrt(kappa t), and on
// which Crank-Nicolson's factor near -1 for the sharpest modes would ring. So a phase after a
// change opens as the 1D column's do (thermal/historypath.h): its first million years in steps
// graded geometrically from a 256th of the phase's step, the very first as two backward-Euler
// halves (Rannacher's start) with the same matrix. The first phase starts from its own steady
// state and takes equal steps from the start.
//
// Linear systems: the rows divided by their lumped mass, I + c M^-1 (D + u C) with c half the
// step, nearly diagonal in each column and well conditioned; BiCGSTAB (Eigen) preconditioned by
// an incomplete LU factorisation in the grid's column-by-column order (solver.h says what was
// measured), from the extrapolation of the last two steps. The matrices are assembled once per
// geometry (once per relief phase), the operator once per phase, the matrix and preconditioner
// once per step length (one for the phase's steps, eight more for an opening).
//
// At a change of relief the new grid takes the field where the rock is: a node within the old
// crust the old field's temperature at its elevation, a node above the old surface (rock that
// stands higher now) the line between the new and the old surface temperatures.
//
// The rocks' paths are vertical: a rock at (x, y, z) today was at z - f(x, y) E(t) at time t,
// E(t) the rock uplift since then (thermal::exhumationSinceM), and its temperature is the
// field's there by the elements' trilinear interpolation, at every step. A rock that stood above
// the surface of its time (possible only when the relief was lower) is at that surface's
// temperature. The assumptions: vertical rock paths, no faults or lateral transport, no
// isostasy (the surface's heights are given, not computed from the load), constant properties.
//
//     const terrain::Dem dem = terrain::readDem("demo.tif", { .spacingM = 1000 });
//     terrain::TerrainParameters parameters;
//     parameters.relief = terrain::parseReliefHistory("20:0.5,8:1");
//     const terrain::TerrainRun run = terrain::runTerrainModel(dem, parameters,
//         thermal::parseErosionHistory("20:0.3,5:0.6"), samples);
//     run.samplePaths[0].cooling;  run.surfacePaths[dem.index(i, j)];  run.presentTemperatureC;

#include "dem.h"
#include "erosionhistory.h"
#include "terraingrid.h"
#include "terrainparameters.h"

#include "coolingpath.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace terrain {

// A rock sampled today at (x, y) in the DEM's system and an elevation, m.
struct SamplePoint {
    double xM = 0;
    double yM = 0;
    double elevationM = 0;
};

// The path of one rock, oldest first: its cooling path and its depth below the surface of each
// time, m (negative: above that surface).
struct RockPath {
    thermochron::CoolingPath cooling;
    std::vector<double> depthM;
};

// What the linear solves took.
struct SolverStatistics {
    long long solves = 0;
    long long iterations = 0; // BiCGSTAB's, over all solves
    long long initialStateIterations = 0; // of them, the steady initial state's
    int preconditioners = 0; // formed: the initial state's, and one per step length of a phase
    double largestRelativeResidual = 0;
};

struct TerrainRun {
    TerrainGrid presentGrid; // today's: the DEM's surface
    std::vector<double> presentTemperatureC; // at presentGrid's nodes
    std::vector<RockPath> samplePaths; // one per sample, in their order
    std::vector<RockPath> surfacePaths; // the rock at each DEM node today, Dem::index order
    SolverStatistics statistics;
    long long steps = 0; // time steps taken, Rannacher's halves counted singly
};

// The most grid nodes a run allocates (some 3 GB of matrices) and time steps it takes.
inline constexpr std::size_t maximumNodes = 5000000;
inline constexpr long long maximumSteps = 100000;

// The first reason the run cannot be made, one line without "ERROR: ": the parameters
// (parameterError), the history (thermal::historyError), a sample outside the DEM or above its
// surface, a rock whose path would start below the base, a grid or step count beyond the bounds.
std::optional<std::string> runError(const Dem& dem, const TerrainParameters& parameters,
    const thermal::ErosionHistory& history, std::span<const SamplePoint> samples = {});

// Hears the share (0 .. 1) of the run's time span done, after every step.
using RunProgress = std::function<void(double fraction)>;

// The run. surfacePaths: whether to follow the rock of every DEM node (for an age map). Throws
// std::invalid_argument with runError's message, std::runtime_error if a solve fails; an
// exception progress throws ends the run and is passed on.
TerrainRun runTerrainModel(const Dem& dem, const TerrainParameters& parameters,
    const thermal::ErosionHistory& history, std::span<const SamplePoint> samples = {},
    bool surfacePaths = true, const RunProgress& progress = {});

} // namespace terrain

#include "terrainmodel.h"

#include "finiteelements.h"
#include "textformat.h"
#include "solver.h"
#include "steadygeotherm.h"
#include "units.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace terrain {

namespace {

using textformat::number;

// A span of the history in which neither the rate nor the relief changes.
struct Phase {
    double startMa, endMa;
    double rateMmYr;
    double reliefFactor;
    long long steps;
};

double rateAt(const thermal::ErosionHistory& history, const double timeMa)
{
    double rate = history.front().rateMmYr;
    for (const thermal::ErosionPhase& phase : history)
        if (phase.startMa >= timeMa)
            rate = phase.rateMmYr;
    return rate;
}

std::vector<Phase> phasesOf(const TerrainParameters& p, const thermal::ErosionHistory& history)
{
    const double startMa = history.front().startMa;
    std::vector<double> changes { startMa, 0.0 };
    for (const thermal::ErosionPhase& phase : history)
        changes.push_back(phase.startMa);
    for (const ReliefPhase& phase : p.relief.phases)
        if (phase.startMa < startMa)
            changes.push_back(phase.startMa);
    std::sort(changes.begin(), changes.end(), std::greater<>());
    changes.erase(std::unique(changes.begin(), changes.end()), changes.end());
    std::vector<Phase> phases;
    for (std::size_t i = 0; i + 1 < changes.size(); ++i) {
        const double a = changes[i], b = changes[i + 1];
        const double middle = 0.5 * (a + b);
        const auto steps = static_cast<long long>(std::ceil((a - b) / p.timeStepMyr * (1 - 1e-12)));
        phases.push_back(
            { a, b, rateAt(history, middle), p.relief.factorAt(middle), std::max(1LL, steps) });
    }
    return phases;
}

// A field given at the DEM's nodes (row-major), interpolated bilinearly at (x, y); fallback for
// an empty field.
double bilinearAt(const Dem& dem, const std::vector<double>& factors, const double x,
    const double y, const double fallback)
{
    if (factors.empty())
        return fallback;
    const double u = std::clamp((x - dem.originX) / dem.spacingX, 0.0, dem.columns - 1.0);
    const double v = std::clamp((y - dem.originY) / dem.spacingY, 0.0, dem.rows - 1.0);
    const int i = std::min(static_cast<int>(u), dem.columns - 2);
    const int j = std::min(static_cast<int>(v), dem.rows - 2);
    const double a = u - i, b = v - j;
    const auto f = [&](const int ii, const int jj) { return factors[dem.index(ii, jj)]; };
    return (1 - b) * ((1 - a) * f(i, j) + a * f(i + 1, j))
        + b * ((1 - a) * f(i, j + 1) + a * f(i + 1, j + 1));
}

// The opening of a phase that follows a change, as the 1D column takes it
// (thermal/historypath.cpp): a change of rate or relief makes a kink at the held surface whose
// boundary layer grows as sqrt(kappa t), too fast at first for the phase's steps tau; with equal
// steps the paths converge at first order for a while after the change. So the phase's first K
// steps, K = 1 Myr / tau rounded up, are taken as 2K sub-steps of tau / 2^8, then K of each
// length double the one before up to tau / 2: steps that grow with the time since the change,
// one preconditioner per length. With it the paths converge at second order after a change too.
constexpr double openingSpanMyr = 1.0;
constexpr int openingLevels = 8;

long long openingSteps(const long long steps, const double stepMyr)
{
    const auto k = static_cast<long long>(std::ceil(openingSpanMyr / stepMyr * (1 - 1e-12)));
    return std::min(steps, std::max(1LL, k));
}

// A rock followed through the run: where it is today, and how fast it rises relative to the
// history's rate.
struct Rock {
    double x, y, z, uplift;
};

// The model's state and its stepping.
class Stepper {
public:
    Stepper(const Dem& dem, const TerrainParameters& p)
        : m_dem(dem)
        , m_p(p)
    {
    }

    // Sets the geometry of a relief factor: the grid, its matrices and held values; the field
    // moves onto the new grid (none yet: nothing to move).
    void setRelief(const double factor)
    {
        if (m_grid && factor == m_factor)
            return;
        auto grid = std::make_unique<TerrainGrid>(m_dem, scaledRelief(m_dem, factor),
            m_p.thermal.baseDepthM, m_p.levels, m_p.levelSpacingRatio);
        if (m_grid)
            m_temperature = remapped(*m_grid, *grid);
        m_grid = std::move(grid);
        m_factor = factor;
        m_operatorRate = -1.0; // a new geometry: the operator is formed anew
        m_system = assemble(*m_grid, m_p.thermal, m_p.upliftFactors);
        m_inverseMass = m_system.mass.cwiseInverse();
        heldValues();
    }

    // The steady state of the current geometry at the rate: the start of the run.
    void steadyState(const double rateMmYr)
    {
        const double u = units::metresPerSecondFromMmPerYear(rateMmYr);
        // The first guess: the 1D steady geotherm of every column, its surface at the column's
        // temperature and its base L + h below it.
        const TerrainGrid& g = *m_grid;
        m_temperature = Eigen::VectorXd(static_cast<Eigen::Index>(g.nodeCount()));
        for (int j = 0; j < g.rows(); ++j)
            for (int i = 0; i < g.columns(); ++i) {
                thermal::ThermalParameters column = m_p.thermal;
                const double h = g.surface(i, j);
                column.surfaceTemperatureC = surfaceTemperature(h);
                column.baseDepthM = h + g.baseDepthM();
                const double f
                    = m_p.upliftFactors.empty() ? 1.0 : m_p.upliftFactors[m_dem.index(i, j)];
                const thermal::SteadyGeotherm steady(column, rateMmYr * f);
                for (int k = 0; k < g.levels(); ++k)
                    m_temperature[g.node(i, j, k)] = steady.temperatureC(h - g.elevation(i, j, k));
            }
        // (D + u C) T = F, each row scaled by tau / M so that the rows are of order 1 like the
        // held ones: tau the diffusion time of the thinnest level.
        const double thinnest = g.sigma(1) * g.baseDepthM();
        const double tau = thinnest * thinnest / m_p.thermal.diffusivityM2s;
        SparseMatrix a = m_system.diffusion + u * m_system.advection;
        a = (tau * m_inverseMass).asDiagonal() * a;
        Eigen::VectorXd b = tau * m_inverseMass.cwiseProduct(m_system.source);
        holdRows(a);
        setHeld(b);
        m_solver.prepare(a);
        ++m_preconditioners;
        m_solver.solve(b, m_temperature);
        ++m_solves;
        m_initialIterations = m_solver.iterations();
        m_previous = m_temperature;
    }

    // Prepares the phase's matrices: I + c M^-1 (D + u C), c = step / 2.
    void preparePhase(const double rateMmYr, const double stepMyr)
    {
        // The operator depends on the rate and the geometry alone: the opening's step lengths
        // share it.
        if (rateMmYr != m_operatorRate || m_operatorFactor != m_factor) {
            const double u = units::metresPerSecondFromMmPerYear(rateMmYr);
            m_operator = m_inverseMass.asDiagonal() * (m_system.diffusion + u * m_system.advection);
            m_scaledSource = m_inverseMass.cwiseProduct(m_system.source);
            m_operatorRate = rateMmYr;
            m_operatorFactor = m_factor;
        }
        m_c = 0.5 * stepMyr * units::secondsPerMyr;
        m_matrix = m_c * m_operator;
        addIdentity(m_matrix);
        holdRows(m_matrix);
        m_solver.prepare(m_matrix);
        ++m_preconditioners;
        m_previous = m_temperature; // no extrapolation across a change
    }

    // Backward Euler over c: (I + c M^-1 L) T' = T + c M^-1 F.
    void backwardEulerStep()
    {
        Eigen::VectorXd b = m_temperature + m_c * m_scaledSource;
        setHeld(b);
        Eigen::VectorXd x = m_temperature;
        m_solver.solve(b, x);
        ++m_solves;
        m_previous = m_temperature;
        m_temperature = std::move(x);
    }

    // Crank-Nicolson over 2c: (I + c M^-1 L) T' = (I - c M^-1 L) T + 2 c M^-1 F.
    void crankNicolsonStep(const bool extrapolate)
    {
        Eigen::VectorXd b
            = m_temperature - m_c * (m_operator * m_temperature) + 2.0 * m_c * m_scaledSource;
        setHeld(b);
        Eigen::VectorXd x
            = extrapolate ? Eigen::VectorXd(2.0 * m_temperature - m_previous) : m_temperature;
        m_solver.solve(b, x);
        ++m_solves;
        m_previous = m_temperature;
        m_temperature = std::move(x);
    }

    const TerrainGrid& grid() const { return *m_grid; }
    const Eigen::VectorXd& temperature() const { return m_temperature; }
    SolverStatistics statistics() const
    {
        return { m_solves, m_solver.iterations(), m_initialIterations, m_preconditioners,
            m_solver.largestResidual() };
    }

    // T0 - lapse h.
    double surfaceTemperature(const double heightM) const
    {
        return m_p.thermal.surfaceTemperatureC
            - m_p.lapseRateCkm / units::metresPerKilometre * heightM;
    }

private:
    // The held nodes (the surface, and the base when its temperature is held) and their values.
    void heldValues()
    {
        const TerrainGrid& g = *m_grid;
        m_held.clear();
        m_heldValue.clear();
        const bool heldBase = m_p.thermal.base == thermal::BaseCondition::Temperature;
        for (int j = 0; j < g.rows(); ++j)
            for (int i = 0; i < g.columns(); ++i) {
                m_held.push_back(static_cast<int>(g.node(i, j, 0)));
                m_heldValue.push_back(surfaceTemperature(g.surface(i, j)));
                if (heldBase) {
                    m_held.push_back(static_cast<int>(g.node(i, j, g.levels() - 1)));
                    m_heldValue.push_back(m_p.thermal.baseTemperatureC);
                }
            }
    }

    void setHeld(Eigen::VectorXd& b) const
    {
        for (std::size_t n = 0; n < m_held.size(); ++n)
            b[m_held[n]] = m_heldValue[n];
    }

    static void addIdentity(SparseMatrix& a)
    {
        for (Eigen::Index row = 0; row < a.outerSize(); ++row)
            for (SparseMatrix::InnerIterator e(a, row); e; ++e)
                if (e.col() == row)
                    e.valueRef() += 1.0;
    }

    // The held rows become identity rows; setHeld puts their values on the right.
    void holdRows(SparseMatrix& a) const
    {
        for (const int row : m_held)
            for (SparseMatrix::InnerIterator e(a, row); e; ++e)
                e.valueRef() = e.col() == row ? 1.0 : 0.0;
    }

    // The field on the new grid: in the old crust the old field's at the node's elevation, in
    // its column; above the old surface the line between the two surface temperatures.
    Eigen::VectorXd remapped(const TerrainGrid& old, const TerrainGrid& grid) const
    {
        Eigen::VectorXd next(static_cast<Eigen::Index>(grid.nodeCount()));
        const std::span<const double> field(m_temperature.data(), m_temperature.size());
        for (int j = 0; j < grid.rows(); ++j)
            for (int i = 0; i < grid.columns(); ++i) {
                const double hOld = old.surface(i, j), hNew = grid.surface(i, j);
                const double tOld = surfaceTemperature(hOld), tNew = surfaceTemperature(hNew);
                for (int k = 0; k < grid.levels(); ++k) {
                    const double z = grid.elevation(i, j, k);
                    double t;
                    if (z <= hOld) {
                        t = old.interpolate(field, old.locate(old.x(i), old.y(j), z));
                    } else {
                        t = tNew + (tOld - tNew) * (hNew - z) / (hNew - hOld);
                    }
                    next[grid.node(i, j, k)] = t;
                }
            }
        return next;
    }

    const Dem& m_dem;
    const TerrainParameters& m_p;
    std::unique_ptr<TerrainGrid> m_grid;
    double m_factor = 1.0;
    FiniteElementSystem m_system;
    Eigen::VectorXd m_inverseMass;
    std::vector<int> m_held;
    std::vector<double> m_heldValue;
    double m_operatorRate = -1.0, m_operatorFactor = -1.0; // what m_operator was formed for
    double m_c = 0.0;
    SparseMatrix m_operator, m_matrix;
    Eigen::VectorXd m_scaledSource;
    Eigen::VectorXd m_temperature, m_previous;
    StepSolver m_solver;
    long long m_solves = 0;
    long long m_initialIterations = 0;
    int m_preconditioners = 0;
};

// The rock's path, one point a record.
class PathRecorder {
public:
    PathRecorder(std::vector<Rock> rocks, const thermal::ErosionHistory& history)
        : m_rocks(std::move(rocks))
        , m_history(history)
        , m_paths(m_rocks.size())
    {
    }

    void record(const double timeMa, const TerrainGrid& grid, const Eigen::VectorXd& temperature)
    {
        const double uplift = thermal::exhumationSinceM(m_history, timeMa);
        const std::span<const double> field(temperature.data(), temperature.size());
        for (std::size_t r = 0; r < m_rocks.size(); ++r) {
            const Rock& rock = m_rocks[r];
            const double z = rock.z - rock.uplift * uplift;
            const TerrainGrid::Location where = grid.locate(rock.x, rock.y, z);
            m_paths[r].cooling.push_back({ timeMa, grid.interpolate(field, where) });
            m_paths[r].depthM.push_back(where.surfaceM - z);
        }
    }

    std::vector<RockPath> take() { return std::move(m_paths); }

private:
    std::vector<Rock> m_rocks;
    const thermal::ErosionHistory& m_history;
    std::vector<RockPath> m_paths;
};

} // namespace

std::optional<std::string> runError(const Dem& dem, const TerrainParameters& p,
    const thermal::ErosionHistory& history, const std::span<const SamplePoint> samples)
{
    if (auto message = parameterError(p, dem))
        return message;
    if (auto message = thermal::historyError(history))
        return message;
    const double startMa = history.front().startMa;
    const double upliftM = thermal::exhumationSinceM(history, startMa);
    const double x1 = dem.x(dem.columns - 1), y1 = dem.y(dem.rows - 1);
    for (std::size_t s = 0; s < samples.size(); ++s) {
        const SamplePoint& sample = samples[s];
        const std::string name = "sample " + std::to_string(s + 1) + " (" + textformat::number(sample.xM)
            + ", " + textformat::number(sample.yM) + ", " + textformat::number(sample.elevationM) + " m)";
        if (!(sample.xM >= dem.originX && sample.xM <= x1 && sample.yM >= dem.originY
                && sample.yM <= y1))
            return name + " lies outside the DEM (x " + textformat::number(dem.originX) + " to "
                + textformat::number(x1) + ", y " + textformat::number(dem.originY) + " to " + textformat::number(y1) + ")";
        const double surface = bilinearAt(dem, dem.heights, sample.xM, sample.yM, 0.0);
        if (!(sample.elevationM <= surface + 1e-6 * std::max(1.0, std::fabs(surface))))
            return name + " stands above the DEM's surface there (" + textformat::number(surface) + " m)";
        const double f = bilinearAt(dem, p.upliftFactors, sample.xM, sample.yM, 1.0);
        if (sample.elevationM - f * upliftM <= -p.thermal.baseDepthM)
            return name + " would have started below the base of the model at "
                + textformat::number(startMa) + " Ma: deepen the base or lower the rates";
    }
    double highestUplift = 1.0;
    if (!p.upliftFactors.empty())
        highestUplift = *std::max_element(p.upliftFactors.begin(), p.upliftFactors.end());
    if (dem.lowest() - highestUplift * upliftM <= -p.thermal.baseDepthM)
        return "the rock at the DEM's surface would have started "
            + textformat::number(highestUplift * upliftM) + " m lower at " + textformat::number(startMa)
            + " Ma, below the base of the model (-z " + textformat::number(p.thermal.baseDepthM)
            + " m): deepen the base or lower the rates";
    if (dem.nodeCount() * static_cast<std::size_t>(p.levels) > maximumNodes)
        return "the grid would have " + std::to_string(dem.nodeCount() * p.levels)
            + " nodes, more than " + std::to_string(maximumNodes)
            + ": resample the DEM coarser or take fewer levels";
    long long steps = 0;
    for (const Phase& phase : phasesOf(p, history))
        steps += phase.steps;
    if (steps > maximumSteps)
        return "the history would take " + std::to_string(steps) + " time steps, more than "
            + std::to_string(maximumSteps) + ": a longer time step";
    return std::nullopt;
}

TerrainRun runTerrainModel(const Dem& dem, const TerrainParameters& p,
    const thermal::ErosionHistory& history, const std::span<const SamplePoint> samples,
    const bool surfacePaths, const RunProgress& progress)
{
    if (auto message = runError(dem, p, history, samples))
        throw std::invalid_argument(*message);
    const std::vector<Phase> phases = phasesOf(p, history);

    std::vector<Rock> sampleRocks;
    for (const SamplePoint& s : samples)
        sampleRocks.push_back(
            { s.xM, s.yM, s.elevationM, bilinearAt(dem, p.upliftFactors, s.xM, s.yM, 1.0) });
    std::vector<Rock> surfaceRocks;
    if (surfacePaths) {
        for (int j = 0; j < dem.rows; ++j)
            for (int i = 0; i < dem.columns; ++i)
                surfaceRocks.push_back({ dem.x(i), dem.y(j), dem.height(i, j),
                    p.upliftFactors.empty() ? 1.0 : p.upliftFactors[dem.index(i, j)] });
    }
    PathRecorder sampleRecorder(std::move(sampleRocks), history);
    PathRecorder surfaceRecorder(std::move(surfaceRocks), history);
    Stepper stepper(dem, p);
    const auto record = [&](const double timeMa) {
        sampleRecorder.record(timeMa, stepper.grid(), stepper.temperature());
        surfaceRecorder.record(timeMa, stepper.grid(), stepper.temperature());
        if (progress)
            progress(1.0 - timeMa / phases.front().startMa);
    };

    stepper.setRelief(phases.front().reliefFactor);
    stepper.steadyState(phases.front().rateMmYr);
    record(phases.front().startMa);
    long long steps = 0;
    for (std::size_t n = 0; n < phases.size(); ++n) {
        const Phase& phase = phases[n];
        stepper.setRelief(phase.reliefFactor);
        const double stepMyr = (phase.startMa - phase.endMa) / phase.steps;
        // The first phase starts from its own steady state: nothing to resolve, equal steps.
        const long long opening = n == 0 ? 0 : openingSteps(phase.steps, stepMyr);
        const double shortestMyr = std::ldexp(stepMyr, -openingLevels);
        long long elapsed = 0; // in shortest sub-steps
        for (int level = openingLevels; opening > 0 && level >= 1; --level) {
            const long long length = 1LL << (openingLevels - level);
            stepper.preparePhase(phase.rateMmYr, length * shortestMyr);
            const long long repeats = (level == openingLevels ? 2 : 1) * opening;
            for (long long k = 0; k < repeats; ++k) {
                if (elapsed == 0) {
                    // Rannacher's start: two backward-Euler halves with the same matrix.
                    stepper.backwardEulerStep();
                    record(phase.startMa - 0.5 * length * shortestMyr);
                    stepper.backwardEulerStep();
                } else {
                    stepper.crankNicolsonStep(k > 0);
                }
                elapsed += length;
                ++steps;
                const bool phaseEnd = opening == phase.steps && level == 1 && k + 1 == repeats;
                record(phaseEnd ? phase.endMa : phase.startMa - elapsed * shortestMyr);
            }
        }
        if (phase.steps > opening)
            stepper.preparePhase(phase.rateMmYr, stepMyr);
        for (long long k = opening + 1; k <= phase.steps; ++k) {
            stepper.crankNicolsonStep(k > opening + 1);
            ++steps;
            record(k == phase.steps ? phase.endMa : phase.startMa - k * stepMyr);
        }
    }

    TerrainRun run { stepper.grid(), {}, sampleRecorder.take(), surfaceRecorder.take(),
        stepper.statistics(), steps };
    const Eigen::VectorXd& t = stepper.temperature();
    run.presentTemperatureC.assign(t.data(), t.data() + t.size());
    return run;
}

} // namespace terrain

#include "column.h"

#include "heatproduction.h"
#include "steadygeotherm.h"

#include <algorithm>
#include <cmath>

namespace thermal {

Column::Column(const ThermalParameters& parameters, const int intervals)
    : m_parameters(parameters)
    , m_spacingM(parameters.baseDepthM / intervals)
    , m_heldFlow(parameters.base == BaseCondition::HeatFlow)
    , m_baseGradientCm(parameters.baseHeatFlowMWm2 * wattsPerMilliwatt / parameters.conductivityWmK)
    , m_sourceCs(intervals + 1, 0.0)
    , m_next(intervals + 1)
    , m_matrixLower(intervals + 1)
    , m_matrixDiagonal(intervals + 1)
    , m_matrixUpper(intervals + 1)
{
    const HeatProduction production(parameters);
    const double perConductivity = parameters.diffusivityM2s / parameters.conductivityWmK;
    for (int i = 1; i < intervals; ++i)
        m_sourceCs[i] = perConductivity * production.nodeMean(i * m_spacingM, m_spacingM);
    if (m_heldFlow)
        m_sourceCs[intervals]
            = perConductivity * production.lastNodeMean(parameters.baseDepthM, m_spacingM);
}

std::vector<double> Column::initialState() const
{
    const ThermalParameters& p = m_parameters;
    const int n = intervalCount();
    std::vector<double> temperatureC(n + 1);
    if (p.initial == InitialState::Steady) {
        const SteadyGeotherm steady(p, 0.0);
        for (int i = 0; i <= n; ++i)
            temperatureC[i] = steady.temperatureC(i * m_spacingM);
    } else {
        for (int i = 0; i <= n; ++i)
            temperatureC[i] = p.surfaceTemperatureC + p.initialGradientCm * i * m_spacingM;
        // A held base temperature holds from the start, whatever the line reaches there.
        if (!m_heldFlow)
            temperatureC[n] = p.baseTemperatureC;
    }
    return temperatureC;
}

void Column::prepare(const double velocityMs, const double implicitS)
{
    const int n = intervalCount();
    const double h = m_spacingM;
    const double kappa = m_parameters.diffusivityM2s;
    const double u = velocityMs;
    m_lower = kappa / (h * h) - u / (2.0 * h);
    m_diagonal = -2.0 * kappa / (h * h);
    m_upper = kappa / (h * h) + u / (2.0 * h);
    // The mirrored node adds 2 kappa qb / (k h) through diffusion and u qb / k through advection.
    m_baseConstantCs = m_baseGradientCm * (2.0 * kappa / h + u);
    m_implicitS = implicitS;

    // I - c L; the surface and a held base temperature are identity rows.
    const double c = implicitS;
    std::vector<double>& lower = m_matrixLower;
    std::vector<double>& diagonal = m_matrixDiagonal;
    std::vector<double>& upper = m_matrixUpper;
    std::fill(lower.begin(), lower.end(), -c * m_lower);
    std::fill(diagonal.begin(), diagonal.end(), 1.0 - c * m_diagonal);
    std::fill(upper.begin(), upper.end(), -c * m_upper);
    lower[0] = 0.0, diagonal[0] = 1.0, upper[0] = 0.0;
    lower[n] = m_heldFlow ? -c * 2.0 * kappa / (h * h) : 0.0;
    diagonal[n] = m_heldFlow ? 1.0 - c * m_diagonal : 1.0;
    upper[n] = 0.0;
    m_solver.factor(lower, diagonal, upper);
}

void Column::crankNicolsonStep(std::vector<double>& T)
{
    // Locals, so that the compiler need not reload them after every store to the arrays.
    const int n = intervalCount();
    const double c = m_implicitS;
    const double lowerL = m_lower, diagonalL = m_diagonal, upperL = m_upper;
    const double* source = m_sourceCs.data();
    double* next = m_next.data();
    const double* old = T.data();
    next[0] = old[0];
    for (int i = 1; i < n; ++i) {
        next[i] = old[i] + c * (lowerL * old[i - 1] + diagonalL * old[i] + upperL * old[i + 1])
            + 2.0 * c * source[i];
    }
    if (m_heldFlow) {
        const double kappa = m_parameters.diffusivityM2s;
        const double h = m_spacingM;
        next[n] = old[n] + c * (2.0 * kappa / (h * h) * old[n - 1] + diagonalL * old[n])
            + 2.0 * c * (source[n] + m_baseConstantCs);
    } else {
        next[n] = old[n];
    }
    m_solver.solve(m_next);
    T.swap(m_next);
}

void Column::backwardEulerStep(std::vector<double>& T) const
{
    const int n = intervalCount();
    const double c = m_implicitS;
    for (int i = 1; i < n; ++i)
        T[i] += c * m_sourceCs[i];
    if (m_heldFlow)
        T[n] += c * (m_sourceCs[n] + m_baseConstantCs);
    m_solver.solve(T);
}

double Column::temperatureAt(const std::vector<double>& T, const double depthM) const
{
    return nodalTemperatureAt(T, m_spacingM, depthM);
}

double nodalTemperatureAt(const std::vector<double>& T, const double spacingM, const double depthM)
{
    const int n = static_cast<int>(T.size()) - 1;
    const double position = depthM / spacingM;
    const int j = std::clamp(static_cast<int>(std::floor(position)), 1, n - 2);
    // Lagrange weights of the nodes j-1, j, j+1, j+2, which stand at x = -1, 0, 1, 2.
    const double x = position - j;
    const double w0 = -x * (x - 1.0) * (x - 2.0) / 6.0;
    const double w1 = (x + 1.0) * (x - 1.0) * (x - 2.0) / 2.0;
    const double w2 = -(x + 1.0) * x * (x - 2.0) / 2.0;
    const double w3 = (x + 1.0) * x * (x - 1.0) / 6.0;
    return w0 * T[j - 1] + w1 * T[j] + w2 * T[j + 1] + w3 * T[j + 2];
}

} // namespace thermal

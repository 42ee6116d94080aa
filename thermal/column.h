#pragma once
// The column discretised in space: nodes i = 0..n at depth d_i = i h below the surface, the
// surface node held at T0 and the base node held at Tb or taking the held heat flow qb. Between
// them the model's equation
//
//     dT/dt = L T + s,   L T = kappa T'' + u T'   (central differences, second order)
//
// with s = A kappa / k, the heat production's mean over each node's hat function
// (heatproduction.h). At a base with held heat flow the node beyond it mirrors the one above
// with the held gradient, T_{n+1} = T_{n-1} + 2 h qb / k, which keeps the second order.
//
// The time steps all solve with the matrix I - c L for one c, which prepare() sets and
// factorises: a Crank-Nicolson step of length 2c, or a backward-Euler step of length c.
//
//     Column column(parameters, 200); // 200 intervals
//     std::vector<double> T = column.initialState();
//     column.prepare(velocity, stepSeconds / 2);
//     column.crankNicolsonStep(T);

#include "thermalparameters.h"
#include "tridiagonalsystem.h"

#include <vector>

namespace thermal {

class Column {
public:
    // Parameters as parameterError accepts them; intervals >= 3.
    Column(const ThermalParameters& parameters, int intervals);

    int intervalCount() const { return static_cast<int>(m_sourceCs.size()) - 1; }
    double spacingM() const { return m_spacingM; }

    // The nodal temperatures when the first phase begins (InitialState). The steady state is the
    // analytic one, which is the scheme's own at the nodes (see HeatProduction), so that a
    // history starts from rest, not with the relaxation of a discretisation error.
    std::vector<double> initialState() const;

    // Sets the rock's upward speed u (m/s) and c (s), and factorises I - c L.
    void prepare(double velocityMs, double implicitS);

    // T <- (I - c L)^-1 ((I + c L) T + 2 c s): Crank-Nicolson over 2c.
    void crankNicolsonStep(std::vector<double>& temperatureC);

    // T <- (I - c L)^-1 (T + c s): backward Euler over c.
    void backwardEulerStep(std::vector<double>& temperatureC) const;

    // The temperature at depthM (0 to L) from the nodal values, by the cubic through the four
    // nodes around it (the first or last four at the ends), C.
    double temperatureAt(const std::vector<double>& temperatureC, double depthM) const;

private:
    ThermalParameters m_parameters;
    double m_spacingM; // h
    bool m_heldFlow; // the base takes the held heat flow (else it is held at Tb)
    double m_baseGradientCm; // qb / k
    std::vector<double> m_sourceCs; // s per node, C/s (0 at held nodes)

    // The rows of L for the current speed, 1/s: interior (L T)_i = m_lower T_{i-1} + m_diagonal
    // T_i + m_upper T_{i+1}; a base with held flow 2 kappa/h^2 T_{n-1} + m_diagonal T_n +
    // m_baseConstantCs.
    double m_lower = 0, m_diagonal = 0, m_upper = 0, m_baseConstantCs = 0;
    double m_implicitS = 0; // c
    numerics::TridiagonalSystem m_solver;
    std::vector<double> m_next; // the right-hand side, then the new state
    std::vector<double> m_matrixLower, m_matrixDiagonal, m_matrixUpper; // I - c L, to factorise
};

// The same for nodal values spacingM apart, surface first, at least four of them.
double nodalTemperatureAt(const std::vector<double>& temperatureC, double spacingM, double depthM);

} // namespace thermal

#pragma once
// The radiogenic heat production A(d) of the column, W/m3, as a function of the depth d below
// the surface: A0 exp(-d / hr), or A0 down to a depth D and nothing below. The distribution is
// fixed to the eroding surface: erosion removes rock, and the heat-producing layer is taken to
// keep its shape below the surface. That is the assumption under which a steady geotherm exists
// at every rate (rock that carried its heat production up would empty the column of it within a
// few hr / u). It also gives the weighted means the finite-difference column needs.

#include "thermalparameters.h"

namespace thermal {

class HeatProduction {
public:
    explicit HeatProduction(const ThermalParameters& parameters);

    // A(d), W/m3.
    double atDepth(double depthM) const;

    // The mean of A over the two intervals around a node at depthM (>= spacingM) of a grid
    // spaced by spacingM, weighted by the node's hat function (1 at the node, falling linearly
    // to 0 at its neighbours), W/m3. With this mean as its source the three-point scheme of
    // k T'' + A = 0 is exact at the nodes (the linear finite elements' property in one
    // dimension), so the discrete steady state is the analytic one, and a uniform layer whose
    // bottom falls between nodes costs no accuracy.
    double nodeMean(double depthM, double spacingM) const;

    // The same for the last node of the grid, at depthM, over its one interval above: the
    // source of a node whose heat flow is held.
    double lastNodeMean(double depthM, double spacingM) const;

private:
    // F1(d) = integral of A from 0 to d (W/m2) and F2(d) = integral of F1 from 0 to d (W/m).
    double firstIntegral(double depthM) const;
    double secondIntegral(double depthM) const;

    HeatProductionShape m_shape;
    double m_surfaceWm3; // A0
    double m_lengthM; // hr, or D
};

} // namespace thermal

#pragma once
// The steady geotherm of the column eroded at a constant rate (0: none), in closed form. With
// d the depth below the surface, u the rate and a = u / kappa, the steady state of the model,
//
//     kappa T'' + u T' + A(d) kappa / k = 0,   T(0) = T0,   T(L) = Tb  or  k T'(L) = qb,
//
// is T(d) = T0 + w0 P(d) + Q(d), where P(d) = (1 - exp(-a d)) / a solves the equation without
// heat production and Q the one with, from Q(0) = Q'(0) = 0; the base sets the surface gradient
// w0. Integrating (exp(a d) T')' = -exp(a d) A(d) / k twice gives Q for both shapes:
//
//     A0 exp(-d / hr):          Q'(d) = -(A0 / k) (exp(-d / hr) - exp(-a d)) / (a - 1 / hr)
//     A0 above D, 0 below:      Q'(d) = -(A0 / k) (1 - exp(-a d)) / a               (d <= D)
//                               Q'(d) = Q'(D) exp(-a (d - D))                       (d > D)
//
// written with the functions of exponentialfunctions.h, so that a = 0 (no erosion) and
// a = 1 / hr are ordinary values. It is the model's initial state (at rate 0), and the state a
// long enough phase of constant rate tends to.
//
//     const thermal::SteadyGeotherm steady(parameters, 0.5);
//     steady.temperatureC(10000.0);

#include "thermalparameters.h"

namespace thermal {

class SteadyGeotherm {
public:
    // Parameters as parameterError accepts them; rateMmYr >= 0.
    SteadyGeotherm(const ThermalParameters& parameters, double rateMmYr);

    // T(d), C, for 0 <= d <= L.
    double temperatureC(double depthM) const;

    // T'(0), C/m; k T'(0) is the heat flow out of the surface.
    double surfaceGradientCm() const { return m_surfaceGradientCm; }

private:
    double particular(double depthM) const; // Q(d), C
    double particularSlope(double depthM) const; // Q'(d), C/m

    HeatProductionShape m_shape;
    double m_surfaceC; // T0
    double m_advectionPerM; // a = u / kappa, 1/m
    double m_productionCm2; // A0 / k, C/m2
    double m_lengthM; // hr or D
    double m_surfaceGradientCm = 0.0; // w0
};

} // namespace thermal

#include "steadygeotherm.h"

#include "exponentialfunctions.h"
#include "units.h"

#include <algorithm>
#include <cmath>

namespace thermal {

using exponential::phi1;
using exponential::phi1Divided;
using exponential::phi2;

SteadyGeotherm::SteadyGeotherm(const ThermalParameters& p, const double rateMmYr)
    : m_shape(p.heatProductionShape)
    , m_surfaceC(p.surfaceTemperatureC)
    , m_advectionPerM(units::metresPerSecondFromMmPerYear(rateMmYr) / p.diffusivityM2s)
    , m_productionCm2(p.heatProductionUWm3 * wattsPerMicrowatt / p.conductivityWmK)
    , m_lengthM(p.heatProductionShape == HeatProductionShape::Exponential ? p.heatProductionScaleM
                                                                          : p.heatProductionDepthM)
{
    const double L = p.baseDepthM;
    const double a = m_advectionPerM;
    if (p.base == BaseCondition::Temperature) {
        // T(L) = Tb: w0 P(L) = Tb - T0 - Q(L), P(L) = L phi1(-a L).
        m_surfaceGradientCm
            = (p.baseTemperatureC - p.surfaceTemperatureC - particular(L)) / (L * phi1(-a * L));
    } else {
        // k T'(L) = qb: w0 exp(-a L) + Q'(L) = qb / k.
        const double baseGradientCm = p.baseHeatFlowMWm2 * wattsPerMilliwatt / p.conductivityWmK;
        m_surfaceGradientCm = (baseGradientCm - particularSlope(L)) * std::exp(a * L);
    }
}

double SteadyGeotherm::temperatureC(const double d) const
{
    return m_surfaceC + m_surfaceGradientCm * d * phi1(-m_advectionPerM * d) + particular(d);
}

double SteadyGeotherm::particular(const double d) const
{
    if (m_productionCm2 == 0.0)
        return 0.0;
    const double a = m_advectionPerM;
    if (m_shape == HeatProductionShape::Exponential) {
        // Q(d) = -(A0/k) (E(-1/hr, d) - E(-a, d)) / (a - 1/hr), E(c, d) = d phi1(c d).
        return -m_productionCm2 * d * d * phi1Divided(-d / m_lengthM, -a * d);
    }
    // Q(d) = -(A0/k) (d - (1 - exp(-a d)) / a) / a within the layer; below it the solution
    // without heat production that continues Q and Q' from the layer's bottom.
    const double layer = std::min(d, m_lengthM);
    const double inLayer = -m_productionCm2 * layer * layer * phi2(-a * layer);
    const double below = d - layer;
    return inLayer + particularSlope(layer) * below * phi1(-a * below);
}

double SteadyGeotherm::particularSlope(const double d) const
{
    if (m_productionCm2 == 0.0)
        return 0.0;
    const double a = m_advectionPerM;
    if (m_shape == HeatProductionShape::Exponential) {
        // (exp(-d/hr) - exp(-a d)) / (a - 1/hr) = d exp(-a d) phi1((a - 1/hr) d).
        return -m_productionCm2 * d * std::exp(-a * d) * phi1((a - 1.0 / m_lengthM) * d);
    }
    const double layer = std::min(d, m_lengthM);
    return -m_productionCm2 * layer * phi1(-a * layer) * std::exp(-a * (d - layer));
}

} // namespace thermal

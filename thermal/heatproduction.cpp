#include "heatproduction.h"

#include "exponentialfunctions.h"

#include <algorithm>
#include <cmath>

namespace thermal {

HeatProduction::HeatProduction(const ThermalParameters& p)
    : m_shape(p.heatProductionShape)
    , m_surfaceWm3(p.heatProductionUWm3 * wattsPerMicrowatt)
    , m_lengthM(p.heatProductionShape == HeatProductionShape::Exponential ? p.heatProductionScaleM
                                                                          : p.heatProductionDepthM)
{
}

double HeatProduction::atDepth(const double d) const
{
    if (m_surfaceWm3 == 0.0)
        return 0.0;
    if (m_shape == HeatProductionShape::Exponential)
        return m_surfaceWm3 * std::exp(-d / m_lengthM);
    return d < m_lengthM ? m_surfaceWm3 : 0.0;
}

double HeatProduction::firstIntegral(const double d) const
{
    if (m_shape == HeatProductionShape::Exponential)
        return m_surfaceWm3 * d * exponential::phi1(-d / m_lengthM);
    return m_surfaceWm3 * std::min(d, m_lengthM);
}

double HeatProduction::secondIntegral(const double d) const
{
    if (m_shape == HeatProductionShape::Exponential)
        return m_surfaceWm3 * d * d * exponential::phi2(-d / m_lengthM);
    const double layer = std::min(d, m_lengthM);
    return m_surfaceWm3 * (0.5 * layer * layer + layer * (d - layer));
}

double HeatProduction::nodeMean(const double d, const double h) const
{
    if (m_surfaceWm3 == 0.0)
        return 0.0;
    if (m_shape == HeatProductionShape::Exponential) {
        // (1/h^2) (F2(d+h) - 2 F2(d) + F2(d-h)) = A(d) (sinh(x) / x)^2, x = h / (2 hr).
        const double x = h / (2.0 * m_lengthM);
        const double shape = std::sinh(x) / x;
        return atDepth(d) * shape * shape;
    }
    // The integral of the hat against A, by parts twice: the second difference of F2.
    return (secondIntegral(d + h) - 2.0 * secondIntegral(d) + secondIntegral(d - h)) / (h * h);
}

double HeatProduction::lastNodeMean(const double d, const double h) const
{
    if (m_surfaceWm3 == 0.0)
        return 0.0;
    if (m_shape == HeatProductionShape::Exponential) {
        // (2/h) (F1(d) - (F2(d) - F2(d-h)) / h) = 2 A(d) phi2(h / hr).
        return 2.0 * atDepth(d) * exponential::phi2(h / m_lengthM);
    }
    // The half hat rising from d - h to d, over the half interval that the node stands for.
    return 2.0 / h * (firstIntegral(d) - (secondIntegral(d) - secondIntegral(d - h)) / h);
}

} // namespace thermal

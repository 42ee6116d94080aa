#pragma once
// The temperature field evaluated for speed. Of the closed form's factors, v t and
// 2 sqrt(kappa t) depend on the time level alone and are computed once per level, and
// exp(-v z / kappa) depends on the node alone and is computed once per node; what remains per
// value is the two complementary error functions. Every value goes through the same expression
// as transientTemp, so the field is bit for bit the plain one.

#include "field.h"
#include "grid.h"
#include "runparameters.h"

#include <span>
#include <vector>

namespace erosion {

// The level-only factors of transientTemp for the time levels 0 .. levelCount - 1.
class LevelFactors {
public:
    LevelFactors(const RunParameters& p, int levelCount);

    // transientTemp(p, z, timeOfLevel(i)) for every level i, into temperatures[i].
    void nodeTemperatures(double z, std::span<double> temperatures) const;

private:
    double m_surfaceTemp;
    double m_basalGradient;
    double m_diffusivity;
    double m_erosionVelocity;
    std::vector<double> m_time; // t (s)
    std::vector<double> m_risenBy; // v t (m)
    std::vector<double> m_diffusionLength; // 2 sqrt(kappa t) (m)
};

// Rows [firstNode, endNode) of the field.
void computeFieldRows(const LevelFactors& levels, const DepthGrid& grid, TemperatureField& field,
    int firstNode, int endNode);

} // namespace erosion

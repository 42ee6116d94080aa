#include "argondiffusion.h"

#include "physicalconstants.h"
#include "radialgrid.h"
#include "tridiagonalsystem.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace thermochron {

namespace {

// As for helium (heliumdiffusion.cpp): a step in which argon crosses the whole grain
// (D dt / a^2 above this) is taken fully implicit, Crank-Nicolson otherwise.
constexpr double openGrainFourierNumber = 1.0;
constexpr double crankNicolsonWeight = 0.5;
constexpr double backwardEulerWeight = 1.0;
constexpr int minimumRadialNodes = 3;
// The share of the argon held at the path's start that the grain may keep for its age to count
// as reset, as for helium.
constexpr double resetRetentionLimit = 0.01;

void checkInputs(const ArgonKinetics& kinetics, double radiusUm, double pressureKbar,
    const ArgonResolution& resolution)
{
    if (std::holds_alternative<GrainFrequencyFactor>(kinetics.frequencyFactor)
        && (!(radiusUm > 0) || !std::isfinite(radiusUm)))
        throw std::invalid_argument("the grain radius must be a positive number of um");
    if (!std::isfinite(pressureKbar))
        throw std::invalid_argument("the pressure must be a number of kbar");
    if (resolution.radialNodes < minimumRadialNodes || !(resolution.maxTimeStepMyr > 0)
        || !(resolution.maxTemperatureStepC > 0))
        throw std::invalid_argument("the argon model needs at least 3 radial nodes and "
                                    "positive time and temperature steps");
}

// The grain's unknowns (u = x C in the sphere, C otherwise) through one step: assemble
// I - w f' L and the right side (I + (1 - w) f L) u + dt s P, factor once, solve for the
// radiogenic and the inherited argon alike.
class ArgonGrain {
public:
    ArgonGrain(DiffusionGeometry geometry, int radialNodes)
        : m_grid(radialNodes, 1.0, geometry)
        , m_radiogenic(m_grid.nodes.size(), 0.0)
        , m_inherited(m_grid.nodes.size())
        , m_next(m_grid.nodes.size())
        , m_lower(m_grid.nodes.size())
        , m_diagonal(m_grid.nodes.size())
        , m_upper(m_grid.nodes.size())
    {
        // A uniform unit concentration: u = x in the sphere, 1 otherwise, the source weights.
        m_inherited = m_grid.sourceWeight;
        m_inheritedAtStart = m_grid.meanConcentration(m_inherited);
    }

    // dt Myr from rate (D / a^2, 1/Myr) oldRate to newRate, made at productionPerMyr.
    void step(double dt, double oldRate, double newRate, double productionPerMyr)
    {
        const double weight = std::max(oldRate, newRate) * dt > openGrainFourierNumber
            ? backwardEulerWeight
            : crankNicolsonWeight;
        const double implicitFactor = weight * newRate * dt;
        const double explicitFactor = (1.0 - weight) * oldRate * dt;
        for (std::size_t i = 0; i < m_lower.size(); ++i) {
            m_lower[i] = -implicitFactor * m_grid.lowerWeight[i];
            m_upper[i] = -implicitFactor * m_grid.upperWeight[i];
            m_diagonal[i] = 1.0 - m_lower[i] - m_upper[i];
        }
        m_system.factor(m_lower, m_diagonal, m_upper);

        m_grid.addExplicitDiffusion(m_radiogenic, explicitFactor, m_next);
        for (std::size_t i = 0; i < m_next.size(); ++i)
            m_next[i] += dt * productionPerMyr * m_grid.sourceWeight[i];
        m_system.solve(m_next);
        m_radiogenic.swap(m_next);

        if (!m_reset) {
            m_grid.addExplicitDiffusion(m_inherited, explicitFactor, m_next);
            m_system.solve(m_next);
            m_inherited.swap(m_next);
            m_reset
                = m_grid.meanConcentration(m_inherited) <= resetRetentionLimit * m_inheritedAtStart;
        }
    }

    double meanRadiogenic() const { return m_grid.meanConcentration(m_radiogenic); }
    bool reset() const { return m_reset; }

private:
    RadialGrid m_grid;
    std::vector<double> m_radiogenic, m_inherited, m_next;
    std::vector<double> m_lower, m_diagonal, m_upper;
    numerics::TridiagonalSystem m_system;
    double m_inheritedAtStart = 1;
    bool m_reset = false;
};

} // namespace

Age argonAge(const CoolingPath& path, const ArgonKinetics& kinetics, double radiusUm,
    double pressureKbar, const ArgonResolution& resolution)
{
    checkPath(path);
    checkInputs(kinetics, radiusUm, pressureKbar, resolution);
    const CoolingPath steps
        = timeSteps(path, resolution.maxTimeStepMyr, resolution.maxTemperatureStepC);
    std::vector<double> rate(steps.size()); // D / a^2, 1/Myr
    for (std::size_t j = 0; j < steps.size(); ++j)
        rate[j] = secondsPerMyr
            * argonDiffusionRatePerSecond(kinetics, steps[j].temperatureC, radiusUm, pressureKbar);

    // 40Ar per present 40K per Myr at tau Ma: lambda_e e^(lambda tau), tau in years.
    constexpr double lambda = potassiumDecayConstantPerYear * yearsPerMyr; // 1/Myr
    constexpr double lambdaArgon = potassiumToArgonDecayConstantPerYear * yearsPerMyr;
    ArgonGrain grain(kinetics.geometry, resolution.radialNodes);
    for (std::size_t j = 0; j + 1 < steps.size(); ++j) {
        const double dt = steps[j].timeMa - steps[j + 1].timeMa;
        // The production averaged over the step, exactly.
        const double production = lambdaArgon
            * (std::exp(lambda * steps[j].timeMa) - std::exp(lambda * steps[j + 1].timeMa))
            / (lambda * dt);
        grain.step(dt, rate[j], rate[j + 1], production);
    }

    // 40Ar / 40K at the path's end: the 40K then is e^(lambda end) of today's.
    const double end = path.back().timeMa;
    const double ratio = grain.meanRadiogenic() * std::exp(-lambda * end);
    Age age;
    age.kinetics = kinetics.name;
    age.pathStartMa = path.front().timeMa;
    age.reset = grain.reset();
    age.ageMa = end + std::log1p(lambda / lambdaArgon * ratio) / lambda;
    age.closureTemperatureC = closureTemperatureAt(path, age.ageMa);
    return age;
}

} // namespace thermochron

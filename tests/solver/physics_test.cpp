// The closed form checked against an independent numerical solution of the same problem: the
// heat equation with upward rock motion below an eroding surface,
//     dT/dt = kappa d2T/dd2 + u dT/dd,   0 <= d <= L,
// with the surface held at T0 while it moves down through the rock (in the frame that follows
// the surface, rock rises at u) and the initial geotherm T0 + G d. The numerical solution is
// Crank-Nicolson with central differences on a fine grid, with the far-field temperature
// T0 + G (L + u t) at a base far below the depths compared.

#include "model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using erosion::RunParameters;
using units::secondsPerMyr;

namespace {

constexpr double baseDepth = 200000.0; // m, far below the compared depths
constexpr double gridStep = 100.0; // m
constexpr double timeStep = 0.01 * secondsPerMyr;
// Agreement required, degrees Celsius: the scheme's own error on this grid is at most 0.003.
constexpr double tolerance = 0.01;

class CrankNicolson {
public:
    explicit CrankNicolson(const RunParameters& p)
        : m_p(p)
        , m_nodes(static_cast<int>(baseDepth / gridStep) + 1)
        , m_temp(m_nodes)
    {
        for (int i = 0; i < m_nodes; ++i)
            m_temp[i] = p.surfaceTemp + p.basalGradient * depth(i);
    }

    double depth(int i) const { return i * gridStep; }
    double at(double d) const { return m_temp[static_cast<int>(std::lround(d / gridStep))]; }

    void advanceTo(double t)
    {
        while (m_time < t - 1e-6 * timeStep)
            step(std::min(timeStep, t - m_time));
    }

private:
    // (I - dt/2 A) T^{n+1} = (I + dt/2 A) T^n, A the discrete kappa d2/dd2 + u d/dd, solved
    // with the Thomas algorithm; Dirichlet values at both ends.
    void step(double dt)
    {
        const double kappa = m_p.diffusivity;
        const double u = -m_p.erosionVelocity;
        const double lower = kappa / (gridStep * gridStep) - u / (2 * gridStep); // T_{i-1}
        const double upper = kappa / (gridStep * gridStep) + u / (2 * gridStep); // T_{i+1}
        const double centre = -2 * kappa / (gridStep * gridStep);

        const int n = m_nodes;
        std::vector<double> a(n, 0.0), b(n, 1.0), c(n, 0.0), r(n);
        for (int i = 1; i < n - 1; ++i) {
            a[i] = -dt / 2 * lower;
            b[i] = 1 - dt / 2 * centre;
            c[i] = -dt / 2 * upper;
            r[i] = m_temp[i]
                + dt / 2 * (lower * m_temp[i - 1] + centre * m_temp[i] + upper * m_temp[i + 1]);
        }
        m_time += dt;
        r[0] = m_p.surfaceTemp;
        r[n - 1] = m_p.surfaceTemp + m_p.basalGradient * (baseDepth + u * m_time);

        for (int i = 1; i < n; ++i) {
            const double w = a[i] / b[i - 1];
            b[i] -= w * c[i - 1];
            r[i] -= w * r[i - 1];
        }
        m_temp[n - 1] = r[n - 1] / b[n - 1];
        for (int i = n - 2; i >= 0; --i)
            m_temp[i] = (r[i] - c[i] * m_temp[i + 1]) / b[i];
    }

    RunParameters m_p;
    int m_nodes;
    std::vector<double> m_temp;
    double m_time = 0.0;
};

void expectClosedFormMatchesNumerical(const RunParameters& p)
{
    CrankNicolson numerical(p);
    for (const double myr : { 0.5, 5.0, 15.0 }) {
        numerical.advanceTo(myr * secondsPerMyr);
        for (const double d : { 500.0, 2000.0, 10000.0, 30000.0, 50000.0 }) {
            EXPECT_NEAR(
                erosion::transientTemp(p, -d, myr * secondsPerMyr), numerical.at(d), tolerance)
                << "depth " << d << " m at " << myr << " Myr";
        }
    }
}

} // namespace

TEST(TransientTempPhysics, DefaultsAgreeWithCrankNicolson)
{
    expectClosedFormMatchesNumerical(RunParameters {});
}

TEST(TransientTempPhysics, FastErosionWarmSurfaceAgreesWithCrankNicolson)
{
    RunParameters p;
    p.surfaceTemp = 10.0;
    p.basalGradient = 0.03;
    p.diffusivity = 1.0e-6;
    p.setErosionRate(3.0);
    expectClosedFormMatchesNumerical(p);
}

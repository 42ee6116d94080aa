// The cases are those of tests/solver/physics_test.cpp, tests/periodic/steadystate_test.cpp and
// tests/thermal/historypath_test.cpp.

#include "checks.h"

#include "historypath.h"
#include "model.h"
#include "periodicparameters.h"
#include "steadygeotherm.h"
#include "steadystate.h"
#include "units.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace verify {

namespace {

// dT/dt = kappa d2T/dd2 + u dT/dd on 0 <= d <= 200 km by Crank-Nicolson with central
// differences (100 m, 0.01 Myr), the surface held at T0, the base at T0 + G (L + u t): a
// solution that shares nothing with the closed form.
class CrankNicolson {
public:
    explicit CrankNicolson(const erosion::RunParameters& p)
        : m_p(p)
        , m_temperature(static_cast<std::size_t>(baseDepthM / stepM) + 1)
    {
        for (std::size_t i = 0; i < m_temperature.size(); ++i)
            m_temperature[i] = p.surfaceTemp + p.basalGradient * (i * stepM);
    }

    double at(double depthM) const
    {
        return m_temperature[static_cast<std::size_t>(std::lround(depthM / stepM))];
    }

    void advanceTo(double t)
    {
        while (m_time < t - 1e-6 * timeStepS)
            step(std::min(timeStepS, t - m_time));
    }

private:
    static constexpr double baseDepthM = 200000.0;
    static constexpr double stepM = 100.0;
    static constexpr double timeStepS = 0.01 * units::secondsPerMyr;

    void step(double dt)
    {
        const double kappa = m_p.diffusivity, u = -m_p.erosionVelocity, h2 = stepM * stepM;
        const double lower = kappa / h2 - u / (2 * stepM), upper = kappa / h2 + u / (2 * stepM);
        const double centre = -2 * kappa / h2;
        const std::size_t n = m_temperature.size();
        std::vector<double> a(n, 0.0), b(n, 1.0), c(n, 0.0), r(n);
        for (std::size_t i = 1; i + 1 < n; ++i) {
            a[i] = -dt / 2 * lower;
            b[i] = 1 - dt / 2 * centre;
            c[i] = -dt / 2 * upper;
            r[i] = m_temperature[i]
                + dt / 2
                    * (lower * m_temperature[i - 1] + centre * m_temperature[i]
                        + upper * m_temperature[i + 1]);
        }
        m_time += dt;
        r[0] = m_p.surfaceTemp;
        r[n - 1] = m_p.surfaceTemp + m_p.basalGradient * (baseDepthM + u * m_time);
        for (std::size_t i = 1; i < n; ++i) {
            const double w = a[i] / b[i - 1];
            b[i] -= w * c[i - 1];
            r[i] -= w * r[i - 1];
        }
        m_temperature[n - 1] = r[n - 1] / b[n - 1];
        for (std::size_t i = n - 1; i-- > 0;)
            m_temperature[i] = (r[i] - c[i] * m_temperature[i + 1]) / b[i];
    }

    erosion::RunParameters m_p;
    std::vector<double> m_temperature;
    double m_time = 0.0;
};

// The largest |closed form - Crank-Nicolson| at 0.5 to 50 km after 0.5, 5 and 15 Myr, C.
double closedFormDeparture(const erosion::RunParameters& p)
{
    CrankNicolson numerical(p);
    double largest = 0;
    for (const double myr : { 0.5, 5.0, 15.0 }) {
        numerical.advanceTo(myr * units::secondsPerMyr);
        for (const double d : { 500.0, 2000.0, 10000.0, 30000.0, 50000.0 })
            largest = std::max(largest,
                std::abs(
                    erosion::transientTemp(p, -d, myr * units::secondsPerMyr) - numerical.at(d)));
    }
    return largest;
}

// transient_erosion's half-space as the thermal model takes it (historypath_test.cpp).
thermal::ThermalParameters halfSpace()
{
    thermal::ThermalParameters p;
    p.initial = thermal::InitialState::Linear;
    p.base = thermal::BaseCondition::HeatFlow;
    p.baseDepthM = 150000.0;
    p.baseHeatFlowMWm2 = p.conductivityWmK * p.initialGradientCm / thermal::wattsPerMilliwatt;
    return p;
}

// The largest |path - closed form| of the rock exposed after a constant rate, C.
double transientDeparture(double rateMmYr, double durationMyr)
{
    const thermal::ThermalParameters p = halfSpace();
    const thermal::HistoryPath path = thermal::historyPath(p, { { durationMyr, rateMmYr } });
    erosion::RunParameters closedForm;
    closedForm.setErosionRate(rateMmYr);
    closedForm.basalGradient = p.initialGradientCm;
    closedForm.diffusivity = p.diffusivityM2s;
    double largest = 0;
    for (std::size_t i = 0; i < path.timeMa.size(); ++i) {
        const double elapsed = (durationMyr - path.timeMa[i]) * units::secondsPerMyr;
        largest = std::max(largest,
            std::abs(path.temperatureC[i]
                - erosion::transientTemp(closedForm, -path.depthM[i], elapsed)));
    }
    return largest;
}

// The largest |present geotherm - steady geotherm| after 80 Myr at 0.5 mm/yr with exponential
// heat production, started from that steady state, C.
double steadyDeparture()
{
    thermal::ThermalParameters p;
    p.heatProductionUWm3 = 2.5;
    p.heatProductionShape = thermal::HeatProductionShape::Exponential;
    p.heatProductionScaleM = p.heatProductionDepthM = 10000;
    p.base = thermal::BaseCondition::Temperature;
    p.baseHeatFlowMWm2 = 60.0;
    p.initial = thermal::InitialState::Steady;
    const thermal::Geotherm present = thermal::historyRun(p, { { 80, 0.5 } }).presentGeotherm;
    const thermal::SteadyGeotherm steady(p, 0.5);
    double largest = 0;
    for (std::size_t i = 0; i < present.depthM.size(); ++i)
        largest = std::max(
            largest, std::abs(present.temperatureC[i] - steady.temperatureC(present.depthM[i])));
    return largest;
}

// The order of the thermal model's path on a two-stage history: log2 of how much less the path
// moves from step tau / 2 to tau / 4 than from tau to tau / 2.
double pathOrder()
{
    const thermal::ThermalParameters p;
    const thermal::ErosionHistory history { { 20.0, 0.3 }, { 5.0, 0.6 } };
    const thermal::HistoryPath paths[] = { thermal::historyPath(p, history, { 250.0, 0.2 }),
        thermal::historyPath(p, history, { 250.0, 0.1 }),
        thermal::historyPath(p, history, { 250.0, 0.05 }) };
    const auto at = [](const thermal::HistoryPath& path, double timeMa) {
        const auto found = std::lower_bound(
            path.timeMa.begin(), path.timeMa.end(), timeMa, std::greater<double>());
        return found != path.timeMa.end() && *found == timeMa
            ? path.temperatureC[found - path.timeMa.begin()]
            : std::nan("");
    };
    double change = 0, halvedChange = 0;
    for (std::size_t i = 0; i < paths[0].timeMa.size(); ++i) {
        const double t = paths[0].timeMa[i];
        change = std::max(change, std::abs(paths[0].temperatureC[i] - at(paths[1], t)));
        halvedChange = std::max(halvedChange, std::abs(at(paths[1], t) - at(paths[2], t)));
    }
    return std::log2(change / halvedChange);
}

} // namespace

std::vector<Check> thermalChecks()
{
    std::vector<Check> checks;
    checks.push_back(within("closed-form transient, default run: max |T - CN| (C)",
        "independent Crank-Nicolson", 0, closedFormDeparture({}), 0.01));
    erosion::RunParameters fast;
    fast.surfaceTemp = 10.0;
    fast.basalGradient = 0.03;
    fast.diffusivity = 1.0e-6;
    fast.setErosionRate(3.0);
    checks.push_back(within("closed-form transient, 3 mm/yr: max |T - CN| (C)",
        "independent Crank-Nicolson", 0, closedFormDeparture(fast), 0.01));
    const auto periodic = periodic::PeriodicSteadyState::solve(
        periodic::toProblem(periodic::PeriodicParameters {}));
    checks.push_back(within("periodic steady state: surface misfit (C)", "surface condition T0", 0,
        periodic.largestSurfaceResidual(), 1e-6));
    for (const auto& [rate, myr] : { std::pair { 0.5, 20.0 }, std::pair { 5.0, 10.0 } })
        checks.push_back(within("thermal column, " + std::to_string(rate).substr(0, 3)
                + " mm/yr path: max |T - closed form| (C)",
            "transient exact solution", 0, transientDeparture(rate, myr), 0.05));
    checks.push_back(within("thermal column, 80 Myr at 0.5 mm/yr: max |T - steady| (C)",
        "steady exact solution", 0, steadyDeparture(), 0.05));
    checks.push_back(within(
        "thermal column: order of accuracy in time", "Crank-Nicolson: 2", 2, pathOrder(), 0.05));
    return checks;
}

} // namespace verify

#include "steadystate.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace periodic {

namespace {

// Harmonic counts tried in turn; each doubles the last until the surface misfit is negligible.
constexpr int firstHarmonics = 8;
// Collocation points per unknown of the least-squares fit, over half a period.
constexpr int pointsPerUnknown = 4;
// Residual samples per harmonic over half a period: far denser than the fit, so that a misfit
// between the collocation points cannot hide.
constexpr int residualSamplesPerHarmonic = 16;
// Below this value of u L / kappa the mean shape is evaluated through expm1, which keeps its
// precision as u -> 0; above it plain exponentials cannot overflow.
constexpr double smallPeclet = 1.0;

} // namespace

double VerticalProfile::temperature(const double z) const
{
    const PeriodicSteadyState& m = *model_;
    double t = m.meanTemperature(z) + m.coefficients_[0] * m.meanShape(z);
    for (std::size_t i = 0; i < weights_.size(); ++i) {
        t += weights_[i] * m.mode(static_cast<int>(i) + 1, z);
    }
    return t;
}

PeriodicSteadyState::PeriodicSteadyState(const SteadyStateProblem& problem)
    : problem_(problem)
    , advection_(problem.velocity / problem.diffusivity)
{
}

PeriodicSteadyState PeriodicSteadyState::solve(const SteadyStateProblem& problem)
{
    PeriodicSteadyState best(problem);
    best.fit(firstHarmonics);
    for (int harmonics = 2 * firstHarmonics;
         harmonics <= maxHarmonics && !(best.residual_ <= targetResidual); harmonics *= 2) {
        PeriodicSteadyState next(problem);
        next.fit(harmonics);
        // More harmonics can stop helping once rounding dominates; keep the better fit.
        if (next.residual_ < best.residual_ || std::isnan(best.residual_)) {
            best = std::move(next);
        }
    }
    return best;
}

double PeriodicSteadyState::wavenumber() const
{
    return 2.0 * std::numbers::pi / problem_.wavelength;
}

double PeriodicSteadyState::surfaceHeight(const double x) const
{
    return problem_.amplitude * std::cos(wavenumber() * x);
}

double PeriodicSteadyState::prescribedSurfaceTemp(const double x) const
{
    return problem_.surfaceTemp - problem_.lapseRate * surfaceHeight(x);
}

// f0(z) = (exp(-a z) - exp(-a L)) / (1 - exp(-a L))  =  expm1(a (L - z)) / expm1(a L),
// a = u / kappa; 1 at z = 0, 0 at z = L, and 1 - z / L in the limit of pure conduction.
double PeriodicSteadyState::meanShape(const double z) const
{
    const double a = advection_;
    const double depth = problem_.basalDepth;
    if (a == 0.0) {
        return (depth - z) / depth;
    }
    if (a * depth < smallPeclet) {
        return std::expm1(a * (depth - z)) / std::expm1(a * depth);
    }
    return (std::exp(-a * z) - std::exp(-a * depth)) / -std::expm1(-a * depth);
}

double PeriodicSteadyState::meanTemperature(const double z) const
{
    // Tbar = Ts + (TL - Ts) (1 - f0(z))
    return problem_.surfaceTemp
        + (problem_.basalTemp - problem_.surfaceTemp) * (1.0 - meanShape(z));
}

double PeriodicSteadyState::meanSurfaceGradient() const
{
    // G0 = (TL - Ts) a / (1 - exp(-a L)), which tends to (TL - Ts) / L as a -> 0.
    const double a = advection_;
    const double depth = problem_.basalDepth;
    const double factor = a == 0.0 ? 1.0 / depth : a / -std::expm1(-a * depth);
    return (problem_.basalTemp - problem_.surfaceTemp) * factor;
}

// g_n(z) = exp(-m_n (z + h0)) - exp(-m_n (L + h0) - p_n (L - z)).
// Both terms solve the equation with cos(n k x): r^2 kappa + u r - kappa (n k)^2 = 0 gives
// r = -m_n or r = p_n. Their difference vanishes at z = L, so the base stays at TL exactly, and
// the shift by h0 scales the mode to at most 1 anywhere at or below the highest ridge, which keeps
// the least-squares matrix balanced.
double PeriodicSteadyState::mode(const int n, const double z) const
{
    const double m = decay_[n - 1];
    const double p = growth_[n - 1];
    const double h0 = problem_.amplitude;
    const double depth = problem_.basalDepth;
    return std::exp(-m * (z + h0)) - std::exp(-m * (depth + h0) - p * (depth - z));
}

double PeriodicSteadyState::harmonicAmplitude(const int n) const
{
    // b_n g_n(z) = b_n exp(-m_n h0) exp(-m_n z) + (a term that is 0 at z = L)
    return coefficients_[n] * std::exp(-decay_[n - 1] * problem_.amplitude);
}

void PeriodicSteadyState::fit(const int harmonics)
{
    const double k = wavenumber();
    const double half = 0.5 * advection_;
    decay_.resize(harmonics);
    growth_.resize(harmonics);
    for (int n = 1; n <= harmonics; ++n) {
        // m_n = u / (2 kappa) + sqrt((u / (2 kappa))^2 + (n k)^2), p_n = (n k)^2 / m_n
        const double nk = n * k;
        decay_[n - 1] = half + std::hypot(half, nk);
        growth_[n - 1] = nk * nk / decay_[n - 1];
    }

    // The surface h is even in x and the base flat, so cosines alone carry the solution and half
    // a period holds all its information. Row j: the series at (x_j, -h(x_j)) minus the
    // prescribed surface temperature.
    const int unknowns = harmonics + 1;
    const int points = pointsPerUnknown * unknowns;
    Eigen::MatrixXd matrix(points, unknowns);
    Eigen::VectorXd rhs(points);
    for (int j = 0; j < points; ++j) {
        const double x = 0.5 * problem_.wavelength * j / (points - 1);
        const double z = -surfaceHeight(x);
        matrix(j, 0) = meanShape(z);
        for (int n = 1; n <= harmonics; ++n) {
            matrix(j, n) = std::cos(n * k * x) * mode(n, z);
        }
        rhs(j) = prescribedSurfaceTemp(x) - meanTemperature(z);
    }
    const Eigen::VectorXd solution = matrix.colPivHouseholderQr().solve(rhs);
    coefficients_.assign(solution.data(), solution.data() + solution.size());
    residual_ = surfaceResidual();
}

double PeriodicSteadyState::surfaceResidual() const
{
    const int samples = residualSamplesPerHarmonic * harmonicCount() + 1;
    double worst = 0.0;
    for (int j = 0; j < samples; ++j) {
        const double x = 0.5 * problem_.wavelength * j / (samples - 1);
        const double misfit
            = std::fabs(temperature(x, -surfaceHeight(x)) - prescribedSurfaceTemp(x));
        if (std::isnan(misfit)) {
            return misfit; // an overflowing series must be reported, not skipped
        }
        worst = std::max(worst, misfit);
    }
    return worst;
}

VerticalProfile PeriodicSteadyState::column(const double x) const
{
    VerticalProfile profile;
    profile.model_ = this;
    const double k = wavenumber();
    profile.weights_.reserve(harmonicCount());
    for (int n = 1; n <= harmonicCount(); ++n) {
        profile.weights_.push_back(coefficients_[n] * std::cos(n * k * x));
    }
    return profile;
}

double PeriodicSteadyState::temperature(const double x, const double z) const
{
    return column(x).temperature(z);
}

} // namespace periodic

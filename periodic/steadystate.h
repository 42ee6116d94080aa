#pragma once
// Steady-state temperature under a periodic topography that is eroded at a constant rate.
//
// Rock moves up at the erosion velocity u through a surface whose shape stays fixed, so the
// temperature T(x, z) obeys (z is depth in m, positive downward from the mean surface level)
//
//     kappa (T_xx + T_zz) + u T_z = 0      for -h(x) <= z <= L,
//     T(x, -h(x)) = Ts - beta h(x)         on the surface h(x) = h0 cos(k x), k = 2 pi / lambda,
//     T(x, L)     = TL                     at the base.
//
// The solution is a series of separated solutions,
//
//     T = Tbar(z) + a0 f0(z) + sum_{n=1..N} b_n cos(n k x) g_n(z),
//
// where Tbar is the one-dimensional steady geotherm through (0, Ts) and (L, TL), f0 the decaying
// shape of that geotherm (zero at L) and g_n the combination of exp(-m_n z) and exp(+p_n z) that
// vanishes at L. The coefficients are fitted by least squares to the surface condition on the
// true surface (not the linearised one at z = 0), with N raised until the largest misfit along
// the surface is negligible. The misfit bounds the error everywhere inside: the difference to the
// exact solution obeys the same equation with that misfit on the surface and zero at the base,
// so by the maximum principle it is nowhere larger than the largest surface residual.
//
// Usage: PeriodicSteadyState::solve(problem), then temperature(x, z) or column(x) for many
// depths at one x; largestSurfaceResidual() says how well the surface condition holds.

#include <vector>

namespace periodic {

// The physical problem in SI units (m, s, degrees Celsius).
struct SteadyStateProblem {
    double velocity = 0; // u, upward rock velocity (erosion rate), m/s, >= 0
    double diffusivity = 0; // kappa, m2/s, > 0
    double surfaceTemp = 0; // Ts, temperature at the mean surface level, C
    double lapseRate = 0; // beta, decrease of surface temperature with height, C/m
    double basalTemp = 0; // TL, C
    double basalDepth = 0; // L, m below the mean surface, > amplitude
    double wavelength = 0; // lambda, m, > 0
    double amplitude = 0; // h0, m, >= 0: ridges at x = 0, +-lambda, valleys at +-lambda/2
};

// The temperature along one vertical line x = const, with the horizontal factors cos(n k x)
// folded into the coefficients once, so that many depths cost one exponential pair per mode.
class VerticalProfile {
public:
    double temperature(double z) const;

private:
    friend class PeriodicSteadyState;
    const class PeriodicSteadyState* model_ = nullptr;
    std::vector<double> weights_; // b_n cos(n k x), n = 1..N (index n - 1)
};

class PeriodicSteadyState {
public:
    // Largest number of harmonics tried, and the surface misfit (C) at which no more are added.
    static constexpr int maxHarmonics = 128;
    static constexpr double targetResidual = 1e-6;

    // Fits the coefficients. Preconditions: diffusivity > 0, wavelength > 0, velocity >= 0,
    // 0 <= amplitude < basalDepth. A relief too steep for the series shows up as a large
    // largestSurfaceResidual(), not as an exception.
    static PeriodicSteadyState solve(const SteadyStateProblem& problem);

    const SteadyStateProblem& problem() const { return problem_; }
    int harmonicCount() const { return static_cast<int>(coefficients_.size()) - 1; }
    // Largest |T - (Ts - beta h)| found along the surface (dense sampling of a half period), C.
    double largestSurfaceResidual() const { return residual_; }

    // h(x) = h0 cos(k x), surface height above the mean level, m.
    double surfaceHeight(double x) const;
    // Ts - beta h(x): the temperature the surface is held at, C.
    double prescribedSurfaceTemp(double x) const;
    // Tbar(z) = Ts + (TL - Ts) (1 - exp(-u z / kappa)) / (1 - exp(-u L / kappa)), C.
    double meanTemperature(double z) const;
    // G0 = Tbar'(0), the mean surface gradient, C/m.
    double meanSurfaceGradient() const;
    // a_n, the amplitude of cos(n k x) exp(-m_n z) in the series (n >= 1), C.
    double harmonicAmplitude(int n) const;

    // T(x, z), C; meaningful for -h(x) <= z <= L.
    double temperature(double x, double z) const;
    VerticalProfile column(double x) const;

private:
    friend class VerticalProfile;
    explicit PeriodicSteadyState(const SteadyStateProblem& problem);
    void fit(int harmonics);
    double surfaceResidual() const;

    double meanShape(double z) const; // f0(z)
    double mode(int n, double z) const; // g_n(z)
    double wavenumber() const; // k

    SteadyStateProblem problem_;
    double advection_ = 0; // a = u / kappa, 1/m
    std::vector<double> decay_; // m_n, n = 1..N (index n - 1)
    std::vector<double> growth_; // p_n
    std::vector<double> coefficients_; // a0, b_1 .. b_N
    double residual_ = 0;
};

} // namespace periodic

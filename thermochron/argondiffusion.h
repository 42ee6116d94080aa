#pragma once
// 40Ar/39Ar ages from the production and diffusion of radiogenic argon in a grain of one of the
// three shapes of radialgrid.h:
//     dC/dt = D(T) r^-n d/dr(r^n dC/dr) + P(t),   C = 0 at the path's start, C(a) = 0,
// n = 2 for a sphere, 1 for an infinite cylinder, 0 for a plane sheet. C counts 40Ar per atom of
// 40K present today, made at P = lambda_e e^(lambda tau) at tau years before present (Steiger
// and Jaeger 1977: lambda = 5.543e-10 /yr, lambda_e = 0.581e-10 /yr of the branch to 40Ar). In
// the radius x = r / a the equation depends on D / a^2 alone. Solved by Crank-Nicolson as the
// helium of a (U-Th)/He grain is, backward Euler for a step in which argon crosses the whole
// grain; the mean concentration at present gives the age
//     t = ln(1 + (lambda / lambda_e) C_mean) / lambda.

#include "age.h"
#include "argonkinetics.h"
#include "coolingpath.h"

namespace thermochron {

// How finely the model resolves the grain and the path. At the defaults an age lies within
// 0.1 % of the exact series solution in each of the three shapes.
struct ArgonResolution {
    int radialNodes = 40; // unknowns of the radial grid (>= 3), crowded towards the surface
    double maxTimeStepMyr = 0.5; // longest time step, Myr
    double maxTemperatureStepC = 2.0; // largest temperature change within one time step, C
};

// Decay of 40K (Steiger and Jaeger 1977, Earth Planet. Sci. Lett. 36:359): the total decay
// constant and that of the electron-capture branch to 40Ar, 1/yr.
inline constexpr double potassiumDecayConstantPerYear = 5.543e-10;
inline constexpr double potassiumToArgonDecayConstantPerYear = 0.581e-10;

// The age of a grain of radiusUm that cooled along the path at pressureKbar, with no argon at
// the path's start: not reset when more than 1 % of the argon it held at the start would still
// be in it at present. A domain of fixed D0/a^2 (K-feldspar) ignores radiusUm. Throws
// std::invalid_argument for a bad path (see checkPath), a radius <= 0 where one is read, a
// pressure that is not finite, a bad resolution, or kinetics that are not of 40Ar/39Ar.
Age argonAge(const CoolingPath& path, const ArgonKinetics& kinetics, double radiusUm,
    double pressureKbar = defaultPressureKbar, const ArgonResolution& resolution = {});

} // namespace thermochron

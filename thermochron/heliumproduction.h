#pragma once
// Helium production by the alpha decay of 238U, 235U, 232Th and 147Sm: how much each parent
// makes, how much of it alpha ejection leaves in a spherical grain, and the ingrowth equation
// that turns an amount of helium into an age.

#include "grain.h"

#include <array>

namespace thermochron {

// One value per parent, in the order 238U, 235U, 232Th, 147Sm.
using PerParent = std::array<double, 4>;

// Decay constants, 1/yr: U and Th as recommended by Steiger and Jaeger (1977), EPSL 36:359;
// 147Sm from Lugmair and Marti (1978), EPSL 39:349.
inline constexpr PerParent decayConstantPerYear { 1.55125e-10, 9.8485e-10, 4.9475e-11, 6.54e-12 };
// Alpha particles, hence helium atoms, emitted along each decay chain (147Sm: one decay, one alpha).
inline constexpr PerParent alphasPerDecay { 8, 7, 6, 1 };
// Present atomic ratio 238U / 235U of natural uranium (Steiger and Jaeger 1977).
inline constexpr double uraniumIsotopeRatio = 137.88;

// The present amount of each parent in the grain, mol per gram.
PerParent parentAmounts(const Grain& grain);

// Effective uranium, ppm: U + 0.238 Th + 0.0012 Sm, the alpha productivity of the grain in
// uranium equivalents (Cooperdock, Ketcham and Stockli 2019, Geochronology 1:17).
double effectiveUraniumPpm(const Grain& grain);

// The helium production rate of each parent (mol per gram per Myr) at timeMa before present,
// given the present parent amounts: alphas lambda N e^(lambda t).
PerParent heliumProductionRates(const PerParent& presentAmounts, double timeMa);

// The helium (mol per gram) that parents of the given amounts make in timeMyr with every atom
// kept: sum over parents of alphas N (e^(lambda t) - 1), N the amount at the end of that time.
double heliumIngrowth(const PerParent& amounts, double timeMyr);

// The time (Myr) in which parents of the given (final) amounts make heliumMolPerGram (>= 0):
// the ingrowth equation above inverted by Newton iteration.
double ingrowthAge(const PerParent& amounts, double heliumMolPerGram);

// The fraction of alpha particles born at radius r that stay in a sphere of radius a when they
// travel a distance s (Farley et al. 1996): 1 for r <= a - s, else
// 1/2 + (a^2 - r^2 - s^2) / (4 r s), and 0 where r <= s - a. All lengths in the same unit, r > 0.
double retainedAlphaFraction(double radius, double grainRadius, double stoppingDistance);

// The alpha-ejection correction Ft = 1 - 3S/(4a) + S^3/(16a^3) of the grain, with S the mean of
// the stopping distances (um) weighted by each chain's present helium production. Exact for
// S <= 2a.
double ejectionCorrection(const Grain& grain, const PerParent& stoppingDistanceUm);

} // namespace thermochron

#pragma once
// Apatite fission-track ages from the fanning curvilinear annealing model of Ketcham et al.
// (2007). Tracks are born at a steady rate; each cohort shortens as the path heats it, a shorter
// track is less likely to be counted, and the age is the counted track density over the rate.

#include "age.h"
#include "coolingpath.h"
#include "grain.h"

namespace thermochron {

// How finely the path is cut into cohorts of tracks. At the defaults an age lies within about
// 0.1 % of one with steps twenty times finer; the cost grows with the square of the steps.
struct AnnealingResolution {
    double maxTimeStepMyr = 1.0; // longest time step, Myr
    double maxTemperatureStepC = 2.0; // largest temperature change within one time step, C
};

// Reduced length r_mr of a track in the most resistant apatite after timeSeconds at
// temperatureKelvin: g = C0 + C1 (ln t - C2) / (ln(1/T) - C3), r_mr = 1 / (g^(1/alpha) + 1).
double mostResistantReducedLength(double timeSeconds, double temperatureKelvin);

// r_mr0 of an apatite of etch-pit diameter dparUm: 0.84 ((4.58 - Dpar) / 2.98)^0.21, held at
// 0.84 at and below 1.75 um and at 0 at and above 4.58 um.
double resistantLengthThreshold(double dparUm);

// Reduced c-axis projected length r of the apatite from that of the most resistant one:
// r = ((r_mr - r_mr0) / (1 - r_mr0))^kappa, kappa = 1.04 - r_mr0; 0 where r_mr <= r_mr0.
double reducedLength(double mostResistantLength, double dparUm);

// Reduced track density of tracks of reduced length r: 1.600 r - 0.600 for r >= 0.765,
// 9.205 r^2 - 9.157 r + 2.269 for 0.55 <= r < 0.765, 0 below.
double reducedDensity(double reducedLength);

// The fission-track age of an apatite of the grain's Dpar along the path, with no tracks at the
// path's start. Not reset when the tracks born at the start still count at present. Throws
// std::invalid_argument for a bad path (see checkPath) or a Dpar <= 0.
Age apatiteFissionTrackAge(
    const CoolingPath& path, const Grain& grain, const AnnealingResolution& resolution = {});

} // namespace thermochron

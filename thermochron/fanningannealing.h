#pragma once
// Fanning curvilinear annealing of fission tracks and of alpha-recoil damage: how far a track
// shortens with time at temperature, and how its reduced length turns into the reduced density
// of tracks that count (or of damage that remains).
//
// A fit gives the reduced length r_f of a reference material after t seconds at T kelvin:
//     g(r_f) = C0 + C1 (ln t - C2) / (ln(1/T) - C3),   g = (1/r_f - 1)^alpha.
// An annealing law joins a fit to the material at hand: its reduced length
// r = ((r_f - r_mr0) / (1 - r_mr0))^kappa (0 where r_f <= r_mr0), and the reduced density of
// tracks of that length, 0 below the shortest length that still counts.
//
// Along a path a track's state is its equivalent time: the time at the current temperature that
// would have annealed it as far as it is. Write L = ln t - C2 and d = ln(1/T) - C3; the same
// annealing at another temperature d' has L' = L d'/d, whatever C0, C1 and alpha.

namespace thermochron {

struct FanningFit {
    double c0;
    double c1;
    double c2; // ln s
    double c3; // ln(1/K)
    double alpha;
};

// The most resistant apatite (B5) of Ketcham, Carter, Donelick, Barbarand and Hurford (2007),
// Am. Mineral. 92:799, the fanning curvilinear fit.
inline constexpr FanningFit apatiteFanningFit { 0.39528, 0.01073, -65.12969, -7.91715, 0.04672 };
// Alpha-recoil damage in zircon: Guenthner, Reiners, Ketcham, Nasdala and Giester (2013), Am. J.
// Sci. 313:145, the zircon fanning fit.
inline constexpr FanningFit zirconFanningFit { 6.24534, -0.11977, -314.937, -14.2868, -0.05721 };

struct AnnealingLaw {
    FanningFit fit;
    double resistantLength; // r_mr0; 0 with kappa 1 takes the fit's own length
    double kappa;
    double (*reducedDensity)(double reducedLength);
    double shortestCountedLength; // tracks shorter than this no longer count
};

// Reduced density from reduced c-axis projected length in apatite, Ketcham et al. (2007): 1.600 r
// - 0.600 for r >= 0.765, 9.205 r^2 - 9.157 r + 2.269 for 0.55 <= r < 0.765, 0 below.
double apatiteReducedDensity(double reducedLength);
// Reduced density of damage in zircon, Guenthner et al. (2013): (r - 0.2) / 0.8 for r >= 0.36,
// 0 below.
double zirconReducedDensity(double reducedLength);

// r_mr0 of an apatite of etch-pit diameter dparUm (Ketcham et al. 2007): 0.84 ((4.58 - Dpar) /
// 2.98)^0.21, held at 0.84 at and below 1.75 um and at 0 at and above 4.58 um.
double resistantLengthThreshold(double dparUm);

// Fission tracks in an apatite of that Dpar: kappa = 1.04 - r_mr0 (Ketcham et al. 2007).
AnnealingLaw apatiteTrackAnnealing(double dparUm);
// Alpha-recoil damage in apatite as Flowers, Ketcham, Shuster and Farley (2009), GCA 73:2347,
// anneal it: the fission-track law with r_mr0 = 0.83.
AnnealingLaw apatiteDamageAnnealing();
// Alpha-recoil damage in zircon, Guenthner et al. (2013): the zircon fit's own length.
AnnealingLaw zirconDamageAnnealing();

// r_f of the fit after timeSeconds at temperatureKelvin.
double fittedLength(const FanningFit& fit, double timeSeconds, double temperatureKelvin);
// r_f of the fit where g has that value: 1 / (g^(1/alpha) + 1).
double fittedLengthOfG(const FanningFit& fit, double g);
// r of the law's material whose fit has reached fittedLength.
double reducedLength(const AnnealingLaw& law, double fittedLength);
// The time (s) after which a track held at temperatureKelvin no longer counts.
double erasureTimeSeconds(const AnnealingLaw& law, double temperatureKelvin);

} // namespace thermochron

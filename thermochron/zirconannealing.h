#pragma once
// Annealing of fission tracks in zircon: how far a track shortens after a time at a
// temperature, two published fits of laboratory and geological annealing, and the reduced
// density of the tracks that still count.
//
// Yamada, Murakami, Tagami, Hasebe and Tagami (2007), Chem. Geol. 236:75, parallel curvilinear:
//     ln(-ln r) = c0 + c1 (ln t - c2 ln(1/T)),                          t in s, T in K.
// Guenthner, Reiners, Ketcham, Nasdala and Giester (2013), Am. J. Sci. 313:145, fanning
// curvilinear:
//     (1/r - 1)^alpha = C0 + C1 (ln t - C2) / (ln(1/T) - C3),           r = 0 where the right
//                                                                        side is <= 0.
// Along a path a track's state is an annealing index that a change of temperature leaves as it
// is: X = ln t - c2 ln(1/T) for the parallel fit, S = (ln t - C2) / (ln(1/T) - C3) for the
// fanning one. The index grows as the track anneals; the equivalent time at the next
// temperature follows from it, and the step's duration is added to that time.

#include <variant>

namespace thermochron {

// Yamada et al. (2007), Table 4, the parallel curvilinear fit with t in seconds (c0 = -63.37
// with t in hours: -63.37 - c1 ln 3600 = -65.106).
struct ParallelCurvilinearFit {
    double c0 = -65.10600;
    double c1 = 0.212;
    double c2 = 43.00; // the factor of ln(1/T)
};

// Guenthner et al. (2013), the zircon fanning curvilinear fit, t in seconds. The same fit that
// anneals zircon's alpha damage (zirconFanningFit), here with C2 and alpha to the digits of the
// fit itself rather than as rounded in the paper's table.
struct FanningCurvilinearFit {
    double c0 = 6.24534;
    double c1 = -0.11977;
    double c2 = -314.93688;
    double c3 = -14.2868;
    double alpha = -0.057206897;
};

using ZirconAnnealing = std::variant<ParallelCurvilinearFit, FanningCurvilinearFit>;

// Reduced density of zircon tracks from their reduced length (Guenthner et al. 2013):
// rho = 1.25 (r - 0.2) for r >= 0.36; shorter tracks are no longer counted (0).
double zirconTrackDensity(double reducedLength);
// The shortest reduced length that still counts.
inline constexpr double shortestCountedZirconTrack = 0.36;

// The annealing index of a track after exp(logTimeSeconds) s at temperatureKelvin.
double annealingIndex(const ZirconAnnealing& fit, double logTimeSeconds, double temperatureKelvin);
// ln of the time (s) at temperatureKelvin that anneals a track to that index.
double equivalentLogTime(const ZirconAnnealing& fit, double index, double temperatureKelvin);
// The reduced length of a track of that index: 0 once fully annealed.
double zirconReducedLength(const ZirconAnnealing& fit, double index);
// The index at which a track is shortened to the shortest counted length.
double erasureIndex(const ZirconAnnealing& fit);

// r after timeSeconds at temperatureKelvin.
double zirconReducedLength(
    const ZirconAnnealing& fit, double timeSeconds, double temperatureKelvin);

} // namespace thermochron

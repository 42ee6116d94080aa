#pragma once
// The distribution of confined fission-track lengths in an apatite along a path, c-axis
// projected and unprojected, from the annealed cohorts of the age model (fissiontrack.h, with
// the same annealing of Ketcham et al. 2007 and its r_mr0 held at 0.84 for Dpar <= 1.75 um).
//
// Each cohort j has its c-axis projected reduced length r_c,j (none left below 0.55). Lengths of
// a cohort are normal (Carlson, Donelick and Ketcham 1999, Am. Mineral. 84:1213; Ketcham,
// Donelick and Carlson 1999, Am. Mineral. 84:1235):
//     projected:   mu = r_c l0c,  sigma = l0c (0.1081 - 0.1642 r_c + 0.1052 r_c^2),
//                  l0c = 16.10 + 0.205 Dpar um;
//     unprojected: mu = r_m l0m,  sigma = l0m (0.4572 - 0.8815 r_m + 0.4947 r_m^2),
//                  l0m = 15.63 + 0.283 Dpar um,  r_m = -1.499 r_c^2 + 4.150 r_c - 1.656
//                  (r_m = 1.396 r_c - 0.4017 in Cf-irradiated mounts).
// A cohort weighs as many tracks as it was made with, int e^(lambda_238 tau) dtau over its span,
// times the chance rho(r_c) that one of them is seen (the reduced density of Ketcham et al.
// 2000, the age model's). The distribution is the weighted mixture of the cohorts' normals, none
// shorter than 2.15 um (too short to be measured) and normalised on [2.15, 20] um.

#include "coolingpath.h"
#include "fissiontrack.h"
#include "grain.h"

#include <array>
#include <vector>

namespace thermochron {

// Initial mean unprojected track length (um) of an apatite of etch-pit diameter dparUm:
// 15.63 + 0.283 Dpar (Carlson, Donelick and Ketcham 1999).
double initialUnprojectedLengthUm(double dparUm);

// How the lengths were measured.
struct TrackLengthMounts {
    // Tracks revealed by californium irradiation (more of the short ones reached by the etch):
    // the linear r_m of Ketcham et al. (1999) rather than the quadratic.
    bool californiumIrradiated = false;
};

// The unprojected reduced length of a c-axis projected one (Ketcham et al. 1999).
double unprojectedReducedLength(double projectedReducedLength, const TrackLengthMounts& mounts);

// One cohort's normal: its weight (not normalised), mean and standard deviation, um.
struct LengthComponent {
    double weight;
    double meanUm;
    double sdUm;
};

// A mixture of normals cut to [shortestLengthUm, longestLengthUm] and normalised there; its
// exact density, distribution function, mean and standard deviation, and its histogram.
class TrackLengthDistribution {
public:
    static constexpr double shortestLengthUm = 2.15; // shorter tracks are not measured
    static constexpr double longestLengthUm = 20.0;
    static constexpr double binWidthUm = 0.1; // bins on [0, 20] um
    static constexpr std::size_t binCount = 200;

    // Components of zero weight are dropped; at least one must weigh something, with sd > 0.
    // Throws std::invalid_argument otherwise.
    explicit TrackLengthDistribution(std::vector<LengthComponent> components);

    // The density (1/um) at a length; 0 outside [2.15, 20] um.
    double pdf(double lengthUm) const;
    // The share of tracks shorter than lengthUm.
    double cdf(double lengthUm) const;
    double meanUm() const { return m_meanUm; }
    double sdUm() const { return m_sdUm; }
    // The share of tracks in each bin [0.1 k, 0.1 (k + 1)) um: the integral of the mixture over
    // it. The bins below 2.15 um are empty (the bin across it holds its upper part).
    const std::array<double, binCount>& bins() const { return m_bins; }

private:
    // Unnormalised mixture mass below lengthUm.
    double mass(double lengthUm) const;

    std::vector<LengthComponent> m_components;
    double m_total = 0; // mass on [2.15, 20]
    double m_meanUm = 0;
    double m_sdUm = 0;
    std::array<double, binCount> m_bins {};
};

struct TrackLengths {
    TrackLengthDistribution projected;
    TrackLengthDistribution unprojected;
};

// The length distributions of an apatite of the grain's Dpar along the path. Throws
// std::invalid_argument as apatiteFissionTrackAge does, and when the path leaves no track to
// be seen (all erased).
TrackLengths apatiteTrackLengths(const CoolingPath& path, const Grain& grain,
    const TrackLengthMounts& mounts = {}, const AnnealingResolution& resolution = {});

} // namespace thermochron

#include "tracklengths.h"

#include "fanningannealing.h"
#include "physicalconstants.h"
#include "trackcohorts.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace thermochron {

namespace {

// Initial unprojected length, um (Carlson, Donelick and Ketcham 1999, Am. Mineral. 84:1213):
// 15.63 + 0.283 Dpar.
constexpr double initialUnprojectedAtZeroDparUm = 15.63;
constexpr double initialUnprojectedPerDpar = 0.283;

// Reduced unprojected from c-axis projected length, Ketcham, Donelick and Carlson (1999), Am.
// Mineral. 84:1235: r_m = -1.499 r_c^2 + 4.150 r_c - 1.656; in Cf-irradiated mounts
// r_m = 1.396 r_c - 0.4017.
constexpr double unprojectedQuadratic[] = { -1.656, 4.150, -1.499 };
constexpr double unprojectedLinearCf[] = { -0.4017, 1.396 };

// Standard deviation over initial length as a quadratic in the reduced length (Carlson et al.
// 1999): projected 0.1081 - 0.1642 r_c + 0.1052 r_c^2, unprojected 0.4572 - 0.8815 r_m +
// 0.4947 r_m^2.
constexpr double projectedSpread[] = { 0.1081, -0.1642, 0.1052 };
constexpr double unprojectedSpread[] = { 0.4572, -0.8815, 0.4947 };

// The decay constant of 238U, 1/yr (Jaffey et al. 1971): tracks are made as it decays.
constexpr double uranium238DecayConstantPerYear = 1.55125e-10;

double quadratic(const double (&c)[3], double x)
{
    return c[0] + x * (c[1] + x * c[2]);
}

// Phi((x - mu) / sigma).
double normalCdf(double x, double mean, double sd)
{
    return 0.5 * std::erfc(-(x - mean) / (sd * std::numbers::sqrt2));
}

double standardNormalPdf(double z)
{
    return std::exp(-0.5 * z * z) / std::sqrt(2 * std::numbers::pi);
}

} // namespace

double initialUnprojectedLengthUm(double dparUm)
{
    return initialUnprojectedAtZeroDparUm + initialUnprojectedPerDpar * dparUm;
}

double unprojectedReducedLength(double rc, const TrackLengthMounts& mounts)
{
    if (mounts.californiumIrradiated)
        return unprojectedLinearCf[0] + unprojectedLinearCf[1] * rc;
    return quadratic(unprojectedQuadratic, rc);
}

TrackLengthDistribution::TrackLengthDistribution(std::vector<LengthComponent> components)
{
    for (const LengthComponent& c : components) {
        if (!(c.weight >= 0) || !(c.sdUm > 0) || !std::isfinite(c.meanUm))
            throw std::invalid_argument("a length component needs a weight >= 0 and an sd > 0");
        if (c.weight > 0)
            m_components.push_back(c);
    }
    m_total = mass(longestLengthUm) - mass(shortestLengthUm);
    if (!(m_total > 0))
        throw std::invalid_argument("no track length between 2.15 and 20 um");

    // Moments of each normal cut to [a, b], z = (x - mu) / sigma:
    //     int x phi = mu dPhi + sigma (phi(za) - phi(zb)),
    //     int x^2 phi = (mu^2 + sigma^2) dPhi + 2 mu sigma (phi(za) - phi(zb))
    //                   + sigma^2 (za phi(za) - zb phi(zb)).
    double first = 0, second = 0;
    for (const LengthComponent& c : m_components) {
        const double za = (shortestLengthUm - c.meanUm) / c.sdUm;
        const double zb = (longestLengthUm - c.meanUm) / c.sdUm;
        const double share = normalCdf(longestLengthUm, c.meanUm, c.sdUm)
            - normalCdf(shortestLengthUm, c.meanUm, c.sdUm);
        const double pa = standardNormalPdf(za), pb = standardNormalPdf(zb);
        first += c.weight * (c.meanUm * share + c.sdUm * (pa - pb));
        second += c.weight
            * ((c.meanUm * c.meanUm + c.sdUm * c.sdUm) * share + 2 * c.meanUm * c.sdUm * (pa - pb)
                + c.sdUm * c.sdUm * (za * pa - zb * pb));
    }
    m_meanUm = first / m_total;
    m_sdUm = std::sqrt(std::max(0.0, second / m_total - m_meanUm * m_meanUm));

    for (std::size_t k = 0; k < binCount; ++k)
        m_bins[k] = cdf((k + 1) * binWidthUm) - cdf(k * binWidthUm);
}

double TrackLengthDistribution::mass(double lengthUm) const
{
    double sum = 0;
    for (const LengthComponent& c : m_components)
        sum += c.weight * normalCdf(lengthUm, c.meanUm, c.sdUm);
    return sum;
}

double TrackLengthDistribution::cdf(double lengthUm) const
{
    if (lengthUm <= shortestLengthUm)
        return 0.0;
    if (lengthUm >= longestLengthUm)
        return 1.0;
    return (mass(lengthUm) - mass(shortestLengthUm)) / m_total;
}

double TrackLengthDistribution::pdf(double lengthUm) const
{
    if (lengthUm < shortestLengthUm || lengthUm > longestLengthUm)
        return 0.0;
    double sum = 0;
    for (const LengthComponent& c : m_components)
        sum += c.weight * standardNormalPdf((lengthUm - c.meanUm) / c.sdUm) / c.sdUm;
    return sum / m_total;
}

TrackLengths apatiteTrackLengths(const CoolingPath& path, const Grain& grain,
    const TrackLengthMounts& mounts, const AnnealingResolution& resolution)
{
    checkAnnealingInputs(path, grain, resolution);
    const AnnealingLaw law = apatiteTrackAnnealing(grain.dparUm);
    const CoolingPath steps = cohortSteps(path, law, resolution.maxTimeStepMyr,
        resolution.maxTemperatureStepC, resolution.ageFraction);
    const std::vector<double> lengths = annealedAlong(steps, law).reducedLengths();

    const double projectedInitial = initialProjectedLengthUm(grain.dparUm);
    const double unprojectedInitial = initialUnprojectedLengthUm(grain.dparUm);
    constexpr double lambda = uranium238DecayConstantPerYear * yearsPerMyr; // 1/Myr
    std::vector<LengthComponent> projected, unprojected;
    for (std::size_t j = 0; j < lengths.size(); ++j) {
        const double rc = lengths[j];
        const double density = law.reducedDensity(rc);
        if (!(density > 0))
            continue;
        // Tracks made over the step: int e^(lambda tau) dtau from its young end to its old one.
        const double made
            = (std::exp(lambda * steps[j].timeMa) - std::exp(lambda * steps[j + 1].timeMa))
            / lambda;
        const double weight = made * density;
        projected.push_back(
            { weight, rc * projectedInitial, projectedInitial * quadratic(projectedSpread, rc) });
        const double rm = unprojectedReducedLength(rc, mounts);
        unprojected.push_back({ weight, rm * unprojectedInitial,
            unprojectedInitial * quadratic(unprojectedSpread, rm) });
    }
    if (projected.empty())
        throw std::invalid_argument("the path leaves no fission track to be measured");
    return { TrackLengthDistribution(std::move(projected)),
        TrackLengthDistribution(std::move(unprojected)) };
}

} // namespace thermochron

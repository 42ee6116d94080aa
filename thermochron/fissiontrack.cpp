#include "fissiontrack.h"

#include "physicalconstants.h"

#include <cmath>
#include <stdexcept>
#include <vector>

namespace thermochron {

namespace {

// Fanning curvilinear fit to the annealing of the most resistant apatite (B5), Ketcham et al.
// (2007), Am. Mineral. 92, 799: g = C0 + C1 (ln t - C2) / (ln(1/T) - C3), t in s, T in K.
constexpr double fanningC0 = 0.39528;
constexpr double fanningC1 = 0.01073;
constexpr double fanningC2 = -65.12969;
constexpr double fanningC3 = -7.91715;
// g = (1/r_mr - 1)^alpha.
constexpr double fanningAlpha = 0.04672;

// r_mr0 from Dpar (Ketcham et al. 2007): 0.84 ((4.58 - Dpar) / 2.98)^0.21 between these Dpar.
constexpr double leastResistantDparUm = 1.75;
constexpr double mostResistantDparUm = 4.58;
constexpr double dparSpanUm = 2.98;
constexpr double resistantThresholdScale = 0.84;
constexpr double resistantThresholdExponent = 0.21;
// kappa = 1.04 - r_mr0.
constexpr double kappaOffset = 1.04;

// Reduced density against reduced c-axis projected length (Ketcham et al. 2007): linear above
// the break, quadratic down to the length where tracks no longer count.
constexpr double densityBreakLength = 0.765;
constexpr double shortestCountedLength = 0.55;

// Reduced density of spontaneous tracks in the Durango age standard: the age is the integrated
// reduced density divided by this.
constexpr double durangoReducedDensity = 0.893;

// Initial mean c-axis projected length (um) of an apatite of etch-pit diameter Dpar (um),
// Ketcham et al. (2007): lc0 = 0.283 Dpar + 15.63.
constexpr double initialLengthPerDpar = 0.283;
constexpr double initialLengthAtZeroDparUm = 15.63;

double fanningDenominator(double temperatureKelvin)
{
    return std::log(1.0 / temperatureKelvin) - fanningC3;
}

// g reached after timeSeconds at a temperature of fanning denominator ln(1/T) - C3.
double fanningG(double timeSeconds, double denominator)
{
    return fanningC0 + fanningC1 * (std::log(timeSeconds) - fanningC2) / denominator;
}

// The time (s) in which a temperature of that denominator reaches g: the equivalent time of a
// track whose annealing so far left it at g.
double equivalentTime(double g, double denominator)
{
    return std::exp(fanningC2 + (g - fanningC0) * denominator / fanningC1);
}

double mostResistantLengthFromG(double g)
{
    return 1.0 / (std::pow(g, 1.0 / fanningAlpha) + 1.0);
}

double gFromMostResistantLength(double length)
{
    return std::pow(1.0 / length - 1.0, fanningAlpha);
}

} // namespace

double mostResistantReducedLength(double timeSeconds, double temperatureKelvin)
{
    return mostResistantLengthFromG(fanningG(timeSeconds, fanningDenominator(temperatureKelvin)));
}

double resistantLengthThreshold(double dparUm)
{
    if (dparUm <= leastResistantDparUm)
        return resistantThresholdScale;
    if (dparUm >= mostResistantDparUm)
        return 0.0;
    return resistantThresholdScale
        * std::pow((mostResistantDparUm - dparUm) / dparSpanUm, resistantThresholdExponent);
}

double reducedLength(double mostResistantLength, double dparUm)
{
    const double threshold = resistantLengthThreshold(dparUm);
    if (mostResistantLength <= threshold)
        return 0.0;
    const double kappa = kappaOffset - threshold;
    return std::pow((mostResistantLength - threshold) / (1.0 - threshold), kappa);
}

double reducedDensity(double length)
{
    if (length >= densityBreakLength)
        return 1.600 * length - 0.600;
    if (length >= shortestCountedLength)
        return 9.205 * length * length - 9.157 * length + 2.269;
    return 0.0;
}

Age apatiteFissionTrackAge(
    const CoolingPath& path, const Grain& grain, const AnnealingResolution& resolution)
{
    checkPath(path);
    if (!(grain.dparUm > 0) || !std::isfinite(grain.dparUm))
        throw std::invalid_argument("Dpar must be a positive number of um");
    if (!(resolution.maxTimeStepMyr > 0) || !(resolution.maxTemperatureStepC > 0))
        throw std::invalid_argument(
            "the annealing model needs positive time and temperature steps");
    const CoolingPath steps
        = timeSteps(path, resolution.maxTimeStepMyr, resolution.maxTemperatureStepC);
    const std::size_t intervals = steps.size() - 1;

    // One cohort of tracks per interval, born at its middle. The temperature of each interval is
    // that of its middle.
    std::vector<double> duration(intervals), denominator(intervals), g(intervals);
    for (std::size_t j = 0; j < intervals; ++j) {
        duration[j] = steps[j].timeMa - steps[j + 1].timeMa;
        const double temperature
            = 0.5 * (steps[j].temperatureC + steps[j + 1].temperatureC) + zeroCelsiusInKelvin;
        denominator[j] = fanningDenominator(temperature);
    }

    // Beyond this g a track is shorter than the shortest that counts, for good: annealing never
    // lengthens a track. Older cohorts are always at least as annealed as younger ones (each
    // saw all the later history), so the erased cohorts are the oldest ones, 0 .. firstCounted.
    const double threshold = resistantLengthThreshold(grain.dparUm);
    const double kappa = kappaOffset - threshold;
    const double erasedG = gFromMostResistantLength(
        threshold + (1.0 - threshold) * std::pow(shortestCountedLength, 1.0 / kappa));

    std::size_t firstCounted = 0;
    for (std::size_t j = 0; j < intervals; ++j) {
        const double stepSeconds = duration[j] * secondsPerMyr;
        // Each older cohort continues at this interval's temperature from the time that gives
        // its present annealing there (the equivalent time), for the interval's length.
        for (std::size_t i = firstCounted; i < j; ++i) {
            g[i] = fanningG(equivalentTime(g[i], denominator[j]) + stepSeconds, denominator[j]);
            if (g[i] >= erasedG)
                firstCounted = i + 1;
        }
        g[j] = fanningG(0.5 * stepSeconds, denominator[j]);
        if (g[j] >= erasedG)
            firstCounted = j + 1;
    }

    double densityTime = 0; // sum of rho_i dt_i, Myr
    double lengthDensityTime = 0; // sum of r_i rho_i dt_i, Myr
    for (std::size_t i = firstCounted; i < intervals; ++i) {
        const double length = reducedLength(mostResistantLengthFromG(g[i]), grain.dparUm);
        const double density = reducedDensity(length);
        densityTime += density * duration[i];
        lengthDensityTime += length * density * duration[i];
    }

    Age age;
    // The track lengths seen are weighted by how likely each track is to be counted, its density.
    if (densityTime > 0)
        age.meanTrackLengthUm = (initialLengthPerDpar * grain.dparUm + initialLengthAtZeroDparUm)
            * lengthDensityTime / densityTime;
    // The tracks born at the path's start still count: so would older ones, which the path
    // cannot date.
    age.reset = firstCounted > 0;
    if (age.reset) {
        age.ageMa = path.back().timeMa + densityTime / durangoReducedDensity;
        age.closureTemperatureC = temperatureAt(path, age.ageMa);
    } else {
        age.ageMa = path.front().timeMa;
        age.closureTemperatureC = path.front().temperatureC;
    }
    return age;
}

} // namespace thermochron

#include "zirconfissiontrack.h"

#include "physicalconstants.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace thermochron {

namespace {

// As for apatite (trackcohorts.cpp): the youngest cohort near the present is this share of
// ageFraction times the erasure time at the end temperature, and no shorter than a year.
constexpr double youngestCohortShare = 0.01;
constexpr double shortestCohortMyr = 1e-6;

// ln(e^a + e^b) without overflow.
double logSum(double a, double b)
{
    const double high = std::max(a, b);
    return high + std::log1p(std::exp(std::min(a, b) - high));
}

} // namespace

ZirconAnnealing zirconAnnealing(Kinetics kinetics)
{
    switch (kinetics) {
    case Kinetics::Yamada2007:
        return ParallelCurvilinearFit {};
    case Kinetics::Guenthner2013:
        return FanningCurvilinearFit {};
    default:
        throw std::invalid_argument(
            std::string(kineticsName(kinetics)) + " are no zircon fission-track kinetics");
    }
}

double zirconErasureTimeSeconds(const ZirconAnnealing& fit, double temperatureKelvin)
{
    return std::exp(equivalentLogTime(fit, erasureIndex(fit), temperatureKelvin));
}

Age zirconFissionTrackAge(
    const CoolingPath& path, Kinetics kinetics, const AnnealingResolution& resolution)
{
    checkPath(path);
    if (!(resolution.maxTimeStepMyr > 0) || !(resolution.maxTemperatureStepC > 0)
        || !(resolution.ageFraction > 0))
        throw std::invalid_argument(
            "the annealing model needs positive time and temperature steps");
    const ZirconAnnealing fit = zirconAnnealing(kinetics);
    const double erasedIndex = erasureIndex(fit);
    // Zircon tracks shorten by a few per cent within their first million years even where none
    // is erased, and r falls steeply in ln t then: the steps near the present are refined by the
    // shorter of the erasure time and the path's duration.
    const double erasureMyr
        = zirconErasureTimeSeconds(fit, path.back().temperatureC + zeroCelsiusInKelvin)
        / secondsPerMyr;
    const double refinedMyr = std::min(erasureMyr, path.front().timeMa - path.back().timeMa);
    const CoolingPath steps = refinedTowardsEnd(
        timeSteps(path, resolution.maxTimeStepMyr, resolution.maxTemperatureStepC),
        std::max(shortestCohortMyr, youngestCohortShare * resolution.ageFraction * refinedMyr),
        resolution.ageFraction);

    // Oldest first, the annealing index of each cohort and its span (Myr). Older cohorts saw all
    // that younger ones saw and more: the counted ones follow the first counted.
    std::vector<double> index, span;
    std::size_t firstCounted = 0;
    for (std::size_t j = 0; j + 1 < steps.size(); ++j) {
        const double durationMyr = steps[j].timeMa - steps[j + 1].timeMa;
        const double kelvin
            = 0.5 * (steps[j].temperatureC + steps[j + 1].temperatureC) + zeroCelsiusInKelvin;
        const double logDuration = std::log(durationMyr * secondsPerMyr);
        // The youngest erased cohort is followed too: it places the edge of erasure.
        for (std::size_t i = firstCounted > 0 ? firstCounted - 1 : 0; i < index.size(); ++i)
            index[i] = annealingIndex(
                fit, logSum(equivalentLogTime(fit, index[i], kelvin), logDuration), kelvin);
        // Born at the step's middle: half the step to anneal.
        index.push_back(annealingIndex(fit, logDuration - std::numbers::ln2, kelvin));
        span.push_back(durationMyr);
        while (firstCounted < index.size() && index[firstCounted] >= erasedIndex)
            ++firstCounted;
    }

    double density = 0; // sum of rho_j dt_j, Myr
    for (std::size_t i = firstCounted; i < index.size(); ++i)
        density += span[i] * zirconTrackDensity(zirconReducedLength(fit, index[i]));
    // The edge of erasure lies between the oldest counted cohort and the youngest erased one;
    // with the index linear in time between their middles, the span counted beyond the middle
    // of the oldest counted cohort is share (dt_i + dt_(i-1)) / 2, not dt_i / 2. The difference
    // counts with the density halfway from that cohort to the edge.
    if (firstCounted > 0 && firstCounted < index.size()) {
        const std::size_t oldest = firstCounted, erased = firstCounted - 1;
        const double share = (erasedIndex - index[oldest]) / (index[erased] - index[oldest]);
        const double extra = share * 0.5 * (span[oldest] + span[erased]) - 0.5 * span[oldest];
        const double length
            = 0.5 * (zirconReducedLength(fit, index[oldest]) + shortestCountedZirconTrack);
        density += extra * zirconTrackDensity(length);
    }

    Age age;
    age.kinetics = kinetics;
    age.pathStartMa = path.front().timeMa;
    age.reset = firstCounted > 0;
    age.ageMa = path.back().timeMa + density;
    age.closureTemperatureC = closureTemperatureAt(path, age.ageMa);
    return age;
}

} // namespace thermochron

#include "fissiontrack.h"

#include "fanningannealing.h"
#include "physicalconstants.h"
#include "trackcohorts.h"

#include <cmath>
#include <stdexcept>

namespace thermochron {

namespace {

// Reduced density of spontaneous tracks in the Durango age standard: the age is the integrated
// reduced density divided by this (Ketcham et al. 2007, Am. Mineral. 92:799).
constexpr double durangoReducedDensity = 0.893;

// Initial c-axis projected length, um (Carlson, Donelick and Ketcham 1999, Am. Mineral.
// 84:1213): 16.10 + 0.205 Dpar.
constexpr double initialLengthAtZeroDparUm = 16.10;
constexpr double initialLengthPerDpar = 0.205;

} // namespace

double initialProjectedLengthUm(double dparUm)
{
    return initialLengthAtZeroDparUm + initialLengthPerDpar * dparUm;
}

void checkAnnealingInputs(
    const CoolingPath& path, const Grain& grain, const AnnealingResolution& resolution)
{
    checkPath(path);
    if (!(grain.dparUm > 0) || !std::isfinite(grain.dparUm))
        throw std::invalid_argument("Dpar must be a positive number of um");
    if (!(resolution.maxTimeStepMyr > 0) || !(resolution.maxTemperatureStepC > 0)
        || !(resolution.ageFraction > 0))
        throw std::invalid_argument(
            "the annealing model needs positive time and temperature steps");
}

Age apatiteFissionTrackAge(
    const CoolingPath& path, const Grain& grain, const AnnealingResolution& resolution)
{
    checkAnnealingInputs(path, grain, resolution);
    const AnnealingLaw law = apatiteTrackAnnealing(grain.dparUm);
    const CoolingPath steps = cohortSteps(path, law, resolution.maxTimeStepMyr,
        resolution.maxTemperatureStepC, resolution.ageFraction);

    const TrackCohorts cohorts = annealedAlong(steps, law);
    const TrackCohorts::Totals totals = cohorts.totals();

    Age age;
    age.kinetics = Kinetics::Ketcham2007;
    age.pathStartMa = path.front().timeMa;
    // The track lengths seen are weighted by how likely each track is to be counted, its density.
    if (totals.density > 0)
        age.meanTrackLengthUm
            = initialProjectedLengthUm(grain.dparUm) * totals.lengthDensity / totals.density;
    age.reset = cohorts.firstErased();
    age.ageMa = path.back().timeMa + totals.density / durangoReducedDensity;
    age.closureTemperatureC = closureTemperatureAt(path, age.ageMa);
    return age;
}

} // namespace thermochron

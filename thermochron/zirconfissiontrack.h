#pragma once
// Zircon fission-track ages along a cooling path, with the annealing of Yamada et al. (2007) or
// Guenthner et al. (2013) (zirconannealing.h). As for apatite, one cohort of tracks is born in
// each time step; each is annealed by every later step through its annealing index, and the age
// is the sum over cohorts of their reduced density times their span:
//     age = end + sum_j rho(r_j) dt_j.
// Zircon ages carry no standard factor: a track that has not shortened counts 1.25 x 0.8 = 1.

#include "age.h"
#include "catalogue.h"
#include "coolingpath.h"
#include "fissiontrack.h"
#include "zirconannealing.h"

namespace thermochron {

// The annealing fit of the catalogued zircon fission-track kinetics: Yamada2007 (parallel
// curvilinear) or Guenthner2013 (fanning curvilinear). Throws std::invalid_argument for other
// kinetics.
ZirconAnnealing zirconAnnealing(Kinetics kinetics);

// The time (s) after which a zircon track held at temperatureKelvin no longer counts.
double zirconErasureTimeSeconds(const ZirconAnnealing& fit, double temperatureKelvin);

// The zircon fission-track age along the path, none of the tracks made before its start: reset
// when the tracks born at the start no longer count at present; the closure temperature is the
// path's at the age (NaN for an age older than the start, which the unshortened tracks of a
// cold path cannot give). The steps are cut as for apatite (AnnealingResolution). Throws
// std::invalid_argument for a bad path (see checkPath) or resolution, or kinetics that are not of
// zircon fission tracks.
Age zirconFissionTrackAge(
    const CoolingPath& path, Kinetics kinetics, const AnnealingResolution& resolution = {});

} // namespace thermochron

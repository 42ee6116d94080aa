#pragma once
// The ages a history predicts along the elevations of its samples (cooling_ages history
// --elevation-output), so that a profile can be drawn as a curve and not only at the samples.
//
// For each distinct kind of the samples with an elevation (system, method, kinetics and the grain
// values the method reads: a sample's own radius, chemistry or Dpar) a profile of pseudo-samples
// of that kind at 41 elevations spaced evenly from the lowest sample to the highest, placed as the
// samples are (z0 = -(elevation_m - M) below the mean surface, historyplacement.h) and predicted
// along the same history. The table, one row per kind and elevation, kinds in the order of their
// first sample, elevations upward:
//
//   system,method,radius_um,u_ppm,th_ppm,sm_ppm,dpar_um,elevation_m,age_ma,reset
//
// with a grain value empty where the method does not read it (as in the residual table), and
// reset no where the path does not reset the grain (the age a lower bound).

#include "agekind.h"
#include "historyfitresult.h"
#include "historyrequest.h"
#include "observedages.h"

#include "thermochron/age.h"

#include <ostream>
#include <vector>

namespace ages {

struct ElevationProfileRow {
    AgeKind kind;
    double elevationM = 0;
    thermochron::Age age;
};

inline constexpr int elevationProfilePoints = 41;

// The profiles of the kinds of samples under history (base: the fitted base's value, NaN for the
// request's own). Throws InputError when no sample has an elevation or the history cannot be run
// for the pseudo-samples.
std::vector<ElevationProfileRow> elevationProfile(const HistoryRequest& request,
    const std::vector<ObservedAge>& samples, const std::vector<AgeKind>& kinds,
    const ErosionHistory& history, double base);

void writeElevationProfileTable(std::ostream& out, const std::vector<ElevationProfileRow>& rows);

} // namespace ages

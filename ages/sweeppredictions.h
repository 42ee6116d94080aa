#pragma once
// The predicted age of every distinct grain of the measured samples at every rate of a sweep
// (cooling_ages --predictions), so that a plot can draw each grain's own curve of age against
// rate beside the options' grain of the table of ages.
//
// A grain is what its prediction reads: the system, the method and its kinetics, and the grain
// values the method reads (the He models the radius, U, Th and Sm, argon the radius and the
// pressure, apatite annealing Dpar; Dodson's closure none). In a periodic fit, and in a transient
// one whose samples stand at their heights, a sample's place enters its age too, so there a
// grain is a grain at one elevation. Two samples
// of one grain have one prediction, which is written once per rate.
//
// The ages are the fit's own: ObservedFit's predictions of the samples in the pass over the
// rates, and at the best rate (refined between the sweep's rates) the residuals', so that each
// grain's curve runs through its samples' predictions at the best fit. CSV:
//   rate_mm_yr, system, method, radius_um, u_ppm, th_ppm, sm_ppm, dpar_um, kinetics, age_ma,
//   reset [, elevation_m]
// one row per rate and grain, by rate and then by the grain's first sample; a grain value empty
// where the method does not read it; elevation_m (the field's, as the samples give it, empty
// where a sample gives none) where the place is part of the grain. With --fit-base the ages are
// those at the best base.

#include "fittables.h"
#include "observedfit.h"
#include "thermochron/age.h"

#include <cstddef>
#include <ostream>
#include <vector>

namespace ages {

// What the table keeps of one prediction: a sweep may hold 100000 rates of many samples.
struct SweepAge {
    double ageMa = 0;
    bool reset = true; // false: a lower bound, the path does not reset the grain
};

// The samples' predictions at each rate of the sweep, as the pass over the rates made them.
struct SweepPredictions {
    std::vector<double> rates; // mm/yr, ascending
    std::vector<std::vector<SweepAge>> ages; // per rate, per sample in the file's order
    // The place of a sample is part of its grain: periodic, and transient samples placed at their
    // heights above --mean-elevation.
    bool byElevation = false;
};

// The sweep of a fit's result: the ages of the pass over the rates (passAges), or with
// --fit-base those at the best base (sweepAgesAtBase). periodic: the model places every sample.
SweepPredictions fitSweepPredictions(const ObservedFit& fit, const FitResult& result, bool periodic,
    std::vector<std::vector<SweepAge>> passAges);

// The samples' ages at every rate with the model's base at base (the best of a --fit-base fit,
// which the pass over the grid of rates and bases cannot know), each rate on a core of its own:
// ObservedFit::predictions, the fit's own.
std::vector<std::vector<SweepAge>> sweepAgesAtBase(
    const ObservedFit& fit, const std::vector<double>& rates, double base);

// The first sample of each distinct grain among the residuals, in the order of the samples.
std::vector<std::size_t> distinctGrainSamples(
    const std::vector<Residual>& residuals, bool byElevation);

// The table above for the sweep and the fit's residuals at its best rate (bestRateMmYr).
void writeSweepPredictionTable(std::ostream& out, const SweepPredictions& sweep,
    const std::vector<Residual>& residuals, double bestRateMmYr);

} // namespace ages

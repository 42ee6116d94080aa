#pragma once
// A data set the size of a published age-elevation transect, for the age plots: 40 AHe and 15
// AFT ages (25 to 130 Ma) of samples from 40 to 3484 m, with the files cooling_ages would write
// for it, made up from a simple model so that every number is known.
//
// The model: a sample at elevation e (m) eroded at r mm/yr (= km/Myr) for long enough passed its
// closure depth z_c below the surface  t = (z_c + e) / r  ago (z_c: AHe 1100 m, AFT 2400 m, ZHe
// 4000 m); a path of 150 Myr resets only ages below 150 Ma (the others are minimum ages). The
// measured ages are the model's at 0.045 mm/yr with 4 % Gaussian scatter (seeded) and sigmas of
// 6 %. The files:
//   observed.csv      sample,system,age_ma,sigma_ma,elevation_m
//   ages.csv          a transient-like sweep, 0.02 to 0.12 mm/yr, at the mean elevation
//   fit.csv           rate_mm_yr,chi2 of the measured ages over that sweep
//   profile_ages.csv  a periodic-like sweep: 41 profile points from ridge (3484 m) to valley
//   residuals.csv     the samples at the sweep rate nearest the best, with reset and kinetics
//   path.csv, path_ages.csv   a two-phase history's path (60 Ma at 0.03 mm/yr, then 0.12 from
//                     20 Ma) and its ages
//   history_fit.csv   every two-phase history of a grid, with in_range
//   posterior.csv     3-phase samples of 16 walkers over 300 steps
//   change_profile.csv  chi2 against each of two change times, and the level

#include <QDir>
#include <QString>

// Writes the files above into dir (which must exist).
void writeManySamples(const QDir& dir);

// The numbers the files are made from, for tests.
namespace manysamples {
inline constexpr int aheCount = 40;
inline constexpr int aftCount = 15;
inline constexpr double trueRate = 0.045; // mm/yr
inline constexpr double lowestElevation = 40.0;
inline constexpr double highestElevation = 3484.0;
} // namespace manysamples

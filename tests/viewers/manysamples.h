#pragma once
// A data set the size of a published age-elevation transect, for the age plots: 40 AHe and 15
// AFT ages (25 to 130 Ma) of samples from 40 to 3484 m, and every file the plots read for it
// (observed, ages and profile_ages sweeps, fit, residuals, path and path_ages, history_fit,
// posterior, change_profile .csv), made up from a model whose numbers are all known: a sample at
// elevation e eroded at r mm/yr passed its closure depth z_c (AHe 1100 m, AFT 2400 m, ZHe
// 4000 m) t = (z_c + e) / r ago; measured ages are those at 0.045 mm/yr with 4 % scatter (seeded)
// and sigmas of 6 %.

#include <QDir>

// Writes the files into dir (which must exist).
void writeManySamples(const QDir& dir);

namespace manysamples {
inline constexpr int aheCount = 40;
inline constexpr int aftCount = 15;
inline constexpr double trueRate = 0.045; // mm/yr
inline constexpr double lowestElevation = 40.0;
inline constexpr double highestElevation = 3484.0;
} // namespace manysamples

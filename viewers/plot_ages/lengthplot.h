#pragma once
// plot_ages lengths LENGTHS_CSV PREDICTED_CSV: measured confined fission-track lengths against
// the distributions a fit predicts for them at its best fit.
//
// LENGTHS_CSV is the file the fit read (--lengths, the CSV form: sample, length_um[, angle_deg]
// [, dpar_um]), read by the program's own reader, so that tracks measured with their angle are
// projected onto the c axis as the fit projects them. PREDICTED_CSV is the fit's --lengths-output:
// per sample, the share of the projected and of the unprojected tracks in each 0.1 um bin.
// As the fit compares them, the tracks with angles of a sample meet the projected distribution
// and those without the unprojected one: each such set is one panel, a histogram of 1 um bins
// (counts) under the predicted density scaled to the set's count, n x share / 0.1 um, so that the
// curve integrates over length to n and stands at the height of the bins it predicts. Its legend
// gives the measured and predicted mean track length (MTL) and standard deviation, and the
// Kolmogorov-Smirnov p of the measured lengths under the predicted distribution (the binned
// distribution function, linear within each 0.1 um bin).
//
// With one panel the y axis counts tracks per 1 um bin. With several (small multiples, stacked
// from the bottom in the order of the lengths file) panel k stands on the baseline y = k and
// each is scaled to its own tallest bin or curve, which reaches 0.9 above its baseline: y then
// reads the panel, and the legend gives each panel's tallest bin in tracks.

#include "viewerstartup.h"

#include <QString>

#include <vector>

// The predicted distribution of one sample: the share of tracks in each 0.1 um bin from 0 um.
struct PredictedLengthBins {
    QString sample;
    std::vector<double> projected;
    std::vector<double> unprojected;
};

// Columns needed: sample, length_um, pdf_projected, pdf_unprojected; a sample's rows in order of
// length. Throws ViewerStartError naming the file (and line).
std::vector<PredictedLengthBins> readPredictedLengths(const QString& path);

// The share of tracks shorter than lengthUm under 0.1 um bins, linear within each bin.
double binnedCdf(const std::vector<double>& bins, double lengthUm);

FirstView lengthFigure(const QString& lengthsPath, const QString& predictedPath);

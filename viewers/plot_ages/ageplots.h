#pragma once
// The pictures of plot_ages that judge a fit of one erosion rate, each built from the suite's
// CSV files into a first view (residualplot.h and historyplots.h hold the others).
//
//   rate       AGES_CSV [OBSERVED_CSV [FIT_CSV [RESIDUALS_CSV [PREDICTIONS_CSV]]]]
//              age against erosion rate, one curve per system and method (only the measured systems when OBSERVED_CSV is given); measured ages
//              as bands (age +- sigma) in the system's colour, or, for more than ten of them and
//              a fit, as markers with error bars at the best rate, spread a little in x; the
//              best rate and its range as vertical lines. With RESIDUALS_CSV (cooling_ages
//              --residuals of the same fit) each sample's own prediction at the best rate, one
//              legend row per distinct grain of a system ("AHe r=80 um eU=40 ppm predicted
//              (2)", at most eight, the rest together), with the measured ages as markers at
//              the best rate above or below them; the table's curves are then labelled as the
//              options' grain. With PREDICTIONS_CSV (the same fit's --predictions) each grain's
//              own curve along the sweep instead of its point (sweepgrains.h)
//   misfit     FIT_CSV                 chi2 against erosion rate around its minimum: the range
//              where chi2 stays below chi2_min + 1 and as much again either side; the level,
//              the range and the best rate; optionally on a logarithmic chi2 axis
//   elevation  AGES_CSV [OBSERVED_CSV [FIT_CSV [RESIDUALS_CSV]]]  predicted ages across a
//              periodic profile against elevation, age on x, at the table's first rate or at the
//              fit's best rate; measured ages as markers with horizontal error bars; with
//              RESIDUALS_CSV each sample's own prediction, joined up the profile per distinct
//              grain (at most eight a system, the rest as points), named in the legend
//   path       PATH_CSV AGES_CSV [RESIDUALS_CSV]  temperature against time before present, with
//              a marker at each system's age and closure temperature; with RESIDUALS_CSV (a fit
//              along this path) each sample's own prediction on the path, a legend row per grain
//
// Each system has one colour in every picture (systemmarks.h). A file that cannot be read or
// lacks a needed column ends the start-up with ViewerStartError.

#include "viewerstartup.h"

#include <QString>

#include <optional>

FirstView rateFigure(const QString& agesPath, const std::optional<QString>& observedPath,
    const std::optional<QString>& fitPath,
    const std::optional<QString>& residualsPath = std::nullopt,
    const std::optional<QString>& predictionsPath = std::nullopt);
FirstView misfitFigure(const QString& fitPath, bool logY = false);
FirstView elevationFigure(const QString& agesPath, const std::optional<QString>& observedPath,
    const std::optional<QString>& fitPath = std::nullopt,
    const std::optional<QString>& residualsPath = std::nullopt);
FirstView pathFigure(const QString& pathPath, const QString& agesPath,
    const std::optional<QString>& residualsPath = std::nullopt);

// The style every picture of the kind starts from: texts, legend place and PNG path.
ViewerStyle ageKindStyle(const QString& kind);

// Measured ages drawn as bands up to this many samples, as markers at the best rate beyond.
inline constexpr std::size_t bandedSampleLimit = 10;

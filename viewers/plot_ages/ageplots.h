#pragma once
// The four pictures of plot_ages, each built from the suite's CSV files into a first view.
//
//   rate       AGES_CSV [OBSERVED_CSV [FIT_CSV]]  age against erosion rate, one curve per system
//              and method; measured ages as bands (age +- sigma) in the system's colour; the best
//              rate and its range as vertical lines
//   misfit     FIT_CSV                 chi2 against erosion rate, the level chi2_min + 1, the
//              range where chi2 stays below it and the best rate
//   elevation  AGES_CSV [OBSERVED_CSV] predicted ages across a periodic profile against
//              elevation, age on x; measured ages as markers with horizontal error bars
//   path       PATH_CSV AGES_CSV       temperature against time before present, with a marker at
//              each system's age and closure temperature
//
// Each system has one colour in every picture; the method sets the line (dashed for Dodson's
// closure temperature, solid for the kinetic models) and the marker (circle, square, triangle
// for dodson, diffusion, annealing). A file that cannot be read or lacks a needed column ends
// the start-up with ViewerStartError.

#include "viewerstartup.h"

#include <QString>

#include <optional>

FirstView rateFigure(const QString& agesPath, const std::optional<QString>& observedPath,
    const std::optional<QString>& fitPath);
FirstView misfitFigure(const QString& fitPath);
FirstView elevationFigure(const QString& agesPath, const std::optional<QString>& observedPath);
FirstView pathFigure(const QString& pathPath, const QString& agesPath);

// The style every picture of the kind starts from: texts, legend place and PNG path.
ViewerStyle ageKindStyle(const QString& kind);

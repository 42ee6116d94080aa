#pragma once
// plot_ages: the plots that judge a fit of predicted cooling ages to measured ones.
//
//   plot_ages rate AGES_CSV [OBSERVED_CSV [FIT_CSV [RESIDUALS_CSV [PREDICTIONS_CSV]]]]
//   plot_ages [--log-y] misfit FIT_CSV
//   plot_ages elevation AGES_CSV [OBSERVED_CSV [FIT_CSV]]
//   plot_ages path PATH_CSV AGES_CSV
//   plot_ages residuals RESIDUALS_CSV
//   plot_ages history FIT_OR_POSTERIOR_CSV
//   plot_ages [--log-y] profile PROFILE_CSV
//   plot_ages map AGE_MAP_TIF [SAMPLES_CSV]
//   plot_ages lengths LENGTHS_CSV PREDICTED_CSV
//   plot_ages [--log-y] misfit-map FIT_CSV
//   plot_ages elevation ELEVATION_CSV OBSERVED_CSV [RESIDUALS_CSV]   (a history's profile)
//
// The files are those cooling_ages writes (--output, --fit-output, --path-output, --residuals,
// --predictions, --profile-output, --posterior, terrain's --age-map, --lengths-output, history's
// --elevation-output) and the measured ages and lengths it reads (--observed, --lengths), named
// on the command line relative to the working directory. What each kind shows is in ageplots.h, residualplot.h, historyplots.h, agemapplot.h, lengthplot.h and
// misfitmap.h. --log-y (anywhere on the line) opens a chi2 plot on a logarithmic axis (the key L
// switches it there), and colours the misfit map logarithmically. The window, toolbar,
// keys, saving and printing are those of every viewer; the first window spans the data, rounded to
// tick steps.

#include "viewerstartup.h"

const ViewerDefinition& agesViewer();

// The first view of the kind named by arguments[0] from the files that follow it, relative to
// runDir. Throws ViewerStartError for an unknown kind, a file count the kind does not take, or
// a file it cannot show.
FirstView startAgePlots(const QStringList& arguments, const QDir& runDir);

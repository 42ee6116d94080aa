#pragma once
// The options of cooling_ages that compare the model with measured ages and write what the
// comparison and the path look like:
//
//   --observed FILE        measured ages (CSV: sample, system, age_ma, sigma_ma, ...)
//   --lengths FILE         measured AFT track lengths (CSV: sample, length_um, ...; or plain)
//   --lengths-sample NAME  the sample of a --lengths file in the plain form
//   --mean-elevation M     the field elevation of the model's mean surface, m (periodic: 0;
//                          transient: needed to place samples that carry elevation_m)
//   -L C/KM                transient: the lapse rate of the relief above it (6.5)
//   --fit-output FILE      the misfit curve: rate_mm_yr, chi2
//   --residuals FILE       the samples at the best rate against their predictions
//   --predictions FILE     rate fits: every distinct grain's age at every rate (sweeppredictions.h)
//   --path-output FILE     transient (one rate), path or history: time_ma, temperature_c, depth_m
//   --profile-output FILE  history: chi2 against each change time (historyfiles.h)
//   --posterior FILE       history: the ensemble sampler's samples after burn-in
//   --keep-unreset         keep measured ages older than the path in chi2
//   --fit-base MIN:MAX     transient, periodic: fit the geotherm with the rate (ratefitbase.h)

#include "agerequest.h"

#include <optional>
#include <string>

namespace ages {

struct FitOptions {
    std::string observedFile;
    std::string lengthsFile;
    std::optional<std::string> lengthsSample; // the plain form's sample; none for a CSV
    double meanElevationM = 0;
    // transient: --mean-elevation was given, and the samples with elevation_m are placed at
    // their heights above it, in the relief at the surface temperature less lapseRateCkm (-L)
    // per km of height while their depth is negative.
    bool meanElevationGiven = false;
    double lapseRateCkm = 6.5;
    std::string fitOutput;
    std::string residualsOutput;
    std::string predictionsOutput; // rate fits: each grain of the samples along the sweep
    std::string pathOutput;
    std::string profileOutput;
    std::string posteriorOutput;
    std::string geothermOutput; // history: the column today, depth_m, temperature_c
    std::string elevationOutput; // history: the ages along the samples' elevations
    // --keep-unreset: measured ages older than the model's path stay in chi2 (by default they
    // are left out: a prediction along that path can only be a lower bound of them).
    bool keepUnreset = false;
    // --fit-base of the rate fits: the periodic model's -b or the transient model's -B, fitted
    // within these bounds together with the rate (the history model's is its request's).
    std::optional<ValueBounds> fitBase;

    // Measured ages or lengths to fit.
    bool fits() const { return !observedFile.empty() || !lengthsFile.empty(); }
    // What the fit's messages call its data: the ages file, else the lengths file.
    const std::string& dataLabel() const
    {
        return observedFile.empty() ? lengthsFile : observedFile;
    }
};

// An output that could only fail once every age is computed: a directory, or a file in a
// directory that does not exist; the message names the option.
std::optional<std::string> outputFileError(const std::string& option, const std::string& file);

// The first combination that cannot work, as a message: an output of the fit
// without --observed, --lengths-output without AFT ages by annealing, --mean-elevation outside
// periodic, a path output for more than one path,
// two outputs naming the same file; for history, a fit's output or --fit-phases without the
// other or without --observed; --fit-base without --observed or --rates, or with bounds the
// model refuses.
std::optional<std::string> fitOptionsError(const AgeRequest& request, const FitOptions& options);

} // namespace ages

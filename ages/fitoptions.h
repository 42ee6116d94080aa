#pragma once
// The options of cooling_ages that compare the model with measured ages and write what the
// comparison and the path look like:
//
//   --observed FILE        measured ages (CSV: sample, system, age_ma, sigma_ma, ...)
//   --lengths FILE         measured AFT track lengths (CSV: sample, length_um, ...; or plain)
//   --lengths-sample NAME  the sample of a --lengths file in the plain form
//   --mean-elevation M     periodic: the field elevation of the model's mean surface, m (0)
//   --fit-output FILE      the misfit curve: rate_mm_yr, chi2
//   --residuals FILE       the samples at the best rate against their predictions
//   --path-output FILE     transient (one rate), path or history: time_ma, temperature_c, depth_m
//   --profile-output FILE  history: chi2 against each change time (historyfiles.h)
//   --posterior FILE       history: the ensemble sampler's samples after burn-in
//   --keep-unreset         keep measured ages older than the path in chi2

#include "agerequest.h"

#include <optional>
#include <string>

namespace ages {

struct FitOptions {
    std::string observedFile;
    std::string lengthsFile;
    std::optional<std::string> lengthsSample; // the plain form's sample; none for a CSV
    double meanElevationM = 0;
    std::string fitOutput;
    std::string residualsOutput;
    std::string pathOutput;
    std::string profileOutput;
    std::string posteriorOutput;
    std::string geothermOutput; // history: the column today, depth_m, temperature_c
    std::string elevationOutput; // history: the ages along the samples' elevations
    // --keep-unreset: measured ages older than the model's path stay in chi2 (by default they
    // are left out: a prediction along that path can only be a lower bound of them).
    bool keepUnreset = false;

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
// other or without --observed.
std::optional<std::string> fitOptionsError(const AgeRequest& request, const FitOptions& options);

} // namespace ages

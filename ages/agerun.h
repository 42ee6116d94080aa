#pragma once
// A run of cooling_ages once its request is known: refuses unusable values before any work,
// builds the cooling paths the request names, predicts their ages, fits measured ages and writes
// the table and the fit's files. Plain values in (agerequest.h, fitoptions.h), no command line.

#include "agerequest.h"
#include "ageprediction.h"
#include "fitoptions.h"
#include "observedfit.h"

#include <ostream>
#include <vector>

namespace ages {

// The rows the request asks for. Throws InputError for a value the models refuse (checked for
// every rate before any age is computed) or a path file that cannot be read. report, if given,
// hears how far the work has got.
std::vector<AgeRow> requestedAgeRows(const AgeRequest& request, const ProgressReport& report = {});

// The fit alone, as the program computes it for measured ages without --output: the request's
// values refused as requestedAgeRows refuses them (for every rate, before any age), then the
// fit's misfits in one pass over the rates (on threads threads), then the fit. Throws InputError.
FitResult requestedFit(const AgeRequest& request, const ObservedFit& fit,
    const ProgressReport& report = {}, unsigned threads = defaultThreadCount());

// The whole run: every refusal first, then the ages, the fit and the files. With measured ages
// and no --output only the fit is computed: the samples' paths, not the table's. The table goes
// to out or to request.outputFile; the summary and warnings to err. Throws InputError for what
// the user can mend.
void runRequest(const AgeRequest& request, const FitOptions& fitOptions, std::ostream& out,
    std::ostream& err, bool showProgress);

} // namespace ages

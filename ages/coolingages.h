#pragma once
// The cooling_ages program: reads the command line, refuses unusable values before any work,
// builds the cooling paths the request names, predicts their ages and writes the table.

#include "agecommandline.h"
#include "ageprediction.h"
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
// fit's misfits in one pass over the rates, then the fit. Throws InputError.
FitResult requestedFit(
    const AgeRequest& request, const ObservedFit& fit, const ProgressReport& report = {});

// The whole program; returns the exit status (0, or 1 after one "ERROR: ..." line on err, the one
// place the program writes that prefix). The
// table goes to out or to the --output file. With showProgress, a long run shows a progress line
// on err while it computes (erased before anything else is written there).
int coolingAgesMain(int argc, const char* const argv[], std::ostream& out, std::ostream& err,
    bool showProgress = false);

} // namespace ages

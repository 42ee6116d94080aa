#pragma once
// The cooling_ages program: reads the command line, refuses unusable values before any work,
// builds the cooling paths the request names, predicts their ages and writes the table.

#include "agecommandline.h"
#include "ageprediction.h"

#include <ostream>
#include <vector>

namespace ages {

// The refusals of the request's values that come before any age is computed: the age settings,
// then the model's parameters at every rate of the sweep (for transient, also the temperatures
// of every rate's path). Throws InputError naming the value (and, in a sweep, the rate).
void checkRequest(const AgeRequest& request);

// The rows the request asks for. Throws InputError for a value the models refuse (checked for
// every rate before any age is computed) or a path file that cannot be read. report, if given,
// hears how far the work has got.
std::vector<AgeRow> requestedAgeRows(const AgeRequest& request, const ProgressReport& report = {});

// The whole program; returns the exit status (0, or 1 after one "ERROR: ..." line on err, the one
// place the program writes that prefix). The
// table goes to out or to the --output file. With showProgress, a long run shows a progress line
// on err while it computes (erased before anything else is written there).
int coolingAgesMain(int argc, const char* const argv[], std::ostream& out, std::ostream& err,
    bool showProgress = false);

} // namespace ages

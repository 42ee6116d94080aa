#pragma once
// A run of `cooling_ages history`: the table of ages along the path of the rock exposed today
// under --erosion's history, and with --observed the comparison with measured ages: the misfit
// of that history, or with --fit-phases the fit of a history of N phases and its files.
//
//   1. every refusal, before any work: the options, the history, the thermal parameters, the
//      measured ages and their grains, the fit's space and engine;
//   2. the work: the table, the path, the fit (a progress line on a terminal);
//   3. the files, replaced together once all are complete (a temporary beside each, renamed
//      when every one is written), the table (to standard output without --output), then the
//      summary and the warnings on standard error.
//
// The fit's summary is the engines' (historyfiles.h), followed by their warnings and one for
// the samples whose prediction at the best history is not reset (historymisfit.h).

#include "agerequest.h"
#include "fitoptions.h"

#include <ostream>

namespace ages {

// Throws InputError for whatever the user can mend; nothing is written then.
void runHistoryModel(const AgeRequest& request, const FitOptions& options, std::ostream& out,
    std::ostream& err, bool showProgress);

} // namespace ages

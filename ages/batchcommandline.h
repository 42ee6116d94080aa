#pragma once
// The command line of `cooling_ages batch` (batchrun.h):
//
//     cooling_ages batch --observed FILE --by COLUMN [--model transient|periodic|history]
//                        [--shard I/N] [--results DIR] [--output FILE] [--threads N]
//                        [the model's options, as cooling_ages MODEL takes them]
//     cooling_ages batch --merge FILES... --observed FILE --by COLUMN [--output FILE]
//
// The batch's own options are read here; every other word goes, in its order, to the model's
// command line (agecommandline.h, fitcommandline.h), which reads and refuses it as
// `cooling_ages MODEL --observed FILE ...` does.

#include <ostream>

namespace ages {

// Whether the words name the batch: `cooling_ages batch ...`.
bool isBatchCommand(int argc, const char* const argv[]);

// Runs the batch or the merge; returns 0 (also after --help). Throws InputError for a refusal.
int runBatchCommand(
    int argc, const char* const argv[], std::ostream& out, std::ostream& err, bool showProgress);

} // namespace ages

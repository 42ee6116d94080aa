#pragma once
// The command line of periodic_topography: options in the suite's style (the suite's own option
// scanner; every option but -h and -v takes the whole next word as its value; the last
// occurrence wins), the usage text and the version text. Values are read strictly: a word that is
// not wholly a finite decimal number (a whole number for -n), or a word left over after the
// options, is refused rather than read as whatever number its first characters make.

#include "periodicparameters.h"

#include <ostream>
#include <string>

namespace periodic {

extern const char* const versionString;

// Writes the usage text, naming the program as programName.
void printUsage(std::ostream& out, const char* programName);

struct CommandLine {
    enum class Action {
        run, // parameters hold the run's values
        finish, // -h or -v was answered: end with status 0
        refuse, // end with status 1, after refusal (or the scanner's own report)
    };
    Action action = Action::run;
    PeriodicParameters parameters;
    // Why the words were refused (a value that is no number, a word left over), without the
    // "ERROR: " prefix; empty when the scanner has reported an unknown option itself.
    std::string refusal;
};

// Scans argv from its first word (the scanner is reset first, so it may be called again). The
// usage and version texts go to out; an unknown option or a missing value is reported by the
// scanner on the C stderr, with a hint on err.
CommandLine scanCommandLine(int argc, char* const argv[], std::ostream& out, std::ostream& err);

} // namespace periodic

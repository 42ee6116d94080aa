#pragma once
// The solver's command line: the usage and version texts and the scan of the options into the
// run parameters. Every option but -h and -v takes one argument; the last occurrence wins.

#include "runparameters.h"

#include <iosfwd>

namespace erosion {

extern const char* versionString;

// The scanner's option string: -h and -v alone, every other letter with an argument.
constexpr const char* optionString = "hvz:T:B:a:d:e:f:g:r:i:j:k:l:o:";

// Writes the usage text for programName to standard output (or to out) and returns that stream.
std::ostream& printMenu(const char* programName);
std::ostream& printMenu(const char* programName, std::ostream& out);

struct CommandLine {
    enum class Action {
        run, // scan complete: compute with parameters
        help, // -h met first: print the usage text, exit 0
        version, // -v met first: print the version, exit 0
        badOption, // the scanner reported an error on standard error: exit 1
    };
    Action action = Action::run;
    RunParameters parameters;
};

// Scans argv from its first word with optscan::getopt, starting a fresh scan. The scan stops at
// the first -h, -v or error, or where the options end; words after that are ignored.
CommandLine readCommandLine(int argc, char* const argv[]);

} // namespace erosion

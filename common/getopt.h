#pragma once
// The suite's own command-line option scanner, shared by its console programs.
//
// It differs from the C library's getopt in three ways the solver's users rely on: an option
// that takes an argument always takes the whole next word (even one that begins with a dash, and
// anything glued to the option letter is dropped), any word that begins with two dashes ends the
// scan and is consumed, and errors are reported as "Error in argument W, char C: ...".
//
// The scanner keeps its position in the plain globals below, so a caller loops
//     while ((ch = optscan::getopt(argc, argv, "ab:")) != -1) ...
// over one argument vector. It lives in a namespace of its own because the C library declares a
// getopt and an optind of its own.

#include <iosfwd>

namespace optscan {

// When nonzero, errors are printed to errorOutput; '?' and optopt are set either way.
extern int opterr;
// Where error messages go: standard error unless a caller (a test, an embedding program) points
// it elsewhere.
extern std::ostream* errorOutput;
// Index in argv of the word being scanned or to be scanned next.
extern int optind;
// The offending character of the most recent error (a signed char widened to int).
extern int optopt;
// Set nonzero to make the next call forget the word it was inside (optind is left alone).
extern int optreset;
// The argument word of the last option that takes one; points into argv.
extern char* optarg;

// The next option character of argv, '?' after an error, or -1 when the options are over.
// In optstring a letter followed by ':' takes an argument.
int getopt(int argc, char* const argv[], const char* optstring);

// Reports an error about character charIndex of word wordIndex: prints it when opterr is set,
// records the character in optopt and returns '?'. kind 1 is a colon among flags, 2 a letter not
// in optstring, 3 a missing argument. argc and optstring are not used.
int optiserr(
    int argc, char* const argv[], int wordIndex, const char* optstring, int charIndex, int kind);

// The line a program writes after a scanner error: "Try `<programName> -h' for more information."
void printHelpHint(const char* programName, std::ostream& out);

} // namespace optscan

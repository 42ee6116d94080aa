#pragma once
// The solver's own command-line option scanner.
//
// It differs from the C library's getopt in three ways the solver's users rely on: an option
// that takes an argument always takes the whole next word (even one that begins with a dash, and
// anything glued to the option letter is dropped), any word that begins with two dashes ends the
// scan and is consumed, and errors are reported as "Error in argument W, char C: ...".
//
// The scanner keeps its position in the plain globals below, so a caller loops
//     while ((ch = erosion::getopt(argc, argv, "ab:")) != -1) ...
// over one argument vector. It lives in namespace erosion because the C library declares a getopt
// and an optind of its own.

namespace erosion {

// When nonzero, errors are printed to standard error; '?' and optopt are set either way.
extern int opterr;
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

} // namespace erosion

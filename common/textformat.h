#pragma once
// How the suite writes numbers and user text in its messages, summaries and help: one text layer
// for every program and the Python module.
//
// Numbers are written by std::to_chars, which follows no locale: a full stop as decimal point
// whether the process runs in "C", de_DE or a locale Python set, and no digit grouping. C's
// printf family follows the process locale (LC_NUMERIC), and the Python module's host may set it.
// Minus zero is written as 0 (a rounded -0.0004 would otherwise read "-0.000").
//
// Text the user typed (a word of a file, an option's value) is shown between single quotes with
// every control byte (NUL, CR, escape, ...) written as \xNN, so that a message is one line of
// printable text whatever the input held.
//
// A warning line reads "warning: ..." and a note "note: ..."; a refusal is composed without a
// prefix and written once, with "ERROR: ", by the program's main.

#include <string>
#include <string_view>
#include <vector>

namespace textformat {

// At most `significant` significant digits in the shorter of fixed or exponent notation, as C's
// "%.6g" with the default: 0.667, 1e-05, 12345.7.
std::string number(double value, int significant = 6);

// Exactly `decimals` digits after the point, as C's "%.3f": 0.667, 12.000.
std::string fixed(double value, int decimals);

// The shortest text that reads back as the same double: 0.1, not 0.10000000000000001.
std::string shortest(double value);

// User text as one printable word of a message: 'a\x0Db'.
std::string printable(std::string_view userText);
std::string quoted(std::string_view userText);

// "warning: " + what, "note: " + what.
std::string warningLine(std::string_view what);
std::string noteLine(std::string_view what);

// A warning as a value: what kind of thing it warns of (a word such as "older_than_path"), the
// samples it names (none when it concerns the fit as a whole) and its text. The programs print
// warningLine(text); the Python module raises the text as a UserWarning and returns the values,
// so that nothing reads a warning back out of a printed report.
struct Warning {
    std::string kind;
    // The initialisers let a warning name only what it has ({ .kind = ..., .text = ... }).
    std::vector<std::string> samples {};
    std::string text {}; // without "warning: "

    std::string line() const { return warningLine(text); }
};

} // namespace textformat

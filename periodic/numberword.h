#pragma once
// How periodic_topography writes a number, in its files and its messages: at most 6 significant
// digits in the shortest of fixed or exponent notation (the words of C's "%.6g"), always with a
// full stop as decimal point whatever the user's locale, 0 for minus zero, and the word NaN for a
// value that is not a number (the viewers skip a pair whose second word is NaN).

#include <string>

namespace periodic {

std::string numberWord(double value);

} // namespace periodic

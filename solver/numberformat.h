#pragma once
// The number format of the solver's files: C's printf("%#.4g") in the "C" locale.
//
// 4 significant digits, the decimal point always shown and trailing zeros kept; fixed notation
// for decimal exponents -4 .. 3 of the rounded value, otherwise d.ddde+XX with at least two
// exponent digits; "nan" / "-nan" and "inf" / "-inf" for values that are not finite.

#include <cstddef>
#include <string>

namespace erosion {

// The longest text formatNumber can write ("-1.000e-308" is 11 characters; "-nan" 4).
constexpr std::size_t maxNumberLength = 16;

// Writes the text of value at out (no terminating NUL) and returns the end of what it wrote.
char* formatNumber(double value, char* out);

// The same text as a string; convenient where speed does not matter.
std::string formatNumber(double value);

} // namespace erosion

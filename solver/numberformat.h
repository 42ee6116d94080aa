#pragma once
// The number format of the solver's files: C's printf("%#.4g") in the "C" locale.
//
// 4 significant digits, the decimal point always shown and trailing zeros kept; fixed notation
// for decimal exponents -4 .. 3 of the rounded value, otherwise d.ddde+XX with at least two
// exponent digits; "nan" / "-nan" and "inf" / "-inf" for values that are not finite.
//
// formatNumber is the fast routine the solver writes its files with: it rounds the exact binary
// value correctly (ties, which only exactly representable values can hit, go to the even digit,
// as printf does in the default rounding mode) and gives printf's text byte for byte, with one
// exception where the C library itself is wrong: glibc drops the alternate form's trailing zeros
// when rounding carries a value in [9999.5, 10000) into exponent notation ("1.e+04");
// formatNumber writes the standard "1.000e+04" there.
//
// formatNumberPlain calls snprintf as it stands: the reference for tests and benchmarks.

#include <cstddef>
#include <span>
#include <string>

namespace erosion {

// The longest text formatNumber can write ("-1.000e-308" is 11 characters; "-nan" 4).
constexpr std::size_t maxNumberLength = 16;

// Writes the text of value at out (no terminating NUL) and returns the end of what it wrote.
// out must have room for maxNumberLength characters: the routine may store whole words there.
char* formatNumber(double value, char* out);

// The same text as a string; convenient where speed does not matter.
std::string formatNumber(double value);

// " v0 v1 ... vn": each value preceded by a space, the way the files' rows and pair streams are
// laid out. Writes at most values.size() x (1 + maxNumberLength) characters; returns the end.
char* formatSpacedNumbers(std::span<const double> values, char* out);

// The C library's own "%#.4g" text of value, written at out; returns the end of what it wrote.
char* formatNumberPlain(double value, char* out);

} // namespace erosion

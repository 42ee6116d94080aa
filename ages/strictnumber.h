#pragma once
// Strict reading of a number typed by the user: the whole word must be a finite decimal number,
// [sign] digits [. digits] [(e|E) [sign] digits], with digits on at least one side of the point.
// Unlike the lenient conversion of the solver's options, "1km", "", "nan", "inf", "0x10" and a
// value beyond the range of a double (1e999, 1e-999) are refused rather than read as some number.

#include <optional>
#include <string>
#include <string_view>

namespace ages {

// The value of word, or nothing when the word is not a finite decimal number.
std::optional<double> strictNumber(std::string_view word);

// The same for a whole count: [sign] digits within the range of int.
std::optional<int> strictInteger(std::string_view word);

// "ERROR: <option> expects a number, got '<word>'"
std::string notANumberMessage(std::string_view option, std::string_view word);

} // namespace ages

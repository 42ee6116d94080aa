#pragma once
// Strict reading of a number typed by the user, for the programs whose options do not follow the
// classic lenient rule of decimal.h. A word is a number only when all of it is one: no blanks, no
// unit or other text after the digits, no comma for a decimal point, no not-a-number, infinity or
// hexadecimal notation, and no value too large for a double. So "-A 1km" or "-T 1,5" is a mistake
// that can be reported, rather than the 1 that the lenient rule would quietly make of it.
//
//     decimal::strictDouble("1.5e3")  -> 1500
//     decimal::strictDouble("1km")    -> nullopt
//     decimal::strictInt("10.5")      -> nullopt

#include <optional>
#include <string_view>

namespace decimal {

// The value of a word of the form  [sign] digits [. digits] [(e|E) [sign] digits]  (digits on at
// least one side of the point), or nullopt for any other word and for a value beyond the range of
// a double. A value too small for a double reads as +-0, as the lenient rule gives it.
std::optional<double> strictDouble(std::string_view word);

// The value of a word of the form  [sign] digits,  or nullopt for any other word (a point or an
// exponent included: a count is written as a whole number). A value beyond the range of int is
// clamped to INT_MIN or INT_MAX, which any range check of the caller then refuses.
std::optional<int> strictInt(std::string_view word);

} // namespace decimal

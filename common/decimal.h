#pragma once
// Plain decimal text-to-number conversion, as the suite reads option values, viewer arguments
// and the words of its data files.
//
// The rule is the classic C one, made strict and locale-free: skip leading white space, then take
// the longest prefix of the form  [sign] digits [. digits] [(e|E) [sign] digits]  (digits may
// stand on either side of the point, but not on neither); anything after that prefix is ignored,
// and a text without such a prefix is 0. There is no notation for not-a-number, infinity or
// hexadecimal, so "nan", "-nan", "inf" and "0x10" read as 0 (the C library's atof/strtod accept
// all three), and the decimal point is a full stop whatever the user's locale.

#include <string_view>

namespace decimal {

// The value of the longest decimal prefix of text, or 0 when there is none. A value too large
// for a double is +-infinity and one too small is +-0, as strtod gives them.
double toDouble(std::string_view text);

// The value of the longest prefix [white space] [sign] digits, or 0 when there is none.
// A value beyond the range of int is clamped to INT_MIN or INT_MAX.
int toInt(std::string_view text);

} // namespace decimal

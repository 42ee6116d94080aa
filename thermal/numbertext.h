#pragma once
// How the thermal model writes a number in its messages: at most 6 significant digits in the
// shortest of fixed or exponent notation (C's "%.6g"), a full stop as decimal point whatever the
// locale, 0 for minus zero.

#include <string>

namespace thermal {

std::string numberText(double value);

} // namespace thermal

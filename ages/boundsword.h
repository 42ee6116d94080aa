#pragma once
// A pair of bounds typed as one word, MIN:MAX (--rates and --change-times of the history fit,
// --fit-base of every fit that fits the geotherm).

#include "changetimerange.h"

#include <string>

namespace ages {

// "MIN:MAX" as two strict numbers; the order and signs are the caller's to judge. Throws
// InputError "--fit-base expects MIN:MAX (C), two numbers, got '...'" for another form.
ValueBounds parseBoundsWord(const std::string& option, const std::string& word, const char* unit);

} // namespace ages

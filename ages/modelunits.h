#pragma once
// The unit conversions of the two thermal models, as the paths built here need them: the
// models' 365-day million years and their metres eroded per Myr at 1 mm/yr. They come from the
// models' own unit header, wherever the suite keeps it (shared by both models in common/, or the
// solver's own), so that the paths convert exactly as the models do.

#if __has_include("common/units.h")
#include "common/units.h"

namespace ages::modelunits {
inline constexpr double secondsPerMyr = units::secondsPerMyr;
inline constexpr double metresPerMyrPerMmPerYear = units::metresPerMyrPerMmPerYear;
} // namespace ages::modelunits
#else
#include "solver/units.h"

namespace ages::modelunits {
inline constexpr double secondsPerMyr = erosion::secondsPerMyr;
inline constexpr double metresPerMyrPerMmPerYear = erosion::metresPerMyrPerMmPerYr;
} // namespace ages::modelunits
#endif

#pragma once
// A predicted age, as every model returns it.

#include <limits>

namespace thermochron {

struct Age {
    static constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

    // The age, Ma: Ft-corrected for (U-Th)/He. For a path that is not reset, the path's start
    // (a minimum age).
    double ageMa = notANumber;
    // (U-Th)/He only: the age before the Ft correction, as the model computed it.
    double rawAgeMa = notANumber;
    // Dodson: the closure temperature at the closure point. Kinetic models: the path's
    // temperature at the predicted age (the effective closure temperature). C.
    double closureTemperatureC = notANumber;
    // False: the path does not erase what the grain held before it began, so ageMa is a minimum.
    bool reset = true;
    // Apatite fission track only: mean c-axis projected track length, um.
    double meanTrackLengthUm = notANumber;
};

} // namespace thermochron

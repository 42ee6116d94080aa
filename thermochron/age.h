#pragma once
// A predicted age, as every model returns it.

#include "catalogue.h"

#include <limits>

namespace thermochron {

struct Age {
    static constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

    // The age, Ma: Ft-corrected for (U-Th)/He. Kinetic models: the age accumulated since the
    // path's start, the grain holding nothing before it. Dodson: the closure age, or the path's
    // start when the path never reaches closure.
    double ageMa = notANumber;
    // (U-Th)/He only: the age before the Ft correction, as the model computed it.
    double rawAgeMa = notANumber;
    // Dodson: the closure temperature at the closure point. Kinetic models: the path's
    // temperature at the predicted age (the effective closure temperature), NaN for an age older
    // than the path's start. C.
    double closureTemperatureC = notANumber;
    // False: the path does not erase what the grain held before it began, so a rock older than
    // the path may be older still: ageMa is then a lower bound.
    bool reset = true;
    // The oldest time of the path, Ma: where the accumulation began.
    double pathStartMa = notANumber;
    // The kinetics that made the age.
    Kinetics kinetics = Kinetics::Dodson;
    // Apatite fission track only: mean c-axis projected track length, um.
    double meanTrackLengthUm = notANumber;
};

} // namespace thermochron

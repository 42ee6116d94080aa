#pragma once
// Cooling paths the age tests share.

#include "coolingpath.h"

namespace testpaths {

// From startC at startMa down to endC at present, at a constant rate, with a point every Myr.
inline thermochron::CoolingPath steadyCooling(double startMa, double startC, double endC)
{
    thermochron::CoolingPath path;
    const int points = static_cast<int>(startMa) + 1;
    for (int i = 0; i < points; ++i) {
        const double fraction = static_cast<double>(i) / (points - 1);
        path.push_back({ startMa * (1 - fraction), startC + fraction * (endC - startC) });
    }
    return path;
}

// Held at temperatureC from startMa to the present.
inline thermochron::CoolingPath hold(double startMa, double temperatureC)
{
    return { { startMa, temperatureC }, { 0.0, temperatureC } };
}

} // namespace testpaths

#pragma once
// The cooling path of one dated rock, with the depth of the rock at every point where a model
// knows it: the input of every age prediction.

#include "thermochron/coolingpath.h"

#include <vector>

namespace ages {

struct SamplePath {
    thermochron::CoolingPath path; // oldest first, time before present in Ma, C
    std::vector<double> depthM; // depth below the rock's present surface, m, per point; empty
                                // for a path read from a file

    // The rock's depth at timeMa, linear between points (NaN without depths or outside the
    // path): the closure depth of an age.
    double depthAt(double timeMa) const;
};

} // namespace ages

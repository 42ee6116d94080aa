#pragma once
// A cooling path given from Python: arrays of times before present and temperatures (and, from
// the models, depths), checked as cooling_ages checks a path file, in either time order, and
// turned into the SamplePath every age prediction takes.

#include "arrays.h"

#include "samplepath.h"

#include <optional>

namespace erosion_python {

// Points in either time order, returned oldest first. ValueError for arrays of other lengths or
// shapes, fewer than 2 points, a time that is not a number, negative, older than the Earth or
// repeated, and a temperature outside the range of a datable path.
ages::SamplePath samplePath(const DoubleArray& timeMa, const DoubleArray& temperatureC,
    const std::optional<DoubleArray>& depthM = std::nullopt);

} // namespace erosion_python

#pragma once
// Where measured samples lie on the periodic model's ridge-to-valley half-profile, and their
// predicted ages there.
//
// Between a ridge (x = 0) and the next valley (x = lambda / 2) the surface height h(x) falls
// monotonically, so each elevation within the relief lies between two neighbouring profile
// points. The sample's position x is interpolated between those two points, linearly in
// elevation, and its age is predicted for the rock exposed at that x: the point of the predicted
// age-elevation relationship at the sample's elevation. (Interpolating the two points' ages
// instead would cost two kinetic ages per sample, and the ages are what a fit spends its time on.)

#include "samplepredictor.h"
#include "thermochron/age.h"
#include "thermochron/coolingpath.h"

#include <functional>
#include <vector>

namespace ages {

// profileXM and profileElevationsM: the half-profile's points from ridge to valley (heights
// falling, at least two points); sampleElevationsM: heights in the model's frame. Returns each
// sample's x. A sample beyond an end takes that end (the program refuses those before; rounding
// may leave one a hair outside).
std::vector<double> halfProfilePositions(const std::vector<double>& profileXM,
    const std::vector<double>& profileElevationsM, const std::vector<double>& sampleElevationsM);

// The cooling path of the rock exposed at x (m).
using PositionPathSource = std::function<thermochron::CoolingPath(double xM)>;

// The predicted ages of samples at their positions: one path per distinct position, one age per
// distinct position and kind of age.
std::vector<thermochron::Age> sampleAgesAtPositions(const std::vector<double>& positionsM,
    const SamplePredictor& predictor, const PositionPathSource& pathAt);

} // namespace ages

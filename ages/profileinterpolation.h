#pragma once
// Predicted ages at the elevations of measured samples, read off the age-elevation relationship
// of the periodic model along its ridge-to-valley half-profile.
//
// Between a ridge (x = 0) and the next valley (x = lambda / 2) the surface height h(x) falls
// monotonically, so each elevation within the relief lies between two neighbouring profile
// points. A sample's age is interpolated linearly in elevation between the ages predicted at
// those two points, exactly as the predicted relationship is drawn. Only the points that samples
// need are computed, and at each only the kinds of age its samples need.

#include "samplepredictor.h"
#include "thermochron/coolingpath.h"

#include <functional>
#include <vector>

namespace ages {

// A sample's place on the half-profile: age = (1 - lowerWeight) age(upper) + lowerWeight
// age(upper + 1), with upper indexing the profile point at or above the sample.
struct ProfileBracket {
    std::size_t upper = 0;
    double lowerWeight = 0;
};

// profileElevationsM: the half-profile's surface heights from ridge to valley (falling, at least
// two points); sampleElevationsM: heights in the model's frame. A sample beyond an end takes that
// end (the program refuses those before; rounding may leave one a hair outside).
std::vector<ProfileBracket> halfProfileBrackets(
    const std::vector<double>& profileElevationsM, const std::vector<double>& sampleElevationsM);

// The cooling path of the rock exposed at a profile point, by index.
using ProfilePathSource = std::function<thermochron::CoolingPath(std::size_t point)>;

// Interpolated ages (Ma) of every sample. Each needed point's path is made once.
std::vector<double> interpolatedSampleAges(const std::vector<ProfileBracket>& brackets,
    const SamplePredictor& predictor, const ProfilePathSource& pathAt);

} // namespace ages

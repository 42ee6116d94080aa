#include "profileinterpolation.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace ages {

std::vector<double> halfProfilePositions(const std::vector<double>& profileXM,
    const std::vector<double>& profileElevationsM, const std::vector<double>& sampleElevationsM)
{
    if (profileElevationsM.size() < 2 || profileXM.size() != profileElevationsM.size()) {
        throw std::invalid_argument("a half-profile needs at least two points with x and height");
    }
    const std::size_t lastSegment = profileElevationsM.size() - 2;
    std::vector<double> positions;
    positions.reserve(sampleElevationsM.size());
    for (const double elevation : sampleElevationsM) {
        // First point at or below the sample (heights fall along the profile).
        const auto below = std::lower_bound(profileElevationsM.begin(), profileElevationsM.end(),
            elevation, [](double point, double sample) { return point > sample; });
        const auto index = static_cast<std::size_t>(below - profileElevationsM.begin());
        const std::size_t upper = std::min(index == 0 ? 0 : index - 1, lastSegment);
        const double top = profileElevationsM[upper];
        const double bottom = profileElevationsM[upper + 1];
        const double weight = std::clamp((top - elevation) / (top - bottom), 0.0, 1.0);
        positions.push_back(profileXM[upper] + weight * (profileXM[upper + 1] - profileXM[upper]));
    }
    return positions;
}

std::vector<thermochron::Age> sampleAgesAtPositions(const std::vector<double>& positionsM,
    const SamplePredictor& predictor, const PositionPathSource& pathAt)
{
    std::map<double, thermochron::CoolingPath> paths;
    std::map<std::pair<double, std::size_t>, thermochron::Age> ages; // (x, kind) -> age
    std::vector<thermochron::Age> sampleAges;
    sampleAges.reserve(positionsM.size());
    for (std::size_t sample = 0; sample < positionsM.size(); ++sample) {
        const double x = positionsM[sample];
        const auto key = std::pair(x, predictor.kindOfSample(sample));
        auto age = ages.find(key);
        if (age == ages.end()) {
            auto path = paths.find(x);
            if (path == paths.end()) {
                path = paths.emplace(x, pathAt(x)).first;
            }
            age = ages.emplace(key, predictor.predictKind(path->second, key.second)).first;
        }
        sampleAges.push_back(age->second);
    }
    return sampleAges;
}

} // namespace ages

#include "profileinterpolation.h"

#include <algorithm>
#include <map>
#include <optional>
#include <stdexcept>

namespace ages {

std::vector<ProfileBracket> halfProfileBrackets(
    const std::vector<double>& profileElevationsM, const std::vector<double>& sampleElevationsM)
{
    if (profileElevationsM.size() < 2) {
        throw std::invalid_argument("a half-profile needs at least two points");
    }
    const std::size_t lastSegment = profileElevationsM.size() - 2;
    std::vector<ProfileBracket> brackets;
    brackets.reserve(sampleElevationsM.size());
    for (const double elevation : sampleElevationsM) {
        // First point at or below the sample (heights fall along the profile).
        const auto below = std::lower_bound(profileElevationsM.begin(), profileElevationsM.end(),
            elevation, [](double point, double sample) { return point > sample; });
        const auto index = static_cast<std::size_t>(below - profileElevationsM.begin());
        const std::size_t upper = std::min(index == 0 ? 0 : index - 1, lastSegment);
        const double top = profileElevationsM[upper];
        const double bottom = profileElevationsM[upper + 1];
        const double weight = std::clamp((top - elevation) / (top - bottom), 0.0, 1.0);
        brackets.push_back({ upper, weight });
    }
    return brackets;
}

std::vector<double> interpolatedSampleAges(const std::vector<ProfileBracket>& brackets,
    const SamplePredictor& predictor, const ProfilePathSource& pathAt)
{
    std::map<std::size_t, thermochron::CoolingPath> paths;
    std::map<std::pair<std::size_t, std::size_t>, double> ages; // (point, kind) -> Ma
    const auto ageAt = [&](std::size_t point, std::size_t kind) {
        const auto key = std::pair(point, kind);
        if (const auto found = ages.find(key); found != ages.end()) {
            return found->second;
        }
        auto path = paths.find(point);
        if (path == paths.end()) {
            path = paths.emplace(point, pathAt(point)).first;
        }
        const double age = predictor.predictKind(path->second, kind).ageMa;
        ages.emplace(key, age);
        return age;
    };

    std::vector<double> sampleAges;
    sampleAges.reserve(brackets.size());
    for (std::size_t sample = 0; sample < brackets.size(); ++sample) {
        const auto& bracket = brackets[sample];
        const std::size_t kind = predictor.kindOfSample(sample);
        // A sample on a profile point needs no neighbour.
        const double upperAge = bracket.lowerWeight < 1 ? ageAt(bracket.upper, kind) : 0;
        const double lowerAge = bracket.lowerWeight > 0 ? ageAt(bracket.upper + 1, kind) : 0;
        sampleAges.push_back((1 - bracket.lowerWeight) * upperAge + bracket.lowerWeight * lowerAge);
    }
    return sampleAges;
}

} // namespace ages

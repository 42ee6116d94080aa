#pragma once
// Measured ages older than the path a model gives them. A grain dated along a path that starts
// at S Ma can hold at most S Myr of daughter products or tracks, so its predicted age is at most
// S however the model is set: fitting a 150 Ma zircon fission-track age along a 20 Myr path pulls
// the rate towards whatever makes the prediction nearest to 20, which says nothing about the
// erosion. Such ages are left out of chi2 (and named) unless the user asks to keep them.
//
//     const auto counted = agesWithinPath(samples, 20.0, options.keepUnreset);
//     if (auto warning = agesBeyondPathWarning(samples, counted, "the paths (-o 20 Myr)", remedy))

#include "observedages.h"
#include "textformat.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// Per sample: true where its age is no older than pathMyr (or keepOlder is set), i.e. where the
// sample enters chi2.
std::vector<bool> agesWithinPath(
    const std::vector<ObservedAge>& samples, double pathMyr, bool keepOlder);

// The warning of kind "older_than_path" naming the samples left out: "2 of 9 measured ages are older than <paths> and are left out of chi2, ...: s1 (ZFT
// 72 Ma), s2 (ZFT 160 Ma); <remedy>, or give --keep-unreset to fit them all the same"; nothing
// when every sample is counted.
std::optional<textformat::Warning> agesBeyondPathWarning(const std::vector<ObservedAge>& samples,
    const std::vector<bool>& counted, std::string_view paths, std::string_view remedy);

} // namespace ages

#pragma once
// The grain a measured sample was predicted with, and its name in a legend, the same in every
// age plot that draws the samples' own grains (rate, elevation, path): "AHe r=80 um eU=40 ppm",
// "AFT Dpar=2.3 um", or "ZFT dodson" for a method that reads no grain value.

#include "agetables.h"

#include <QString>

#include <cstddef>
#include <optional>

// A system's grains drawn one by one up to this many; beyond, together.
inline constexpr std::size_t maxGrainCurves = 8;

// The values a prediction read, as a table gives them: two samples of one system and method with
// the same values were predicted alike.
struct GrainKey {
    QString system;
    QString method;
    std::optional<double> radius;
    std::optional<double> uranium;
    std::optional<double> thorium;
    std::optional<double> samarium;
    std::optional<double> dpar;

    bool operator==(const GrainKey&) const = default;
};

GrainKey grainOf(const Residual& r);
GrainKey grainOf(const PredictedAge& age);

// A number of a label to three significant digits.
QString shortNumber(double value);

// The legend text of a grain.
QString grainText(const GrainKey& grain);

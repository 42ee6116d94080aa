#pragma once
// Measured confined-track lengths against the distributions a cooling path predicts for them
// (thermochron/tracklengths.h), as a term of a fit's misfit and as the report at its best fit.
//
// The misfit of a fit with lengths is
//
//     chi2 of the ages + sum over the samples of -2 ln L(lengths),
//     ln L = sum_k ln pdf(l_k)     (the exact mixture, not its histogram),
//
// the tracks measured with an angle (projected onto the c axis) under the projected distribution,
// the others under the unprojected one. The fits report it relative to its value at the best fit,
// so that the misfit there is the ages' chi2 and the ranges are read at the same level rule
// (misfitlevel.h). The report of each sample at the best fit: the number of lengths, their mean
// and standard deviation against the predicted ones, and the Kolmogorov-Smirnov D and Kuiper V
// with their p-values (thermochron/lengthstatistics.h).

#include "agesettings.h"
#include "observedages.h"
#include "tracklengthfile.h"

#include "thermochron/coolingpath.h"
#include "thermochron/grain.h"
#include "thermochron/lengthstatistics.h"
#include "thermochron/tracklengths.h"

#include <optional>
#include <string>
#include <vector>

namespace ages {

// The measured lengths of one sample and the apatite they are predicted for (its Dpar).
struct LengthSample {
    SampleLengths measured;
    thermochron::Grain grain;
};

// The lengths of a fit's samples joined with their measured ages by sample name.
struct JoinedLengths {
    LengthSample lengths;
    // The sample's AFT age (an index into the ages), which the lengths join; none for a sample
    // fitted on its lengths alone.
    std::optional<std::size_t> age;
    // The elevation of the sample's ages (elevation_m of any row of that name), where given: a
    // periodic fit places the lengths there.
    std::optional<double> elevationM;
};

// Each sample of lengths with its AFT age of the same name, if any. The Dpar of a sample is its
// age's dpar_um, else the mean dpar_um of its tracks (which then becomes its age's as well), else
// settings.dparUm. Throws TrackLengthsError naming lengthsFile and the sample's first line for a
// sample with two AFT ages (which would the lengths belong to?) or a Dpar outside the range the
// annealing model holds in.
std::vector<JoinedLengths> joinLengths(std::vector<ObservedAge>& ages,
    std::vector<SampleLengths> lengths, const AgeSettings& settings, std::string_view lengthsFile);

// A -2 ln L standing in for lengths the path cannot make (every track erased, or a length where
// the density underflows): worse than any misfit a path that makes them gives, and finite, so that
// a misfit curve through it stays a curve.
inline constexpr double impossibleLengthsMisfit = 1e12;

// -2 ln L of the sample's lengths under the distributions predicted for it; nothing when the
// path leaves no track to be measured.
double lengthMisfit(
    const std::optional<thermochron::TrackLengths>& predicted, const SampleLengths& measured);

// The distributions predicted for the sample along path, in the mounts of settings; nothing when
// the path leaves no track to be measured.
std::optional<thermochron::TrackLengths> predictedSampleLengths(
    const thermochron::CoolingPath& path, const LengthSample& sample, const AgeSettings& settings);

// What the lengths were predicted with, for a fit's "assumed:" line: "ketcham2007 (Dpar 1.75 um
// for 2 of 3 samples from --dpar), unprojected r_m of mounts not Cf-irradiated".
std::string lengthsAssumed(const std::vector<JoinedLengths>& lengths, const AgeSettings& settings);

// One set of a sample's lengths (projected or unprojected) against its prediction.
struct LengthComparison {
    std::string sample;
    bool projected = true; // the tracks with angles, against the projected distribution
    std::size_t count = 0;
    double measuredMeanUm = 0;
    double measuredSdUm = 0;
    double predictedMeanUm = 0;
    double predictedSdUm = 0;
    thermochron::FitStatistic kolmogorovSmirnov { 0, 1 };
    thermochron::FitStatistic kuiper { 0, 1 };
};

// One comparison per set the sample has (projected first); none when the path leaves no track.
std::vector<LengthComparison> compareLengths(
    const std::optional<thermochron::TrackLengths>& predicted, const SampleLengths& measured);

// "lengths MRT009 (12 c-axis projected): MTL 13.21 SD 1.52 um, predicted 13.05 SD 1.60 um;
// K-S D 0.061 p 0.83, Kuiper V 0.10 p 0.72".
std::string lengthReportLine(const LengthComparison& comparison);

// The warning for the comparisons whose K-S or Kuiper p lies below 0.05, naming them; empty when
// there is none.
std::string lengthWarning(const std::vector<LengthComparison>& comparisons);

} // namespace ages

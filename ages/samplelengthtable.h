#pragma once
// The predicted confined-track length distributions of a fit's samples of lengths at its best
// fit (--lengths-output with --lengths), for the viewer to draw beside the measured histograms.
//
//   sample,length_um,pdf_projected,pdf_unprojected
//
// one block of 200 lines per sample of lengths, in the order of the lengths file: length_um is
// the middle of each 0.1 um bin from 0 to 20 um, pdf_projected and pdf_unprojected the share of
// the c-axis projected and of the unprojected tracks in the bin (each block sums to 1). A sample
// whose best path leaves no track to be measured has no block.

#include "thermochron/tracklengths.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace ages {

struct SampleLengthPrediction {
    std::string sample;
    std::optional<thermochron::TrackLengths> predicted; // none: every track erased
};

void writeSampleLengthTable(std::ostream& out, const std::vector<SampleLengthPrediction>& samples);

} // namespace ages

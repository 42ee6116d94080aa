#pragma once
// The erosion-history thermal model as a source of cooling paths: the path of the rock exposed
// today under a history of erosion phases (thermal/historypath.h), with its depths, and the ages
// along it as rows of the table.
//
//     const SamplePath path = historySamplePath(parameters, history);
//     const std::vector<AgeRow> rows = historyAgeRows(parameters, history, settings);
//
// The table's rate_mm_yr is the rate the surface erodes at today (the last phase's at 0 Ma);
// closure_depth_m is the rock's depth below today's surface at the age, read off the path.

#include "agerow.h"
#include "agesettings.h"
#include "erosionhistory.h"
#include "historypath.h"
#include "samplepath.h"
#include "thermalparameters.h"

#include <vector>

namespace ages {

// The thermal model's path as the age models read it, oldest first, with the rock's depth at each
// point. Throws InputError with the model's refusal (thermal::runError) when it cannot be run.
SamplePath historySamplePath(const thermal::ThermalParameters& parameters,
    const thermal::ErosionHistory& history, const thermal::Resolution& resolution = {});

// The same from a path the model has made.
SamplePath samplePathOf(const thermal::HistoryPath& path);

// The ages along the path of the rock exposed today, as pathAgeRows gives them, with the present
// rate in rate_mm_yr. Throws InputError when the model cannot run the history or the path leaves
// the temperatures the age models take (pathlimits.h).
std::vector<AgeRow> historyAgeRows(const thermal::ThermalParameters& parameters,
    const thermal::ErosionHistory& history, const AgeSettings& settings);

} // namespace ages

#pragma once
// What a run of cooling_ages computes, as plain values: the model and its parameters, the age
// options and the sweep of rates. The command line fills one (agecommandline.h); the Python
// module and the tests build one directly, without any command-line types.

#include "agesettings.h"
#include "historyrequest.h"
#include "periodicparameters.h"
#include "ratesweep.h"
#include "runparameters.h"
#include "terrainrequest.h"

#include <optional>
#include <string>

namespace ages {

extern const char* const versionString;

enum class Model { transient, periodic, path, history, terrain };

struct AgeRequest {
    Model model = Model::transient;
    erosion::RunParameters transient; // historyTime: the exposure time, Myr, not rounded
    periodic::PeriodicParameters periodic;
    std::string pathFile;
    HistoryRequest history; // history, and terrain's erosion history, thermal values and fit
    TerrainRequest terrain;
    AgeSettings settings;
    std::optional<RateSweep> sweep; // --rates: replaces the model's -r
    std::string outputFile; // --output; empty for standard output
    std::string lengthsOutputFile; // --lengths-output; empty for none
};

} // namespace ages

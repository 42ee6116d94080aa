#pragma once
// Where the models leave their results and the viewers find them, relative to the directory a
// program is started from (a run directory beside the "../output/" tree). One list, so that the
// programs that write a file and the viewers that read it cannot drift apart.

#include <array>

namespace resultpath {

// transient_erosion's twelve files, in the order the solver writes them.
namespace transient {
inline constexpr std::array<const char*, 4> geotherm {
    "../output/transient/geotherm/transient_T1.dat",
    "../output/transient/geotherm/transient_T2.dat",
    "../output/transient/geotherm/transient_T3.dat",
    "../output/transient/geotherm/transient_T4.dat",
};
inline constexpr const char* field = "../output/transient/temp_time/transient_Tnew.dat";
inline constexpr std::array<const char*, 4> isotherm {
    "../output/transient/temp_time/transient_isotherm1.dat",
    "../output/transient/temp_time/transient_isotherm2.dat",
    "../output/transient/temp_time/transient_isotherm3.dat",
    "../output/transient/temp_time/transient_isotherm4.dat",
};
inline constexpr const char* historyPairs = "../output/transient/temp_hist/transient_tempHist.dat";
inline constexpr const char* historyTimes = "../output/default_output/transient_timeHist.dat";
inline constexpr const char* historyTemps = "../output/default_output/transient_tempHist.dat";

// All twelve in order.
inline constexpr std::array<const char*, 12> all {
    geotherm[0],
    geotherm[1],
    geotherm[2],
    geotherm[3],
    field,
    isotherm[0],
    isotherm[1],
    isotherm[2],
    isotherm[3],
    historyPairs,
    historyTimes,
    historyTemps,
};
} // namespace transient

// periodic_topography's files that the periodic viewers read.
namespace periodic {
inline constexpr const char* topography = "../output/periodic/isotherm/periodic_topoY.dat";
inline constexpr std::array<const char*, 4> isotherm {
    "../output/periodic/isotherm/periodic_geo1.dat",
    "../output/periodic/isotherm/periodic_geo2.dat",
    "../output/periodic/isotherm/periodic_geo3.dat",
    "../output/periodic/isotherm/periodic_geo4.dat",
};
inline constexpr const char* ridgeHistory = "../output/periodic/temp_hist/periodic_ridge.dat";
inline constexpr const char* midValleyHistory
    = "../output/periodic/temp_hist/periodic_midValley.dat";
inline constexpr const char* valleyHistory = "../output/periodic/temp_hist/periodic_valley.dat";
} // namespace periodic

} // namespace resultpath

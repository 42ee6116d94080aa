#pragma once
// The solver's twelve result files, relative to the output tree, in the order they are written.
// Spelled out here rather than taken from the solver, so that a wrong path there fails the tests.

#include <array>

inline constexpr std::array<const char*, 12> resultFiles {
    "transient/geotherm/transient_T1.dat",
    "transient/geotherm/transient_T2.dat",
    "transient/geotherm/transient_T3.dat",
    "transient/geotherm/transient_T4.dat",
    "transient/temp_time/transient_Tnew.dat",
    "transient/temp_time/transient_isotherm1.dat",
    "transient/temp_time/transient_isotherm2.dat",
    "transient/temp_time/transient_isotherm3.dat",
    "transient/temp_time/transient_isotherm4.dat",
    "transient/temp_hist/transient_tempHist.dat",
    "default_output/transient_timeHist.dat",
    "default_output/transient_tempHist.dat",
};

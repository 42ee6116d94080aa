#pragma once
// The parts of the module erosion_thermal, one per family of functions, each adding its
// functions to the module. module.cpp calls them all; every function converts its arguments,
// calls the suite's libraries and converts the results back, and holds no model code.

#include <pybind11/pybind11.h>

namespace erosion_python {

void bindTransient(pybind11::module_& module); // transient_temperature, transient_path
void bindPeriodic(pybind11::module_& module); // periodic_paths
void bindHistory(pybind11::module_& module); // history_path
void bindAge(pybind11::module_& module); // age
void bindAges(pybind11::module_& module); // ages
void bindFit(pybind11::module_& module); // fit_rate_transient, fit_rate_periodic
void bindHistoryFit(pybind11::module_& module); // fit_history
void bindTerrain(pybind11::module_& module); // terrain_ages, fit_history_terrain
void bindBatch(pybind11::module_& module); // the compiled part of fit_batch

} // namespace erosion_python

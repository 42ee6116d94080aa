"""The transient erosion thermal suite from Python.

The models, the cooling ages and the fits of the suite's programs on numpy arrays, computed by the
same library functions that transient_erosion, periodic_topography and cooling_ages call:

    transient_temperature(depth_m, time_myr, ...)   the closed form, broadcast over arrays
    transient_path(exposure_myr=10, ...)            the path of the rock exposed at a time
    periodic_paths(...)                             ridge, mid-slope and valley paths, the profile
    history_path(erosion, ...)                      the erosion-history thermal model's path
    age(time_ma, temperature_c, system="AHe", ...)  one age along one path

Arguments carry their units in their names (rate_mm_yr, depth_m) and the programs' defaults;
values the programs refuse raise ValueError with the programs' messages. help() of each function
lists its arguments as the programs' --help lists their options.
"""

from ._core import age, history_path, periodic_paths, transient_path, transient_temperature

__all__ = ["age", "history_path", "periodic_paths", "transient_path", "transient_temperature"]

"""The transient erosion thermal suite from Python.

The models, the cooling ages and the fits of the suite's programs on numpy arrays, computed by the
same library functions that transient_erosion, periodic_topography and cooling_ages call:

    transient_temperature(depth_m, time_myr, ...)   the closed form, broadcast over arrays
    transient_path(exposure_myr=10, ...)            the path of the rock exposed at a time
    periodic_paths(...)                             ridge, mid-slope and valley paths, the profile
    history_path(erosion, ...)                      the erosion-history thermal model's path
    age(time_ma, temperature_c, system="AHe", ...)  one age along one path
    ages(path, systems=[...], method="all", ...)    cooling_ages's table of ages along a path
    fit_rate(observed, model="transient", rates=(start, stop, step), ...)
                                                    the erosion rate that explains measured ages

Arguments carry their units in their names (rate_mm_yr, depth_m) and the programs' defaults;
values the programs refuse raise ValueError with the programs' messages. help() of each function
lists its arguments as the programs' --help lists their options. Tables are pandas DataFrames when
pandas is installed (Debian: python3-pandas), dicts of columns otherwise.
"""

import functools
import os

from . import _core
from ._core import age, history_path, periodic_paths, transient_path, transient_temperature

try:
    import pandas
except ImportError:  # tables stay dicts of columns
    pandas = None

__all__ = ["age", "ages", "fit_rate", "history_path", "periodic_paths", "transient_path",
           "transient_temperature"]


def _table(columns):
    """A dict of columns as a DataFrame, when pandas is there."""
    return pandas.DataFrame(columns) if pandas is not None else columns


@functools.wraps(_core.ages)
def ages(*arguments, **options):
    return _table(_core.ages(*arguments, **options))


_FITS = {"transient": _core.fit_rate_transient, "periodic": _core.fit_rate_periodic}


def fit_rate(observed, model="transient", rates=None, **options):
    """fit_rate(observed, model="transient", rates=(start, stop, step), **options) -> dict

    The erosion rate that best explains measured ages: fit_rate_transient or fit_rate_periodic
    (below) by model, with observed a CSV file's path or a DataFrame with the file's columns,
    and residuals as a DataFrame. options are the keyword arguments of the model's fit.
    """
    if model not in _FITS:
        raise ValueError(f"model must be one of {', '.join(_FITS)} (got {model!r})")
    if rates is None:
        raise ValueError("rates must be given: (start, stop, step) in mm/yr")
    if isinstance(observed, (str, os.PathLike)):
        result = _FITS[model](os.fspath(observed), rates, **options)
    else:
        # A table goes through the file reader as the text of its CSV, so that it is checked
        # and read as a file is; its rows are counted from line 2, under the header.
        text = observed.to_csv(index=False)
        result = _FITS[model]("DataFrame", rates, observed_text=text, **options)
    result["residuals"] = _table(result["residuals"])
    return result


fit_rate.__doc__ += "\n" + "\n".join(
    function.__doc__ for function in _FITS.values())

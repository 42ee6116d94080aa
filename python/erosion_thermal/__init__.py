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
    fit_history(observed, erosion, phases, rates=(min, max), ...)
                                                    the history of 1 to 3 phases that explains them
    terrain_ages(dem, erosion, observed=..., ...)   the 3D model under a DEM: samples' ages, map
    fit_history(..., model="terrain", dem=...)      the history fit with the 3D model

Arguments carry their units in their names (rate_mm_yr, depth_m) and the programs' defaults;
values the programs refuse raise ValueError with the programs' messages, and a keyword that no
argument has raises TypeError naming the nearest ones. help() of each function lists its
arguments as the programs' --help lists their options. Tables are pandas DataFrames when pandas
is installed (Debian: python3-pandas), dicts of columns otherwise. The fits run on all cores with
the GIL released, and Ctrl-C stops them (KeyboardInterrupt).
"""

import difflib
import functools
import os
import re

from . import _core

try:
    import pandas
except ImportError:  # tables stay dicts of columns
    pandas = None

__all__ = ["age", "ages", "fit_history", "fit_rate", "history_path", "periodic_paths",
           "terrain_ages", "transient_path", "transient_temperature"]


def _keywords(function):
    """The argument names of a compiled function, read off the signature its docstring opens
    with: "name(first: type, *, second: type = default) -> result"."""
    signature = function.__doc__.split("\n", 1)[0]
    return frozenset(re.findall(r"(?:\(|, )(\w+):", signature))


def _check_keywords(name, given, known):
    """TypeError for the first keyword that is not an argument, naming the nearest that are."""
    for keyword in given:
        if keyword not in known:
            near = difflib.get_close_matches(keyword, known, n=3)
            hint = f"; did you mean {' or '.join(map(repr, near))}?" if near else ""
            raise TypeError(f"{name}() got an unexpected keyword argument {keyword!r}{hint}")


def _checked(function):
    """The compiled function with its keywords checked first: pybind11 would answer a mistyped
    keyword with a page of every accepted signature."""
    known = _keywords(function)

    @functools.wraps(function)
    def call(*arguments, **options):
        _check_keywords(function.__name__, options, known)
        return function(*arguments, **options)
    return call


def _table(columns):
    """A dict of columns as a DataFrame, when pandas is there."""
    return pandas.DataFrame(columns) if pandas is not None else columns


def _observed(observed, options):
    """The measured ages as the fits take them: a file's path, or a table's CSV text under the
    label "DataFrame" (in options), so that a table is checked and read as a file is; its rows are
    counted from line 2, under the header. to_csv quotes a field that holds a comma."""
    if isinstance(observed, (str, os.PathLike)):
        return os.fspath(observed)
    options["observed_text"] = observed.to_csv(index=False)
    return "DataFrame"


age = _checked(_core.age)
history_path = _checked(_core.history_path)
periodic_paths = _checked(_core.periodic_paths)
transient_path = _checked(_core.transient_path)
transient_temperature = _checked(_core.transient_temperature)
_ages = _checked(_core.ages)


@functools.wraps(_core.ages)
def ages(*arguments, **options):
    return _table(_ages(*arguments, **options))


_FITS = {"transient": _core.fit_rate_transient, "periodic": _core.fit_rate_periodic}
_FIT_KEYWORDS = {model: _keywords(function) for model, function in _FITS.items()}


def fit_rate(observed, model="transient", rates=None, **options):
    """fit_rate(observed, model="transient", rates=(start, stop, step), **options) -> dict

    The erosion rate that best explains measured ages: fit_rate_transient or fit_rate_periodic
    (below) by model, with observed a CSV file's path or a DataFrame with the file's columns,
    and residuals as a DataFrame. options are the keyword arguments of the model's fit.
    """
    if model not in _FITS:
        raise ValueError(f"model must be one of {', '.join(_FITS)} (got {model!r})")
    _check_keywords("fit_rate", options, _FIT_KEYWORDS[model] | {"model"})
    if rates is None:
        raise ValueError("rates must be given: (start, stop, step) in mm/yr")
    result = _FITS[model](_observed(observed, options), rates, **options)
    result["residuals"] = _table(result["residuals"])
    return result


fit_rate.__doc__ += "\n" + "\n".join(
    function.__doc__ for function in _FITS.values())

_fit_history = _checked(_core.fit_history)
_fit_history_terrain = _checked(_core.fit_history_terrain)


@functools.wraps(_core.fit_history)
def fit_history(observed, *arguments, model="history", **options):
    if model == "history":
        fit = _fit_history
    elif model == "terrain":
        fit = _fit_history_terrain
    else:
        raise ValueError(f"model must be history or terrain (got {model!r})")
    for name in ("dem", "uplift_map"):
        if options.get(name) is not None:
            options[name] = os.fspath(options[name])
    result = fit(_observed(observed, options), *arguments, **options)
    for name in ("profiles", "tried", "posterior", "residuals"):
        if result[name] is not None:
            result[name] = _table(result[name])
    return result


fit_history.__doc__ += ("\n\nmodel='terrain' fits with the 3D model under a DEM (dem=..., and the "
                        "arguments of fit_history_terrain below) as the forward model.\n\n"
                        + _core.fit_history_terrain.__doc__)

_terrain_ages = _checked(_core.terrain_ages)


@functools.wraps(_core.terrain_ages)
def terrain_ages(dem, erosion, observed=None, **options):
    """The table of the samples' ages as a DataFrame (a dict of columns without pandas), with
    summary, chi2, residuals (a DataFrame) and age_map in its attrs; without pandas the dict
    _core.terrain_ages returns."""
    if observed is not None:
        observed = _observed(observed, options)
    if options.get("uplift_map") is not None:
        options["uplift_map"] = os.fspath(options["uplift_map"])
    result = _terrain_ages(os.fspath(dem), erosion, observed=observed, **options)
    if pandas is None:
        return result
    table = pandas.DataFrame(result["table"])
    for name in ("summary", "chi2", "age_map"):
        table.attrs[name] = result[name]
    table.attrs["residuals"] = (pandas.DataFrame(result["residuals"])
                                if result["residuals"] is not None else None)
    return table

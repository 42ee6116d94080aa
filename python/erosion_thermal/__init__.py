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
           "transient_path", "transient_temperature"]


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
    counted from line 2, under the header. to_csv quotes a field that holds a comma. None: no
    ages (a fit of track lengths alone). The track lengths of options["lengths"] likewise, a
    table's text under the label "lengths DataFrame"."""
    lengths = options.get("lengths")
    if lengths is not None and not isinstance(lengths, (str, os.PathLike)):
        options["lengths_text"] = lengths.to_csv(index=False)
        options["lengths"] = "lengths DataFrame"
    elif lengths is not None:
        options["lengths"] = os.fspath(lengths)
    if observed is None or isinstance(observed, (str, os.PathLike)):
        return None if observed is None else os.fspath(observed)
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
    (below) by model, with observed a CSV file's path or a DataFrame with the file's columns
    (None for a fit of lengths alone), lengths likewise, and residuals and lengths as
    DataFrames. options are the keyword arguments of the model's fit.
    """
    if model not in _FITS:
        raise ValueError(f"model must be one of {', '.join(_FITS)} (got {model!r})")
    _check_keywords("fit_rate", options, _FIT_KEYWORDS[model] | {"model"})
    if rates is None:
        raise ValueError("rates must be given: (start, stop, step) in mm/yr")
    result = _FITS[model](_observed(observed, options), rates, **options)
    for name in ("residuals", "lengths"):
        result[name] = _table(result[name])
    return result


fit_rate.__doc__ += "\n" + "\n".join(
    function.__doc__ for function in _FITS.values())

_fit_history = _checked(_core.fit_history)


@functools.wraps(_core.fit_history)
def fit_history(observed, *arguments, **options):
    result = _fit_history(_observed(observed, options), *arguments, **options)
    for name in ("profiles", "tried", "posterior", "residuals", "lengths"):
        if result[name] is not None:
            result[name] = _table(result[name])
    return result

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
    fit_batch(data, by="site", client=None, model="transient", ...)
                                                    every group of a compilation fitted alone, on
                                                    local threads or as tasks of a Dask cluster

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
import uuid

from . import _core

try:
    import pandas
except ImportError:  # tables stay dicts of columns
    pandas = None

__all__ = ["age", "ages", "fit_batch", "fit_history", "fit_rate", "history_path", "periodic_paths",
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
    if result["map"] is not None:  # fit_base: the misfit over rate x base
        result["map"] = _table(result["map"])
    return result


fit_rate.__doc__ += "\n" + "\n".join(
    function.__doc__ for function in _FITS.values())

_fit_history = _checked(_core.fit_history)
_fit_history_terrain = _checked(_core.fit_history_terrain)
_HISTORY_KEYWORDS = _keywords(_core.fit_history)


def _history_chain_task(chain, label, arguments, options):
    """Chain k of a sampler's fit: the task a Dask worker runs."""
    return _core._history_chain(label, *arguments, chain=chain, **options)


@functools.wraps(_core.fit_history)
def fit_history(observed, *arguments, model="history", client=None, **options):
    if model not in ("history", "terrain"):
        raise ValueError(f"model must be history or terrain (got {model!r})")
    for name in ("dem", "uplift_map"):
        if options.get(name) is not None:
            options[name] = os.fspath(options[name])
    if model == "history":
        _check_keywords("fit_history", options, _HISTORY_KEYWORDS)
    label = _observed(observed, options)
    if model == "terrain":
        result = _fit_history_terrain(label, *arguments, **options)
    elif client is None or options.get("sampler") != "mcmc":
        result = _fit_history(label, *arguments, **options)
    else:
        # Each chain one task of the cluster; the merge is the fit's own, bit for bit.
        chains = options.get("chains") or 1
        futures = client.map(_history_chain_task, range(chains), label=label,
                             arguments=arguments, options=options, pure=False)
        result = _core._fit_history_chains(label, *arguments, runs=client.gather(futures),
                                           **options)
    for name in ("profiles", "tried", "posterior", "residuals", "lengths"):
        if result.get(name) is not None:
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


fit_history.__doc__ += """

client: a dask.distributed Client; with sampler="mcmc" each of the chains is one task of its
cluster (the answer the same, bit for bit, as on local threads). Without one, or for the grid,
the fit runs here.
"""


_BATCH_MODELS = {"transient": _core._batch_model_transient,
                 "periodic": _core._batch_model_periodic,
                 "history": _core._batch_model_history,
                 "terrain": _core._batch_model_terrain}
_BATCH_KEYWORDS = {model: _keywords(function) - {"observed", "observed_text"}
                   for model, function in _BATCH_MODELS.items()}


def _batch_data(data):
    """The label and the text of the measured ages: a file's bytes as they are, or a table's CSV
    under the label "DataFrame"."""
    if isinstance(data, (str, os.PathLike)):
        with open(data, "rb") as stream:
            return os.fspath(data), stream.read()
    return "DataFrame", data.to_csv(index=False)


def _batch_model(model, label, options):
    """The model every group is fitted with, refused (ValueError) as the fit of one file refuses
    its arguments."""
    for name in ("dem", "uplift_map"):
        if options.get(name) is not None:
            options = dict(options, **{name: os.fspath(options[name])})
    return _BATCH_MODELS[model](label, **options)


# The model of the batch a worker process is fitting, by the batch's key: made from the plain
# arguments at the worker's first task of the batch and kept for the others (the terrain model
# reads its DEM then), one batch at a time.
_worker_models = {}


def _worker_batch_model(batch_key, model, label, options):
    batch = _worker_models.get(batch_key)
    if batch is None:
        batch = _batch_model(model, label, options)
        _worker_models.clear()
        _worker_models[batch_key] = batch
    return batch


def _fit_chunk_task(groups, batch_key, model, label, options):
    """The rows of a few groups of the table: the task a Dask worker runs. Only the groups and the
    plain arguments travel; the model is made once per worker and batch."""
    batch = _worker_batch_model(batch_key, model, label, options)
    return [_core._fit_group(batch, group) for group in groups]


def _chunks(groups, workers):
    """The groups in runs of consecutive ones, some eight tasks per worker and at most 16 groups
    a task: a task costs the cluster some milliseconds of its own, a group as little as one."""
    size = max(1, min(16, len(groups) // (8 * max(workers, 1))))
    return [groups[k:k + size] for k in range(0, len(groups), size)]


def fit_batch(data, by="site", client=None, model="transient", threads=None, **fit_options):
    """fit_batch(data, by="site", client=None, model="transient", threads=None, **fit_options)
    -> DataFrame

    Every group of rows of data that share the column by (a site, a sample) fitted on its own with
    one model and its options, as cooling_ages batch --observed FILE --by COLUMN --model MODEL fits
    them: one row per group, in the order of the groups' first rows, with the columns of the
    program's table (group, ages, status, the best rate or history and its ranges, chi2,
    reduced_chi2, the warnings as columns, warnings, refusal). A group that cannot be fitted holds
    its refusal and the others go on; ValueError when every group is refused, or for options that
    no group could be fitted with.

    data: a CSV file's path or a DataFrame with the file's columns and by. model: "transient" or
    "periodic" (fit_options those of fit_rate for that model, rates=(start, stop, step) among
    them), "history" (those of fit_history: erosion, phases, ...) or "terrain" (those of
    fit_history with model="terrain": erosion, phases, dem, ...; the DEM read once, and once per
    Dask worker). Without a client the groups
    run on threads local threads (default: one per core), the GIL released; with a
    dask.distributed Client each group is one task on its cluster (a LocalCluster, or one of
    dask-jobqueue's SLURMCluster or PBSCluster), whose workers must import erosion_thermal (with
    model="terrain" they must see the DEM at its path); a task takes a few consecutive groups. The
    rows are the same, bit for bit, either way and with any number of workers or threads.
    """
    if model not in _BATCH_MODELS:
        raise ValueError(f"model must be one of {', '.join(_BATCH_MODELS)} (got {model!r})")
    _check_keywords("fit_batch", fit_options, _BATCH_KEYWORDS[model])
    label, text = _batch_data(data)
    batch = _batch_model(model, label, fit_options)
    groups = _core._batch_groups(text, label, by)
    if client is None:
        rows = _core._fit_groups(batch, groups, threads or os.cpu_count() or 1)
    else:
        workers = sum(client.nthreads().values())
        futures = client.map(_fit_chunk_task, _chunks(groups, workers),
                             batch_key=uuid.uuid4().hex, model=model, label=label,
                             options=fit_options, pure=False)
        rows = [row for chunk in client.gather(futures) for row in chunk]
    columns = batch.columns
    status, refusal = columns.index("status"), columns.index("refusal")
    if rows and all(row[status] == "refused" for row in rows):
        raise ValueError(f"every group was refused; the first, {rows[0][0]!r}: "
                         f"{rows[0][refusal]}")
    if pandas is not None:
        return pandas.DataFrame(rows, columns=columns)
    return {name: [row[k] for row in rows] for k, name in enumerate(columns)}

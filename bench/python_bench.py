#!/usr/bin/env python3
"""Times the Python module erosion_thermal against the C++ loops of bench/module_bench.cpp, which
do the same work: the closed form over a million points, one age along the default transient
path (Dodson closure and the kinetic AHe age), and a Dodson age along a path of two points, whose
model costs next to nothing, so that the time beyond C++ is the module's cost per call.

    PYTHONPATH=build/python python3 bench/python_bench.py [BUILD_DIR] [--repetitions N]

runs BUILD_DIR/bin/module_bench (Google Benchmark, its medians of N repetitions), times the
module's calls (medians of N repetitions as well), and prints both: wall time, the ratio of
transient_temperature to the C++ loop, and the time an age() call takes beyond the model's own.
"""

import argparse
import json
import pathlib
import statistics
import subprocess
import time

import numpy as np

import erosion_thermal as et

GRID_SIDE = 1000  # a grid of GRID_SIDE x GRID_SIDE points, as module_bench's


def median_seconds(call, repetitions, number):
    """The median over repetitions of the wall time of one call, each timed over number calls."""
    times = []
    for _ in range(repetitions):
        start = time.perf_counter()
        for _ in range(number):
            call()
        times.append((time.perf_counter() - start) / number)
    return statistics.median(times)


def cpp_medians(build, repetitions):
    """module_bench's median wall time per benchmark, in seconds."""
    done = subprocess.run([str(build / "bin" / "module_bench"), "--benchmark_format=json",
                           f"--benchmark_repetitions={repetitions}",
                           "--benchmark_report_aggregates_only=true"],
                          check=True, capture_output=True, text=True)
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    return {entry["run_name"]: entry["real_time"] * scale[entry["time_unit"]]
            for entry in json.loads(done.stdout)["benchmarks"]
            if entry.get("aggregate_name") == "median"}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default="build", type=pathlib.Path)
    parser.add_argument("--repetitions", type=int, default=5)
    options = parser.parse_args()

    cpp = cpp_medians(options.build, options.repetitions)

    depth_m = np.linspace(0, 10000, GRID_SIDE)[:, np.newaxis]
    time_myr = np.linspace(0, 20, GRID_SIDE)[np.newaxis, :]
    grid = median_seconds(lambda: et.transient_temperature(depth_m, time_myr),
                          options.repetitions, 3)

    path = et.transient_path()
    ages = {method: median_seconds(
        lambda: et.age(path["time_ma"], path["temperature_c"], system="AHe", method=method),
        options.repetitions, 200)
        for method in ("dodson", "kinetic")}
    two_points = (np.array([10.0, 0.0]), np.array([120.0, 0.0]))
    ages["two points"] = median_seconds(lambda: et.age(*two_points, method="dodson"),
                                        options.repetitions, 20000)

    print(f"{'work':44} {'C++':>10} {'Python':>10} {'ratio':>7} {'beyond C++':>11}")
    rows = [("closed form, 10^6 points (ms)", cpp["closedFormGrid"], grid, 1e3),
            ("age(), AHe Dodson, 1001-point path (us)", cpp["predictAge/AHe_dodson"],
             ages["dodson"], 1e6),
            ("age(), AHe kinetic (RDAAM) (us)", cpp["predictAge/AHe_kinetic"],
             ages["kinetic"], 1e6),
            ("age(), AHe Dodson, 2-point path (us)", cpp["predictAge/AHe_dodson_two_points"],
             ages["two points"], 1e6)]
    for name, cpp_seconds, python_seconds, unit in rows:
        print(f"{name:44} {cpp_seconds * unit:10.2f} {python_seconds * unit:10.2f} "
              f"{python_seconds / cpp_seconds:7.2f} {(python_seconds - cpp_seconds) * unit:11.2f}")


if __name__ == "__main__":
    main()

"""What the tests of the Python module share: the built programs they compare it with, run in a
temporary directory, and the programs' ways of writing numbers.

ctest passes EROSION_BIN, the build tree's bin/ folder; run by hand, the tests take build/bin."""

import math
import os
import pathlib
import subprocess

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
BIN = pathlib.Path(os.environ.get("EROSION_BIN", ROOT / "build" / "bin"))


def run_program(name, *arguments, cwd=None, check=True):
    """Runs one of the suite's programs; returns the finished process (text output)."""
    done = subprocess.run([str(BIN / name), *map(str, arguments)], cwd=cwd,
                          capture_output=True, text=True)
    if check and done.returncode != 0:
        raise AssertionError(f"{name} failed: {done.stderr}")
    return done


def refusal(name, *arguments):
    """The one-line message with which a program refuses its arguments, without "ERROR: "."""
    done = run_program(name, *arguments, check=False)
    assert done.returncode == 1
    line = done.stderr.strip().splitlines()[-1]
    assert line.startswith("ERROR: ")
    return line[len("ERROR: "):]


def word(value):
    """A number as the programs write it: six significant digits, NaN as the word NaN."""
    return "NaN" if math.isnan(value) else "%.6g" % (value + 0.0)


def field(value):
    """A number as cooling_ages writes a CSV field: six significant digits, empty for NaN."""
    return "" if math.isnan(value) else word(value)


@pytest.fixture
def workspace(tmp_path):
    """A run directory beside the output tree that periodic_topography writes into."""
    for folder in ("isotherm", "temp_hist"):
        (tmp_path / "output" / "periodic" / folder).mkdir(parents=True)
    (tmp_path / "run").mkdir()
    return tmp_path

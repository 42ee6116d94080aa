"""The layering check finds the crossings it is there for, and passes what is allowed."""

import pathlib
import sys

import pytest

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import check_layers  # noqa: E402


def tree(tmp_path, files):
    for name, text in files.items():
        path = tmp_path / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text, encoding="utf-8")
    for folder in check_layers.MAY_USE:
        (tmp_path / folder).mkdir(exist_ok=True)
    return tmp_path


@pytest.mark.parametrize("files, crossing", [
    # An engine that reads measured data, or the program, knows a file: refused.
    ({"measured/observedages.h": "", "inversion/ratefit.cpp": '#include "observedages.h"\n'},
     "inversion/ratefit.cpp: includes observedages.h of measured"),
    # The engines may know the erosion history, and nothing else of thermal/.
    ({"thermal/historypath.h": "", "inversion/fit.cpp": '#include "historypath.h"\n'},
     "may use only for erosionhistory.h"),
    ({"ages/fitstage.cpp": "#include <CLI/CLI.hpp>\n"}, "the command line's library"),
    ({"ages/coolingages.h": "", "python/src/fit.cpp": '#include "coolingages.h"\n'},
     "a command-line header"),
])
def test_a_crossing_is_named(tmp_path, files, crossing):
    found = check_layers.crossings(tree(tmp_path, files))
    assert any(crossing in line for line in found), found


def test_allowed_includes_pass(tmp_path):
    files = {
        "thermal/erosionhistory.h": "", "inversion/fit.cpp": '#include "erosionhistory.h"\n',
        "ages/agecommandline.h": "#include <CLI/CLI.hpp>\n",
        "ages/agecommandline.cpp": '#include "agecommandline.h"\n#include <CLI/CLI.hpp>\n',
        "common/strictnumber.h": "", "measured/read.cpp": '#include "strictnumber.h"\n',
        "python/src/x.cpp": '#include <pybind11/pybind11.h>\n#include "strictnumber.h"\n',
    }
    assert check_layers.crossings(tree(tmp_path, files)) == []

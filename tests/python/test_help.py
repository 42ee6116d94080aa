"""help() of every function reads like the programs' --help: every argument of its signature has
its line, with a unit where the name carries one."""

import re

import pytest

import erosion_thermal as et

FUNCTIONS = [et.transient_temperature, et.transient_path, et.periodic_paths, et.history_path,
             et.age, et.ages, et.fit_rate, et.fit_history]
# The unit each ending of a name stands for, as the help writes it; the longest ending wins.
UNITS = {"_ma": "(Ma", "_c": "(C)", "_m": "(m)", "_myr": "(Myr", "_mm_yr": "(mm/yr)", "_um": "(um)",
         "_ppm": "(ppm)", "_m2_s": "(m2/s)", "_c_km": "(C/km)", "_c_m": "(C/m)",
         "_w_m_k": "(W/m/K)", "_mw_m2": "(mW/m2)", "_uw_m3": "(uW/m3)"}


@pytest.mark.parametrize("function", FUNCTIONS, ids=lambda function: function.__name__)
def test_every_argument_of_the_signature_has_a_line_with_its_unit(function):
    text = function.__doc__
    for signature in re.findall(r"^(\w+)\((.*)\) ->", text, flags=re.MULTILINE):
        for name in re.findall(r"(\w+):", signature[1]):
            line = re.search(rf"^\s+{name}\s\s+(.*(?:\n\s{{8,}}.*)*)", text, flags=re.MULTILINE)
            assert line, f"{function.__name__}: no line for {name}"
            ends = [end for end in UNITS if name.endswith(end)]
            unit = UNITS[max(ends, key=len)] if ends else ""
            assert unit in line.group(1), f"{function.__name__}: {name} without {unit}"

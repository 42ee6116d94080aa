#!/usr/bin/env python3
"""Fails when an include crosses the suite's layering (docs/architecture.md).

Each source folder may include headers of its own and of the folders listed for it below, and
nothing else. An include is resolved as the compiler does for this tree: in the including file's
folder first, then in the folders it may use; a header found only in a folder it may not use is
a crossing. Headers in <...> are the system's, but for the command-line library (CLI11): of the
libraries behind cooling_ages and the Python module, only the program's command line includes it.

    check_layers.py SOURCE_ROOT
"""

import pathlib
import re
import sys

# Which folders each folder may include, besides itself.
MAY_USE = {
    "common": set(),
    "solver": {"common"},
    "periodic": {"common", "solver"},
    "thermochron": {"common"},
    "thermal": {"common"},
    "terrain": {"common", "thermal", "thermochron", "periodic"},
    "measured": {"common", "thermochron"},
    "inversion": {"common", "thermal"},
    "predictions": {"common", "solver", "periodic", "thermochron", "thermal", "measured",
                    "inversion", "terrain"},
    "ages": {"common", "solver", "periodic", "thermochron", "thermal", "measured", "inversion",
             "predictions", "terrain"},
    "python": {"common", "solver", "periodic", "thermochron", "thermal", "measured",
               "inversion", "predictions", "ages", "terrain"},
    "verify": {"common", "solver", "periodic", "thermochron", "thermal"},
    "plotter": {"common"},
    "viewers": {"common", "plotter", "inversion", "measured", "thermochron"},
}

# The one thing the inversion engines know of a model: the list of phases they parametrise.
ONLY_THESE = {("inversion", "thermal"): {"erosionhistory.h"}}

# The folders where CLI11 is kept to the command line.
NO_CLI = {"measured", "inversion", "predictions", "ages", "python"}

# The program's command line: the only files that may include CLI11, and that the Python module
# (which builds its requests as plain values) must not include.
COMMAND_LINE = {"agecommandline.h", "historyoptions.h", "numberoptions.h", "fitcommandline.h",
                "coolingages.h", "terrainoptions.h", "batchcommandline.h"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)


def crossings(root):
    headers = {}  # folder -> names of its headers
    for folder in MAY_USE:
        headers[folder] = {path.name for path in (root / folder).rglob("*.h")}
    found = []
    for folder, allowed in MAY_USE.items():
        for source in sorted((root / folder).rglob("*")):
            if source.suffix not in (".h", ".cpp"):
                continue
            where = f"{source.relative_to(root)}"
            for bracket, name in INCLUDE.findall(source.read_text(encoding="utf-8")):
                if bracket == "<":
                    if name.startswith("CLI/") and folder in NO_CLI \
                            and source.stem + ".h" not in COMMAND_LINE:
                        found.append(f"{where}: includes <{name}>, the command line's library")
                    continue
                parts = name.split("/")
                base = parts[-1]
                if len(parts) == 2 and parts[0] in MAY_USE:
                    owners = [parts[0]] if base in headers[parts[0]] else []
                else:
                    owners = [f for f in MAY_USE if base in headers[f]]
                if folder in owners or not owners:
                    continue  # its own header, or one of a library outside the tree
                usable = [f for f in owners if f in allowed]
                if not usable:
                    found.append(f"{where}: includes {name} of {', '.join(owners)}")
                    continue
                only = ONLY_THESE.get((folder, usable[0]))
                if only is not None and base not in only:
                    found.append(f"{where}: includes {name} of {usable[0]}, which it may use "
                                 f"only for {', '.join(sorted(only))}")
                if folder == "python" and base in COMMAND_LINE:
                    found.append(f"{where}: includes {name}, a command-line header")
    return found


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    found = crossings(root)
    for line in found:
        print(line)
    print(f"{len(found)} crossings of the layering" if found else "no crossings of the layering")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

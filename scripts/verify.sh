#!/usr/bin/env bash
# Prints the verification table: each check of the models against a published value, an exact
# solution or an independent solution, with its source, the expected value, the suite's value,
# their difference and the tolerance. Exits 1 if any check fails. Builds nothing: it runs the
# verify_checks of an existing build tree (BUILD_DIR, default build), which scripts/test.sh
# builds with everything else. Takes well under a second.
#
#   scripts/verify.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
program="$build_dir/bin/verify_checks"
if [[ ! -x "$program" ]]; then
    echo "ERROR: $program is not built (cmake --build $build_dir --target verify_checks)" >&2
    exit 1
fi
exec "$program"

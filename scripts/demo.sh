#!/usr/bin/env bash
# The main job: installs what is missing, builds the suite, lays out a workspace and runs the
# solver on its defaults there, then lists what it wrote.
#
# The workspace (default ./demo, or the first argument) holds the output tree that the programs
# expect beside their working directory:
#   demo/output/transient/{geotherm,temp_time,temp_hist}/  demo/output/default_output/
#   demo/output/plots/                                     demo/run/  (the working directory)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
workspace=$(mkdir -p "${1:-$root/demo}" && cd "${1:-$root/demo}" && pwd)
build_dir=${BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" >/dev/null
bin="$build_dir/bin"

output="$workspace/output"
mkdir -p "$output"/transient/{geotherm,temp_time,temp_hist} "$output/default_output" \
         "$output/plots" "$workspace/run"
cd "$workspace/run"

echo "== transient_erosion (defaults: 0.5 mm/yr, 50 km, geotherms at 0 5 10 15 Myr)"
"$bin/transient_erosion"
echo "Wrote:"
find "$output/transient" "$output/default_output" -type f -printf '  %p (%s bytes)\n' | sort

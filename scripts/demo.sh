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

# The plots of that run, drawn by the viewers' own code without a window. The arguments repeat
# the run's values: 50 km model depth, 0.5 mm/yr, geotherms at 0 5 10 15 Myr, isotherms at 60
# 120 250 350 C, the cooling history of the rock exposed at 10 Myr.
echo "== render_plot (the geotherm, isotherm-depth and cooling-history plots of this run)"
plots="$output/plots"
"$bin/render_plot" plot_geotherm "$plots/image_geotherm.png" 50000 0.5 0 5 10 15 0
"$bin/render_plot" plot_temp_time "$plots/image_temp_time.png" 0 0.5 60 120 250 350
"$bin/render_plot" plot_temp_hist "$plots/image_temp_hist.png" 10 0
echo "Plots:"
for plot in image_geotherm image_temp_time image_temp_hist; do
    echo "  $plots/$plot.png"
done

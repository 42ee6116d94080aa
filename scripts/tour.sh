#!/usr/bin/env bash
# The README's tour: fits the published AFT vertical profile of examples/ (Rahn et al. 1997,
# Glarus Alps) with a constant erosion rate and with a two-phase erosion history, prints the
# summaries, and renders the tour's figures into docs/ (tour_*.png). Builds nothing: it runs the
# programs of an existing build tree (BUILD_DIR, default build). Called by nothing in CI.
#
#   scripts/tour.sh [WORKDIR]      # the tables go to WORKDIR (default: a new temporary directory)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${BUILD_DIR:-$root/build}/bin
work=${1:-$(mktemp -d)}
mkdir -p "$work"
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
    export XDG_RUNTIME_DIR=$(mktemp -d)
fi
observed="$root/examples/rahn1997_glarus_ruchi_aft_profile.csv"
docs="$root/docs"
cd "$work"

# 1. A constant rate. The profile spans 725 to 3100 m: the periodic model's relief (-A 1200 m,
# ridge to valley 2400 m) around a mean surface at 1910 m holds every sample; the default
# wavelength (20 km) and paths (-o 20 Myr, long enough to reset AFT at these rates) stay.
echo "== cooling_ages periodic: the rate"
"$bin/cooling_ages" periodic --mean-elevation 1910 -A 1200 --rates 0.1:2:0.01 --systems AFT \
    --observed "$observed" --fit-output fit.csv --residuals residuals.csv 2>summary.txt
cat summary.txt
best=$(sed -n 's|^best rate: \([0-9.]*\) mm/yr.*|\1|p' summary.txt)
echo "== cooling_ages periodic: the profile at the best rate, $best mm/yr"
"$bin/cooling_ages" periodic --mean-elevation 1910 -A 1200 -r "$best" --systems AFT \
    --method kinetic --output profile_ages.csv

# 2. The warning of paths too short for the ages.
echo "== cooling_ages periodic with paths too short (-o 5)"
"$bin/cooling_ages" periodic --mean-elevation 1910 -A 1200 --rates 0.1:2:0.01 -o 5 \
    --observed "$observed" || true

# 3. Two phases of erosion from 20 Ma.
echo "== cooling_ages history: two phases"
"$bin/cooling_ages" history --erosion 20:0.3 --observed "$observed" --mean-elevation 1910 --fit-phases 2 \
    --fit-output history_fit.csv --profile-output history_profile.csv \
    --residuals history_residuals.csv --elevation-output history_elevation.csv --output /dev/null

# The figures.
render() { "$bin/render_plot" plot_ages "$@"; echo "  wrote $1"; }
render "$docs/tour_misfit.png" misfit fit.csv
render "$docs/tour_elevation.png" elevation profile_ages.csv "$observed"
render "$docs/tour_residuals.png" residuals residuals.csv
render "$docs/tour_history.png" history history_fit.csv
render "$docs/tour_history_profile.png" profile history_profile.csv
render "$docs/tour_history_misfit_map.png" misfit-map history_fit.csv
render "$docs/tour_history_elevation.png" elevation history_elevation.csv "$observed" \
    history_residuals.csv
echo "tables in $work"

#!/usr/bin/env bash
# Lays out a workspace for the suite's programs (default ./demo, or the first argument):
#   WORKSPACE/output/transient/{geotherm,temp_time,temp_hist}/  WORKSPACE/output/default_output/
#   WORKSPACE/output/periodic/{isotherm,temp_hist}/             WORKSPACE/output/plots/
#   WORKSPACE/run/               the working directory of the solvers and the viewers
#   WORKSPACE/run/output/plots/  where plot_temp_time's save button writes (below its run
#                                directory; the other viewers save to ../output/plots/)
# Existing files are kept; prints the workspace's absolute path.
set -euo pipefail
workspace=$(mkdir -p "${1:-demo}" && cd "${1:-demo}" && pwd)
output="$workspace/output"
mkdir -p "$output"/transient/{geotherm,temp_time,temp_hist} "$output/default_output" \
         "$output"/periodic/{isotherm,temp_hist} "$output/plots" "$workspace/run" \
         "$workspace/run/output/plots"
echo "$workspace"

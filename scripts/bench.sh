#!/usr/bin/env bash
# Times whole runs on fine grids, side by side: transient_erosion, the same solver on its plain
# single-thread path (transient_erosion_plain, built for benchmarks only) and the numpy/scipy
# script a user would otherwise write (bench/numpy_peer.py), at
# the erosion rates given (default 0.1 0.05 0.01 mm/yr: 501, 1001 and 5001 nodes). Each program
# runs in its own temporary workspace (a run directory beside an output tree); wall clock,
# medians of 5 runs after one warm-up, files written into the page cache. Prints a table of
# medians and ratios, and the solver's peak memory against its bound of 8 x nodes^2 bytes +
# 64 MiB; checks that the solver and its plain path wrote the same files.
#
#   scripts/bench.sh [RATE ...]
#
# Other work on the machine distorts the numbers: the load average is printed before and after.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
rates=("$@")
((${#rates[@]} > 0)) || rates=(0.1 0.05 0.01)
runs=5

peer="$repo/bench/numpy_peer.py"

"$repo/scripts/install-deps.sh" --bench
build_dir=${BENCH_BUILD_DIR:-$repo/build-bench}
cmake -S "$repo" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" --target transient_erosion transient_erosion_plain -j2 >/dev/null
solver="$build_dir/bin/transient_erosion"
plain="$build_dir/bin/transient_erosion_plain"

workspace=$(mktemp -d "${TMPDIR:-/tmp}/erosion-bench.XXXXXX")
trap 'rm -rf "$workspace"' EXIT

# A run directory beside its own output tree with the four result directories.
make_workspace() {
    local root="$workspace/$1"
    mkdir -p "$root/run" "$root"/output/transient/{geotherm,temp_time,temp_hist} \
        "$root/output/default_output"
    echo "$root/run"
}
solver_run=$(make_workspace solver)
plain_run=$(make_workspace plain)
peer_run=$(make_workspace peer)

# OPENBLAS_CORETYPE and OPENBLAS_L2_SIZE, where set to keep old OpenBLAS builds from faulting on
# some processors, slow a current numpy: they are unset for the numpy runs alone.
peer_command=(env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE /usr/bin/python3)
echo "numpy's BLAS: $("${peer_command[@]}" -c 'import numpy, threadpoolctl
info = threadpoolctl.threadpool_info()
print(", ".join(i["internal_api"] + " " + str(i.get("architecture")) for i in info) or "reference BLAS (no thread pool)")')"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"

results="$workspace/results"
mkdir -p "$results"
for rate in "${rates[@]}"; do
    hyperfine --style basic --warmup 1 --runs "$runs" --export-json "$results/$rate.json" \
        --command-name solver "cd '$solver_run' && '$solver' -r $rate" \
        --command-name plain "cd '$plain_run' && '$plain' -r $rate" \
        --command-name numpy "cd '$peer_run' && ${peer_command[*]} '$peer' $rate" >&2
    if ! diff -rq "$solver_run/../output" "$plain_run/../output" >&2; then
        echo "ERROR: the solver and its plain path wrote different files at $rate mm/yr" >&2
        exit 1
    fi
    nodes=$(wc -l <"$solver_run/../output/transient/temp_time/transient_Tnew.dat")
    peak_kib=$(cd "$solver_run" && /usr/bin/time -f '%M' "$solver" -r "$rate" 2>&1 >/dev/null | tail -1)
    echo "$rate $nodes $peak_kib" >"$results/$rate.memory"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

/usr/bin/python3 - "$results" "${rates[@]}" <<'EOF'
import json, sys
results, rates = sys.argv[1], sys.argv[2:]
print(f"{'mm/yr':>6} {'nodes':>6} {'solver s':>9} {'plain s':>9} {'numpy s':>9}"
      f" {'plain/solver':>12} {'numpy/solver':>12} {'peak MiB':>9} {'bound MiB':>9}")
for rate in rates:
    medians = {r["command"]: r["median"] for r in json.load(open(f"{results}/{rate}.json"))["results"]}
    _, nodes, peak_kib = open(f"{results}/{rate}.memory").read().split()
    nodes, peak = int(nodes), int(peak_kib) / 1024
    bound = (8 * nodes * nodes) / 2**20 + 64
    print(f"{rate:>6} {nodes:>6} {medians['solver']:>9.3f} {medians['plain']:>9.3f}"
          f" {medians['numpy']:>9.3f} {medians['plain'] / medians['solver']:>12.1f}"
          f" {medians['numpy'] / medians['solver']:>12.1f} {peak:>9.1f} {bound:>9.1f}")
EOF

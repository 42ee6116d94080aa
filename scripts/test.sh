#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite through CTest, then
# the verification table (scripts/verify.sh); then builds the tests of the parts without a GUI
# (solver, common, periodic) once more in a Debug tree with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs them there, so that an out-of-bounds access, a use after
# free, a leak or undefined arithmetic fails the test that meets it. SANITIZE=0 skips the second
# tree.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release \
    ${EROSION_BUILD_PYTHON:+-DEROSION_BUILD_PYTHON=$EROSION_BUILD_PYTHON} >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
(cd "$build_dir" && QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} ctest --output-on-failure --timeout 300)
# The models against published and exact values, in one table.
BUILD_DIR="$build_dir" scripts/verify.sh

if [[ "${SANITIZE:-1}" == 0 ]]; then
    exit 0
fi
asan_dir=${ASAN_BUILD_DIR:-build-asan}
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$asan_dir" -DCMAKE_BUILD_TYPE=Debug -DEROSION_BUILD_BENCHMARKS=OFF \
    -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$asan_dir" --parallel "$(nproc)" --target core_tests
cd "$asan_dir"
ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1} \
    UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
    ctest -L core --output-on-failure --timeout 600

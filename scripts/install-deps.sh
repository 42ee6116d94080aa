#!/usr/bin/env bash
# Installs, from Debian's packages, everything the suite needs to build, test and render its
# plots. Packages already installed are skipped; the package lists are refreshed only when
# something is missing, so a second run costs nothing.
#
#   scripts/install-deps.sh            build and test dependencies
#   scripts/install-deps.sh --bench    also what the benchmarks compare against
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev libgl-dev libeigen3-dev libboost-dev libcli11-dev libpcg-cpp-dev
    fonts-dejavu-core xvfb xauth
    locales fonts-liberation2 poppler-utils
    # The Python module and its tests (pandas for the tables the module returns; matplotlib
    # only for examples/notebook_fit.py, which says so when it is missing).
    python3 python3-dev pybind11-dev python3-pybind11 python3-pytest python3-numpy python3-pandas
    # The terrain model reads DEMs and writes age maps through GDAL; scripts/make_demo_dem.py
    # converts matplotlib's sample DEM with gdal_translate.
    libgdal-dev gdal-bin python3-matplotlib
)
# Dask (python3-dask, python3-distributed) runs fit_batch's groups as tasks of a cluster, and its
# tests start a local one: only where the Python module is built (EROSION_BUILD_PYTHON=OFF in the
# environment, as scripts/test.sh passes it to cmake, leaves it out).
if [[ "${EROSION_BUILD_PYTHON:-ON}" != OFF ]]; then
    packages+=(python3-dask python3-distributed)
fi
if [[ "${1:-}" == "--bench" ]]; then
    packages+=(python3-scipy python3-threadpoolctl hyperfine time)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi
if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# One locale whose decimal separator is a comma, so that the test of locale-free number reading
# runs instead of being skipped; generated once.
test_locale=de_DE.UTF-8
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "Generating the locale $test_locale" >&2
    "${sudo_cmd[@]}" sed -i "s/^# *\($test_locale UTF-8\)/\1/" /etc/locale.gen
    grep -qx "$test_locale UTF-8" /etc/locale.gen ||
        echo "$test_locale UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo_cmd[@]}" locale-gen >/dev/null
fi

#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds
# Refuel into build/.
# Usage: scripts/setup.sh [--play] [--no-build] [build-dir] [extra cmake options...]
#   (default)   every package in debian-packages.txt; the game, datafiles,
#               tests, benchmarks and tools
#   --play      only play-packages.txt; only the game and its datafiles
#   --no-build  installs and configures, builds nothing
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list=$here/scripts/debian-packages.txt
# A folder first made by --play has tests and benchmarks off: turned on again.
options=(-DREFUEL_TESTS=ON -DREFUEL_BENCH=ON)
targets=()
build=yes
while [ $# -gt 0 ]; do
    case $1 in
    --play)
        list=$here/scripts/play-packages.txt
        options=(-DREFUEL_TESTS=OFF -DREFUEL_BENCH=OFF)
        targets=(--target refuel refuel_datafiles)
        ;;
    --no-build) build=no ;;
    *) break ;;
    esac
    shift
done
build_dir=${1:-$here/build}
shift || true

packages=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$list")
missing=()
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing Debian packages: ${missing[*]}"
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Our own builds stop at any warning, whatever an earlier configure chose.
cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DREFUEL_WERROR=ON \
    "${options[@]}" "$@" >/dev/null
if [ "$build" = yes ]; then
    cmake --build "$build_dir" -j "$(nproc)" "${targets[@]}"
fi

#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds
# Refuel (game, datafiles, tests, benchmarks) into build/.
# Usage: scripts/setup.sh [build-dir] [extra cmake options...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${1:-$here/build}
shift || true

packages=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$here/scripts/debian-packages.txt")
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
cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DREFUEL_WERROR=ON "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"

#!/usr/bin/env bash
# Builds the Debian package in a build folder and runs lintian on it; prints
# the package's file list and lintian's findings, and fails on any error.
# Usage: packaging/check_package.sh [BUILD_DIR]   (default: build)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
cmake --build "$build" -j 2
rm -f "$build"/refuel_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/refuel_*.deb)
echo "== $deb"
dpkg-deb -I "$deb" | sed -n '/Package:/,$p'
dpkg-deb -c "$deb"
echo "== lintian"
# Tags of level "error" make lintian exit non-zero.
lintian --info --display-info --fail-on error "$deb"

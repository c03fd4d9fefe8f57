#!/usr/bin/env bash
# Installs what building and playing need (scripts/play-packages.txt),
# builds the game and its three datafiles, and starts the game. It runs in
# run/, a folder beside the build that holds the binary, its datafiles and
# hiscores.dat; a rebuild or a clean build never touches it except to bring
# in a newer binary and datafiles.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh" --play "$here/build"
mkdir -p "$here/run"
cp "$here/build/game/refuel" "$here/build/game/graph1.dat" "$here/build/game/fonts.dat" \
    "$here/build/game/sounds.dat" "$here/run/"
cd "$here/run"
exec ./refuel

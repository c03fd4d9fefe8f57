#!/usr/bin/env bash
# Renders the gallery: every screen of the game and game frames at levels 1,
# 5 and 10 (and the typing frame of every level), drawn by the game's own
# code with the built datafiles, as PNGs in docs/screenshots/. Builds the
# datafiles and the renderer first.
# Usage: scripts/gallery.sh [build-dir]   (default build-gallery/; JOBS=2)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${1:-$here/build-gallery}
out="$here/docs/screenshots"

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$build_dir" -DREFUEL_BENCH=OFF -DREFUEL_TESTS=OFF >/dev/null
fi
cmake --build "$build_dir" -j "${JOBS:-2}" --target refuel_datafiles refuel_gallery_frames

mkdir -p "$out"
# progress_page.png is a browser's picture of `refuel --report --html`, not
# a screen of the game: it stays.
find "$out" -maxdepth 1 -name '*.png' ! -name progress_page.png -delete
"$build_dir/tools/refuel_gallery_frames" "$build_dir/game" "$out"

# One sheet of the ten scenes, in level order, for the README.
/usr/bin/montage "$out"/10_level_*_typing.png -tile 5x2 -geometry 320x240+4+4 \
    -background '#10131a' -define png:exclude-chunks=date,time "$out/00_ten_levels.png"
echo "Gallery in $out"

#!/usr/bin/env bash
# A class's report from the real binary: 40 players with a year of history
# each (bench_class_report --make-class: four days a week, a game of 30
# canisters and a round of 12 a day), gathered in one folder, then
# `refuel --report FOLDER` and `refuel --report FOLDER --html PAGE` timed,
# RUNS (5) of each; the median wall time of each against the 1 s target.
# Usage: bench/class_report.sh BUILD_DIR [RUNS]
set -euo pipefail
BUILD_DIR=$(cd "${1:?usage: $0 BUILD_DIR [RUNS]}" && pwd)
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/class"
"$BUILD_DIR/bench/bench_class_report" --make-class "$work/class"

# median_ms COMMAND...: "WALL CPU", the medians of RUNS runs in ms (CPU:
# user and system time, which a busy machine disturbs less than the wall).
median_ms() {
    local walls=() cpus=()
    for ((i = 0; i < runs; i++)); do
        read -r wall user sys < <(/usr/bin/time -f "%e %U %S" "$@" 2>&1 >/dev/null | tail -n 1)
        walls+=("$(awk -v t="$wall" 'BEGIN { printf "%d", t * 1000 }')")
        cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%d", (u + s) * 1000 }')")
    done
    mid() { printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'; }
    echo "$(mid "${walls[@]}") $(mid "${cpus[@]}")"
}
size=$(du -sk "$work/class" | cut -f1)
read -r text text_cpu < <(median_ms "$BUILD_DIR/game/refuel" --report "$work/class")
read -r page page_cpu < <(median_ms "$BUILD_DIR/game/refuel" --report "$work/class" --html "$work/page.html")
verdict() { [ "$1" -lt 1000 ] && echo ok || echo OVER; }
printf '%-34s %s\n' "Class: 40 players, a year each:" "$((size / 1024)) MiB of practice files"
printf '%-34s %s\n' "refuel --report FOLDER:" "$text ms (CPU $text_cpu ms)   target < 1000 ms   $(verdict "$text")"
printf '%-34s %s\n' "refuel --report FOLDER --html:" "$page ms (CPU $page_cpu ms)   target < 1000 ms   $(verdict "$page")   page $(($(stat -c %s "$work/page.html") / 1024)) KiB"

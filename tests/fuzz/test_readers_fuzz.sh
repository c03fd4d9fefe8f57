#!/usr/bin/env bash
# Fuzzes the readers of hiscores.dat and practice.csv with libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer; practice.csv's seeds are
# real spreadsheet saves (practice_csv_seeds/).
# Each input has a time limit, so a slow path is a failure like a crash.
# Usage: tests/fuzz/test_readers_fuzz.sh [RUNS of each, default 100000]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
src=$here/src
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fuzz() {  # fuzz TARGET MAX_LEN SECONDS UNITS...: tests/fuzz/TARGET.cpp with the units, on $out/TARGET/
    local target=$1 max_len=$2 seconds=$3
    shift 3
    clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        "${includes[@]}" "$here/tests/fuzz/$target.cpp" $(for u; do echo "$src/$u.cpp"; done) \
        "${libraries[@]}" -o "$out/$target.bin"
    ASAN_OPTIONS=detect_leaks=0 "$out/$target.bin" -runs="${runs:-100000}" -max_len="$max_len" \
        -timeout="$seconds" "$out/$target" 2>&1 | tail -n 3
}
runs=${1:-}
# Seeds: nothing, the classic ten bytes, a whole extended file's head.
mkdir "$out/high_score_fuzz" && (cd "$out/high_score_fuzz" && printf '' >empty && printf \
    '\x3e\x80\x1f\x40\x0f\xa0\x07\xd0\x03\xe8' | tee classic | cat - <(printf 'RFHS\x01') >extended_head)
includes=(-I"$src/learning" -I"$src/frontend" -I"$src/shell" -I"$src/problems" -I"$src/game")
read -r -a libraries <<<"$(pkg-config --cflags --libs allegro)"
fuzz high_score_fuzz 200 1 frontend/high_score_table shell/data_file shell/game_paths
# practice.csv's reader needs the learning units alone: no library, no screen.
cp -r "$here/tests/fuzz/practice_csv_seeds" "$out/practice_csv_fuzz"
includes=(-I"$src/learning")
libraries=()
# 64 KiB: enough rows for a walk over every row per row to take seconds
# under the sanitizers, where the reader takes milliseconds.
fuzz practice_csv_fuzz 65536 1 $(cd "$src" && ls learning/*.cpp | sed 's/\.cpp$//')

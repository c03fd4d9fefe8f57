#!/usr/bin/env bash
# Fuzzes the readers of hiscores.dat and practice.csv with libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer; practice.csv's seeds are
# real spreadsheet saves (practice_csv_seeds/).
# Usage: tests/fuzz/test_readers_fuzz.sh [RUNS of each, default 100000]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
src=$here/src
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fuzz() {  # fuzz TARGET MAX_LEN UNITS...: tests/fuzz/TARGET.cpp with the units, on $out/TARGET/
    local target=$1 max_len=$2
    shift 2
    clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -I"$src/practice" -I"$src/frontend" -I"$src/shell" -I"$src/problems" -I"$src/game" \
        "$here/tests/fuzz/$target.cpp" $(for u; do echo "$src/$u.cpp"; done) \
        $(pkg-config --cflags --libs allegro) -o "$out/$target.bin"
    ASAN_OPTIONS=detect_leaks=0 "$out/$target.bin" -runs="${runs:-100000}" -max_len="$max_len" \
        "$out/$target" 2>&1 | tail -n 3
}
runs=${1:-}
# Seeds: nothing, the classic ten bytes, a whole extended file's head.
mkdir "$out/high_score_fuzz" && (cd "$out/high_score_fuzz" && printf '' >empty && printf \
    '\x3e\x80\x1f\x40\x0f\xa0\x07\xd0\x03\xe8' | tee classic | cat - <(printf 'RFHS\x01') >extended_head)
fuzz high_score_fuzz 200 frontend/high_score_table shell/data_file shell/game_paths
# The texts practice.csv shares with the canister's label bring in their units.
cp -r "$here/tests/fuzz/practice_csv_seeds" "$out/practice_csv_fuzz"
fuzz practice_csv_fuzz 4096 practice/practice_csv practice/players practice/fact_sets \
    practice/practice_texts problems/canister_label problems/problem_generator \
    frontend/high_score_table shell/data_file shell/game_paths shell/asset_catalogue \
    shell/drawing_kit shell/text_pool \
    shell/keyboard_random_clock shell/datafile_check shell/opaque_runs shell/platform \
    shell/frame_scaling \
    frontend/settings_menus frontend/menu_pass

#!/usr/bin/env bash
# Fuzzes the reading of practice.csv with libFuzzer (clang) under
# AddressSanitizer and UndefinedBehaviorSanitizer, from files real
# spreadsheets saved (practice_csv_seeds/: Gnumeric and LibreOffice Calc,
# English and German, ',' and ';', notes in added columns).
# Usage: tests/fuzz/test_practice_csv_fuzz.sh [RUNS, default 100000]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
src=$here/src
# practice_csv's units and what the problem texts they share with the
# canister's label bring in.
units="practice/practice_csv practice/fact_sets practice/practice_texts problems/canister_label
    problems/problem_generator frontend/high_score_table shell/data_file shell/game_paths
    shell/asset_catalogue shell/drawing_kit shell/text_pool shell/keyboard_random_clock
    shell/datafile_check shell/opaque_runs shell/platform frontend/settings_menus frontend/menu_pass"
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$src/practice" -I"$src/frontend" -I"$src/shell" -I"$src/problems" -I"$src/game" \
    "$here/tests/fuzz/practice_csv_fuzz.cpp" $(for u in $units; do echo "$src/$u.cpp"; done) \
    $(pkg-config --cflags --libs allegro) -o "$out/practice_csv_fuzz"
# The seeds stay as they are: the fuzzer adds what it finds to a copy.
cp -r "$here/tests/fuzz/practice_csv_seeds" "$out/corpus"
ASAN_OPTIONS=detect_leaks=0 "$out/practice_csv_fuzz" -runs="${1:-100000}" -max_len=4096 "$out/corpus" 2>&1 |
    tail -n 3

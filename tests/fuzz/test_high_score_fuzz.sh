#!/usr/bin/env bash
# Fuzzes the reading of hiscores.dat with libFuzzer (clang) under
# AddressSanitizer and UndefinedBehaviorSanitizer.
# Usage: tests/fuzz/test_high_score_fuzz.sh [RUNS, default 200000]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$here/src/frontend" -I"$here/src/shell" "$here/tests/fuzz/high_score_fuzz.cpp" \
    "$here/src/frontend/high_score_table.cpp" "$here/src/shell/data_file.cpp" \
    "$here/src/shell/game_paths.cpp" -o "$out/high_score_fuzz"
mkdir -p "$out/corpus"
# Seeds: nothing, the classic ten bytes, a whole extended file's head.
printf '' >"$out/corpus/empty"
printf '\x3e\x80\x1f\x40\x0f\xa0\x07\xd0\x03\xe8' >"$out/corpus/classic"
printf '\x3e\x80\x1f\x40\x0f\xa0\x07\xd0\x03\xe8RFHS\x01' >"$out/corpus/extended_head"
ASAN_OPTIONS=detect_leaks=0 "$out/high_score_fuzz" -runs="${1:-200000}" -max_len=200 "$out/corpus" 2>&1 |
    tail -n 3

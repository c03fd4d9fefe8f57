#!/usr/bin/env bash
# Sets everything up and runs every test once. The whole suite (unit and
# picture tests, the real game under a virtual X display that each test
# starts itself, the fault and fuzz runs) runs in the build with
# AddressSanitizer and UndefinedBehaviorSanitizer, build-sanitize/; the
# plain build, build/, adds what only it shows: the game and the benchmarks
# built with -Werror alone, the static analysis, and each benchmark of the
# real binary started once for a second of measuring.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
status=0

"$here/scripts/setup.sh" "$here/build" -DREFUEL_SUITE=OFF
(cd "$here/build" && ctest --output-on-failure -j 2) || status=1

# -O1 -g1 compiles in half the time of -O2 -g; line tables are all the
# sanitizers' reports need. Three tests at a time: the real-game tests
# mostly wait for the game's own pace.
"$here/scripts/setup.sh" "$here/build-sanitize" -DREFUEL_SANITIZE=ON -DREFUEL_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
(cd "$here/build-sanitize" && ctest --output-on-failure -j 3) || status=1
exit "$status"

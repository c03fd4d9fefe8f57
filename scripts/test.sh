#!/usr/bin/env bash
# Installs every package the project needs, and runs every test once. The
# whole suite (unit and picture tests, the real game under a virtual X
# display that each test starts itself, the fault and fuzz runs) runs in
# the build with AddressSanitizer and UndefinedBehaviorSanitizer,
# build-sanitize/; the plain build, build/, adds what only it shows: the
# game and the benchmarks built with -Werror alone, the static analysis, and
# each benchmark of the real binary started once for a second of measuring.
# Each part's time is printed at the end, and kept in build/test-times.txt.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
times=$here/build/test-times.txt
started=$SECONDS
took() {  # took PART START
    echo "time: $1 $((SECONDS - $2)) s" >>"$times"
}
# A step that fails ends the parts still running in the background.
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT

t=$SECONDS
# -O1 -g1 compiles in half the time of -O2 -g; line tables are all the
# sanitizers' reports need, and all a backtrace of the plain build shows
# (-g1 there saves a fifth of its compiling).
"$here/scripts/setup.sh" --no-build "$here/build" -DREFUEL_SUITE=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
"$here/scripts/setup.sh" --no-build "$here/build-sanitize" -DREFUEL_SANITIZE=ON -DREFUEL_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
rm -f "$times"
took packages+configure $t

# The static analysis needs only the compile commands, and is most of the
# CPU time: it starts now, a little niced, beside the builds and the waiting
# end-to-end tests, as the critical path of the run.
analysis_log=$here/build/analysis.log
(
    t=$SECONDS
    status=0
    nice -n 5 bash "$here/scripts/analyse.sh" "$here/build" >"$analysis_log" 2>&1 || status=$?
    took analysis $t
    exit "$status"
) &
analysis=$!

status=0
t=$SECONDS
cmake --build "$here/build" -j 2
took plain-build $t

# The plain build's tests (install checks, benchmark starts) need no quiet
# machine: they run while the sanitizer build compiles.
(
    t=$SECONDS
    (cd "$here/build" && ctest --output-on-failure -j 2 -E '^analyse_sources$') \
        >"$here/build/ctest.log" 2>&1 || exit 1
    took plain-tests $t
) &
plain_tests=$!
t=$SECONDS
cmake --build "$here/build-sanitize" -j 2
took sanitize-build $t
wait "$plain_tests" || status=1
cat "$here/build/ctest.log"

# Three tests at a time: the real-game tests mostly wait for the game's own pace.
t=$SECONDS
(cd "$here/build-sanitize" && ctest --output-on-failure -j 3) || status=1
took sanitize-tests $t

t=$SECONDS
wait "$analysis" || status=1
took analysis-wait $t
cat "$analysis_log"
took total $started
cat "$times"
exit "$status"

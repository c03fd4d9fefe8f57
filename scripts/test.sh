#!/usr/bin/env bash
# Sets everything up and runs every test: the plain build (unit, picture and
# end-to-end tests under a virtual X display that each test starts itself),
# then the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)

"$here/scripts/setup.sh" "$here/build"
(cd "$here/build" && ctest --output-on-failure -j "$jobs")

"$here/scripts/setup.sh" "$here/build-sanitize" -DREFUEL_SANITIZE=ON -DREFUEL_BENCH=OFF
(cd "$here/build-sanitize" && ctest --output-on-failure -j "$jobs")

#!/usr/bin/env bash
# The full set of damaged datafiles (64 cuts and 200 changed bytes a file,
# and the rest) against a build, by default the sanitizer build.
# Usage: tests/fault/damaged_datafiles.sh [BUILD_DIR] [SEED] [WORKERS]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$here/build-sanitize}" && pwd)
export REFUEL_GAME_DIR=$build/game REFUEL_BUILD_DIR=$build
export REFUEL_REFERENCE=$build/tests/refuel_reference_frame
export REFUEL_TIME_SHIM=$build/tests/librefuel_time_shim.so
export REFUEL_DAMAGE_SET=full REFUEL_DAMAGE_SEED=${2:-20261206} REFUEL_DAMAGE_WORKERS=${3:-2}
exec bash "$here/tests/e2e/test_damaged_datafiles_every_fault.sh"

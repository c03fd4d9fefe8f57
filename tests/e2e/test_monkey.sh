#!/usr/bin/env bash
# Two minutes of random keys against the sanitizer build (tests/e2e/monkey.sh
# runs any length); REFUEL_MONKEY_SECONDS and REFUEL_MONKEY_SEED override.
exec bash "$(dirname "$0")/monkey.sh" "${REFUEL_MONKEY_SECONDS:-120}" ${REFUEL_MONKEY_SEED:+"$REFUEL_MONKEY_SEED"}

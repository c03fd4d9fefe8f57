#!/usr/bin/env bash
# Game speed of the real binary under Xvfb: ticks the game has run per
# second of wall time over SECONDS (default 60) of play, with an answer every
# 2 s, once on a quiet machine and once beside two CPU-bound processes.
#
# The count is the game's own: `last_tick`, the tick up to which play_game
# has run the simulation, read from the running process through
# /proc/PID/mem at the address of its symbol. Nothing is added to the game.
# Usage: bench/game_speed.sh BUILD_DIR [SECONDS]
set -euo pipefail
BUILD_DIR=$(cd "${1:?usage: $0 BUILD_DIR [SECONDS]}" && pwd)
seconds=${2:-60}
source "$(dirname "$0")/real_binary.sh"

# One game: menu, play, measure while playing, leave with Escape.
measure() {
    local name=$1
    start_at_menu
    begin_play
    local address t0 n0 t1 n1
    address=$(symbol_address last_tick)
    play_for 3
    t0=$(now)
    n0=$(read_int "$address")
    play_for "$seconds"
    t1=$(now)
    n1=$(read_int "$address")
    # Still in play: the simulation goes on running ticks.
    sleep 0.3
    [ "$(read_int "$address")" -gt "$n1" ] || fail "the game was not in play at the end"
    press Escape
    see 03_main_menu_1 >/dev/null
    quit
    local rate error verdict
    rate=$(awk -v a="$n0" -v b="$n1" -v s="$t0" -v e="$t1" 'BEGIN { printf "%.3f", (b - a) / (e - s) }')
    error=$(awk -v r="$rate" 'BEGIN { d = (r - 100) / 100 * 100; printf "%+.3f", d }')
    verdict=$(awk -v d="$error" 'BEGIN { print (d <= 0.5 && d >= -0.5) ? "ok" : "OFF" }')
    printf '%-34s %8s ticks/s (%s %%, %d ticks in %.2f s)   target 100 +- 0.5 %%   %s\n' \
        "Game speed, $name:" "$rate" "$error" $((n1 - n0)) \
        "$(awk -v s="$t0" -v e="$t1" 'BEGIN { print e - s }')" "$verdict"
}

open_display
measure "no hogs"
start_hogs
measure "two CPU hogs beside it"
stop_hogs

#!/usr/bin/env bash
# CPU time of the real game and of its X server (Xvfb, 800x600x24), each over
# SECONDS (default 20): idle in the main menu, idle on the high-score screen,
# in play with one answer typed every 2 s, in a practice round, and idle on
# its report and its fact map. Both processes' user and
# system time come from /proc/PID/stat.
# Usage: bench/cpu_usage.sh BUILD_DIR [SECONDS]
set -euo pipefail
BUILD_DIR=$(cd "${1:?usage: $0 BUILD_DIR [SECONDS]}" && pwd)
seconds=${2:-20}
source "$(dirname "$0")/real_binary.sh"

# measure NAME TARGET_PERCENT [play]: prints one line with the figures.
measure() {
    local name=$1 target=$2 mode=${3:-idle}
    local g0 x0 g1 x1 m0 m1 t0 t1
    g0=$(cpu_ticks "$game_pid")
    m0=$(cpu_ticks "$game_pid/task/$game_pid")
    x0=$(cpu_ticks "$xvfb_pid")
    t0=$(now)
    if [ "$mode" = play ]; then
        play_for "$seconds"
    else
        sleep "$seconds"
    fi
    g1=$(cpu_ticks "$game_pid")
    m1=$(cpu_ticks "$game_pid/task/$game_pid")
    x1=$(cpu_ticks "$xvfb_pid")
    t1=$(now)
    local span game main x total verdict
    span=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.2f", b - a }')
    game=$(percent $((g1 - g0)) "$span")
    main=$(percent $((m1 - m0)) "$span")
    x=$(percent $((x1 - x0)) "$span")
    total=$(awk -v a="$game" -v b="$x" 'BEGIN { printf "%.2f", a + b }')
    verdict=$(awk -v t="$total" -v m="$target" 'BEGIN { print (t <= m) ? "ok" : "OVER" }')
    printf '%-34s %6s %% of one core (game %s %% + X %s %%, %s s)   target <= %s %%   %s\n' \
        "CPU, $name:" "$total" "$game" "$x" "$span" "$target" "$verdict"
    # The library runs threads of its own beside the game's: a timer and a
    # loop that looks for X input every 10 ms, whatever the game does.
    printf '%-34s game main thread %s %%, library threads %s %%\n' "" "$main" \
        "$(awk -v a="$game" -v b="$main" 'BEGIN { printf "%.2f", a - b }')"
}

open_display
start_at_menu
sleep 1
measure "main menu, idle" 3

press 2 Return
see 07_high_scores >/dev/null
sleep 1
measure "high-score screen, idle" 3

press Return
see 03_main_menu_1 >/dev/null
begin_play
measure "play, an answer every 2 s" 10 play
press Escape
see 03_main_menu_1 >/dev/null
quit

# A practice round flies the same track at level 1, so its CPU should be
# that of play. Then its report and the fact map, each drawn once and then
# waiting for a key. A round of x2 is 20 canisters, about a minute at this
# player's pace: the round is measured for at most 20 s of it.
start_game "$seed" --practise x2
join_play
at_tick=$(symbol_address last_tick)
# Flying while the simulation's clock moves; the report stops it.
flying() {
    local t
    t=$(read_int "$at_tick")
    sleep 0.25
    [ "$(read_int "$at_tick")" -gt "$t" ]
}
poll 60 flying || fail "the round did not start"
sleep 1
saved_seconds=$seconds
seconds=$((seconds < 20 ? seconds : 20))
measure "round, an answer every 2 s" 10 play
seconds=$saved_seconds
while flying; do
    play_for 2
done
see practice_report colour 300 96 220 120 0 0 800 600 >/dev/null
sleep 1
measure "practice report, idle" 3
press Return
see fact_map colour 50 95 130 235 0 0 800 600 >/dev/null
sleep 1
measure "fact map, idle" 3
press Return
see 03_main_menu_1 >/dev/null
quit

#!/usr/bin/env bash
# Play at 800x600 and full screen at 1920x1080 (the picture smoothly scaled
# to 1440x1080) at the same time, each on an Xvfb of its own, one player
# answering both: the CPU of each game + its X server over the same spans,
# so that whatever else the machine does weighs on both alike. ROUNDS spans
# (default 5) of SECONDS each (default 15); each prints both and their
# ratio.
# Usage: bench/screen_cpu_paired.sh BUILD_DIR [ROUNDS] [SECONDS]
set -euo pipefail
BUILD_DIR=$(cd "${1:?usage: $0 BUILD_DIR [ROUNDS] [SECONDS]}" && pwd)
rounds=${2:-5}
seconds=${3:-15}
source "$(dirname "$0")/real_binary.sh"

# What the player needs of each game, by name: its process, its display
# and X server, and where its fuel, answer and typing are in its memory.
declare -A game
end_both() {
    local name
    for name in small big; do
        [ -z "${game[$name.pid]:-}" ] || { kill -9 "${game[$name.pid]}"; wait "${game[$name.pid]}"; } 2>/dev/null || true
        [ -z "${game[$name.xvfb]:-}" ] || { kill "${game[$name.xvfb]}"; wait "${game[$name.xvfb]}"; } 2>/dev/null || true
    done
    game_pid="" xvfb_pid=""
    cleanup
}
trap end_both EXIT

# open_game NAME SIZE PICTURE: a display and a game on it, in play.
open_game() {
    screen_size=$2 REFUEL_PICTURE=$3
    rm -f "$work/displayfd"
    start_display
    start_game "$seed"
    game[$1.pid]=$game_pid game[$1.xvfb]=$xvfb_pid game[$1.display]=$DISPLAY
    see 02_title >/dev/null
    press space
    see 03_main_menu_1 >/dev/null
    sleep 1
    begin_play
    game[$1.fuel]=$at_fuel game[$1.state]=$at_answer_state
    game[$1.typed]=$at_typed game[$1.answer]=$at_answer
}
# as NAME: the helpers of real_binary.sh then act on that game.
as() {
    game_pid=${game[$1.pid]} xvfb_pid=${game[$1.xvfb]} at_fuel=${game[$1.fuel]}
    at_answer_state=${game[$1.state]} at_typed=${game[$1.typed]} at_answer=${game[$1.answer]}
    export DISPLAY=${game[$1.display]}
}
ticks_of() {
    as "$1"
    echo $(($(cpu_ticks "$game_pid") + $(cpu_ticks "$xvfb_pid")))
}

render screens
make_folder
open_game small 800x600 ""
open_game big 1920x1080 1440x1080+240+0
for ((r = 1; r <= rounds; r++)); do
    s0=$(ticks_of small) b0=$(ticks_of big) t0=$(now)
    end=$(awk -v t="$t0" -v s="$seconds" 'BEGIN { printf "%.3f", t + s }')
    while awk -v t="$(now)" -v e="$end" 'BEGIN { exit !(t < e) }'; do
        as small && play_action
        as big && play_action
        sleep 2
    done
    s1=$(ticks_of small) b1=$(ticks_of big) t1=$(now)
    span=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.2f", b - a }')
    small_cpu=$(percent $((s1 - s0)) "$span") big_cpu=$(percent $((b1 - b0)) "$span")
    printf 'round %d: play 800x600 %s %%, play 1920x1080 full screen %s %% = %s x (%s s, load %s)\n' \
        "$r" "$small_cpu" "$big_cpu" \
        "$(awk -v a="$big_cpu" -v b="$small_cpu" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')" \
        "$span" "$(cut -d' ' -f1 /proc/loadavg)"
done
for name in small big; do
    as "$name"
    kill -0 "$game_pid" 2>/dev/null || fail "the $name game ended during play"
done

#!/usr/bin/env bash
# CPU of the game and its X server (Xvfb) on displays of three sizes, side
# by side with Debian's tuxmath idle in its menu in the same run: the main
# menu idle and play (an answer every 2 s) at 800x600, full screen at
# 1920x1080 (the picture smoothly scaled to 1440x1080) and in a window on
# 3840x2160 (3x, 2400x1800). Each figure over SECONDS (default 20).
# Under 5 SECONDS (ctest's start) only 1920x1080 is measured, in a minute.
# Usage: bench/screen_cpu.sh BUILD_DIR [SECONDS]
set -euo pipefail
BUILD_DIR=$(cd "${1:?usage: $0 BUILD_DIR [SECONDS]}" && pwd)
seconds=${2:-20}
source "$(dirname "$0")/real_binary.sh"
tuxmath=/usr/games/tuxmath

# measure NAME PID [play]: the CPU of PID and of Xvfb over the span.
measure() {
    local g0 x0 g1 x1 t0 t1 span
    g0=$(cpu_ticks "$2") x0=$(cpu_ticks "$xvfb_pid") t0=$(now)
    if [ "${3:-}" = play ]; then play_for "$seconds"; else sleep "$seconds"; fi
    g1=$(cpu_ticks "$2") x1=$(cpu_ticks "$xvfb_pid") t1=$(now)
    span=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.2f", b - a }')
    local p x
    p=$(percent $((g1 - g0)) "$span") x=$(percent $((x1 - x0)) "$span")
    printf '%-44s %6s %% of one core (program %s %% + X %s %%, %s s)\n' "CPU, $1:" \
        "$(awk -v a="$p" -v b="$x" 'BEGIN { printf "%.2f", a + b }')" "$p" "$x" "$span"
}

# on_display SIZE PICTURE: a fresh Xvfb of that size; PICTURE is where the
# game's picture is on it (empty: at 1x, at the top left).
on_display() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" && wait "$xvfb_pid" || true
    fi
    rm -f "$work/displayfd"
    screen_size=$1 REFUEL_PICTURE=$2
    start_display
}

# game_run NAME OPTION...: the menu idle, then play, then out.
game_run() {
    local name=$1
    shift
    start_game "$seed" "$@"
    see 02_title >/dev/null
    press space
    see 03_main_menu_1 >/dev/null
    sleep 1
    measure "$name, main menu idle" "$game_pid"
    begin_play
    measure "$name, play" "$game_pid" play
    press Escape
    see 03_main_menu_1 >/dev/null
    quit
}

on_display 800x600 ""
render screens
make_folder
short=$((seconds < 5))
[ "$short" = 1 ] || game_run "800x600"
if [ "$short" = 1 ]; then
    :
elif [ -x "$tuxmath" ]; then
    export HOME=$work/home
    mkdir -p "$HOME"
    "$tuxmath" --windowed --nosound </dev/null >"$work/tuxmath.txt" 2>&1 &
    tux_pid=$!
    has_window() { xwininfo -root -tree | grep -qi tuxmath; }
    poll 60 has_window || fail "tuxmath showed no window"
    sleep 3  # its menu's opening animation
    measure "tuxmath 2.0 --windowed (640x480), menu idle" "$tux_pid"
    kill "$tux_pid" && wait "$tux_pid" || true
else
    echo "tuxmath is not installed: apt-get install tuxmath for the yardstick"
fi
on_display 1920x1080 1440x1080+240+0
game_run "1920x1080 full screen (1440x1080)"
[ "$short" = 0 ] || exit 0
on_display 3840x2160 2400x1800+720+180
game_run "3840x2160, a window 3x (2400x1800)" --window

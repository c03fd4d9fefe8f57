#!/usr/bin/env bash
# Start-up cost of the real binary under Xvfb: the time from launching it to
# the first caption frame that can be seen, and the peak memory (maximum
# resident set) over a short session: caption, title, menu, PLAY seconds
# (default 10) of play, back to the menu and out.
#
# The caption fades in from black in steps of 40 ms; its first step is
# drawn in black, so the first one that shows is the second. The screen is
# read about every 50 ms (an xwd of the root window, the caption's rows
# picked out of it); the figure is thus late by up to one read.
# Usage: bench/startup_cost.sh BUILD_DIR [RUNS] [PLAY]
set -euo pipefail
BUILD_DIR=$(cd "${1:?usage: $0 BUILD_DIR [RUNS] [PLAY]}" && pwd)
runs=${2:-5}
play=${3:-10}
source "$(dirname "$0")/real_binary.sh"

# True when the game's window is up (its left edge black on the caption's
# rows, where the bare root window has a pattern) and the caption has ink.
caption_shown() {
    local file=$work/shot.xwd header colors line start
    xwd -root -silent >"$file" 2>/dev/null || return 1
    header=$(od -An -tu4 --endian=big -N4 "$file" | tr -d ' ')
    line=$(od -An -tu4 --endian=big -j48 -N4 "$file" | tr -d ' ')
    colors=$(od -An -tu4 --endian=big -j76 -N4 "$file" | tr -d ' ')
    start=$((header + colors * 12 + 285 * line))
    dd if="$file" iflag=skip_bytes,count_bytes skip="$start" count=$((30 * line)) bs=65536 \
        2>/dev/null | od -An -v -tu1 -w"$line" |
        awk -v bpp=$((line / 800)) '
            { left = 0; ink = 0
              for (i = 1; i <= 100 * bpp; i++) left += $i
              for (i = 150 * bpp + 1; i <= 650 * bpp; i++) ink += $i
              all_left += left; all_ink += ink }
            END { exit !(all_left == 0 && all_ink > 0) }'
}

open_display
shown_ms=()
for ((run = 1; run <= runs; run++)); do
    # The last run goes through GNU time for its peak; the others are the
    # game itself, so that it can be stopped by its own id.
    timer=()
    [ "$run" -eq "$runs" ] && timer=(/usr/bin/time -v -o "$work/time.txt")
    (
        cd "$game_dir"
        exec "${timer[@]}" "$game_binary" >"$work/out.txt" 2>"$work/err.txt"
    ) &
    game_pid=$!
    t0=$(now)
    while ! caption_shown; do
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended before its caption"
        awk -v s="$t0" -v t="$(now)" 'BEGIN { exit !(t - s > 60) }' && fail "no caption within 60 s"
    done
    t1=$(now)
    shown_ms+=("$(awk -v s="$t0" -v t="$t1" 'BEGIN { printf "%.0f", (t - s) * 1000 }')")
    see 02_title >/dev/null
    if [ "$run" -eq "$runs" ]; then
        # The last run also plays, so that its peak is that of a game.
        press space
        see 03_main_menu_1 >/dev/null
        press Return
        sleep "$play"
        press Escape
        see 03_main_menu_1 >/dev/null
        quit
        peak_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
    else
        kill "$game_pid"
        wait "$game_pid" 2>/dev/null || true
        game_pid=""
    fi
done
sorted=$(printf '%s\n' "${shown_ms[@]}" | sort -n | tr '\n' ' ')
median=$(printf '%s\n' "${shown_ms[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
printf '%-34s %6s ms, median of %d runs (%s ms)   reported, no target\n' \
    "Start-up, launch to caption:" "$median" "$runs" "${sorted% }"
printf '%-34s %6s MB (%s)   reported, no target\n' \
    "Start-up, peak memory:" "$(awk -v k="$peak_kb" 'BEGIN { printf "%.1f", k / 1024 }')" \
    "$peak_kb kB maximum resident set, menu and $play s of play"

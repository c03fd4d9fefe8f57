# Shared by the measurements of the real binary: the end-to-end helpers (a
# private Xvfb at 800x600x24, presses a 100 Hz poller cannot miss, the time
# shim that pins the seed, pictures of the screens drawn by the game's own
# code), CPU time from /proc, the game's own tick counter read from outside,
# and a player who answers right on a fixed beat. Sourced with BUILD_DIR set
# to a configured and built tree (scripts/setup.sh, or bench/run_all.sh).

: "${BUILD_DIR:?}"
for f in game/refuel tests/librefuel_time_shim.so tests/refuel_screen tools/refuel_gallery_frames; do
    [ -e "$BUILD_DIR/$f" ] || { echo "missing $BUILD_DIR/$f: build $BUILD_DIR first" >&2; exit 2; }
done
# Presses held long enough for a poller that shares two cores with two
# CPU-bound processes; a lost digit would put the player out of step.
export REFUEL_KEY_HOLD=${REFUEL_KEY_HOLD:-0.15} REFUEL_BUILD_DIR=$BUILD_DIR
# shellcheck source=../tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/lib.sh"
game_binary=$build/game/refuel

# A display of our own, the screens to know the game by, and a folder that
# holds the datafiles and keeps the game's files.
open_display() {
    start_display
    render screens
    make_folder
}

seed=1000000000
hogs=()
stop_hogs() {
    local p
    for p in "${hogs[@]}"; do
        kill "$p" 2>/dev/null || true
        wait "$p" 2>/dev/null || true
    done
    hogs=()
}
# Two CPU-bound processes beside the game, ended by their own ids.
# REFUEL_HOG_NICE (default 0) lowers them: where only the script's running
# through is checked, they then take none of the CPU others want.
start_hogs() {
    local i
    for i in 1 2; do
        nice -n "${REFUEL_HOG_NICE:-0}" bash -c 'while :; do :; done' &
        hogs+=($!)
    done
}
trap 'stop_hogs; cleanup' EXIT

# Clock ticks (1/100 s on Linux) of user and system time of a process.
cpu_ticks() {
    awk '{print $14 + $15}' "/proc/$1/stat"
}
clock_hz=$(getconf CLK_TCK)

# percent PART WHOLE_SECONDS: CPU ticks as a percentage of one core.
percent() {
    awk -v t="$1" -v s="$2" -v hz="$clock_hz" 'BEGIN { printf "%.2f", 100 * t / (hz * s) }'
}

now() {
    date +%s.%N
}

# The game's own counters, read from its memory at the addresses its symbol
# table gives: nothing is added to the game for this.
symbol_address() {
    local offset base
    offset=$(nm "$game_binary" | awk -v s="$1" '$3 == s { print $1 }')
    [ -n "$offset" ] || fail "no symbol $1 in the game"
    base=$(awk -v exe="$game_binary" '$6 == exe { split($1, r, "-"); print r[1]; exit }' \
        "/proc/$game_pid/maps")
    [ -n "$base" ] || fail "the game's mapping is not in /proc/$game_pid/maps"
    echo $((16#$base + 16#$offset))
}
read_int() {
    dd if="/proc/$game_pid/mem" bs=4 count=1 iflag=skip_bytes skip="$1" 2>/dev/null | od -An -td4 | tr -d ' '
}
read_byte() {
    dd if="/proc/$game_pid/mem" bs=1 count=1 iflag=skip_bytes skip="$1" 2>/dev/null | od -An -tu1 | tr -d ' '
}

# The game from start to the main menu, with the seed pinned.
start_at_menu() {
    start_game "$seed"
    see 02_title >/dev/null
    press space
    see 03_main_menu_1 >/dev/null
}

# type_answer DIGITS: the digits, then Enter.
type_answer() {
    local i
    for ((i = 0; i < ${#1}; i++)); do
        press "${1:i:1}"
    done
    press Return
}

# A player who answers every canister right, one action every 2 s, and
# presses Space when the tank is full. It reads the game as a person reads
# the screen, only from memory: the fuel, whether an answer is on its way,
# the digits typed so far and the problem's answer. A press lost on a busy
# machine then costs one canister, not the rest of the game.
begin_play() {
    press Return
    sleep 1
    join_play
}
# join_play: the same player for a flight already under way.
join_play() {
    at_fuel=$(symbol_address fuel)
    at_answer_state=$(symbol_address answer_state)
    at_typed=$(symbol_address typed_answer)
    at_answer=$(($(symbol_address problem) + 12)) # operand_a, operand_b, operation, answer
    play_next=$(now)
}
play_action() {
    if [ "$(read_int "$at_fuel")" -ge 60 ]; then
        press space
        return
    fi
    # An answer still rising or being judged: nothing to type yet.
    [ "$(read_int "$at_answer_state")" -eq 0 ] || return 0
    local tries=0
    while [ "$(read_byte "$at_typed")" -ne 0 ] && [ $tries -lt 8 ]; do
        press BackSpace
        tries=$((tries + 1))
    done
    type_answer "$(read_int "$at_answer")"
}
# play_for SECONDS: actions on a 2 s beat that goes on from one call to the
# next, so an answer never starts while the last one is still on screen.
play_for() {
    local end pause
    end=$(awk -v t="$(now)" -v s="$1" 'BEGIN { printf "%.3f", t + s }')
    while awk -v t="$(now)" -v e="$end" 'BEGIN { exit !(t < e) }'; do
        if awk -v t="$(now)" -v n="$play_next" 'BEGIN { exit !(t >= n) }'; then
            play_action
            play_next=$(awk -v n="$play_next" 'BEGIN { printf "%.3f", n + 2 }')
        fi
        pause=$(awk -v n="$play_next" -v t="$(now)" -v e="$end" \
            'BEGIN { if (n > e) n = e; d = n - t; if (d < 0) d = 0; printf "%.3f", d }')
        sleep "$pause"
    done
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended during play"
}

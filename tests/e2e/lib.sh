# Shared steps of the end-to-end tests: a private Xvfb, the real binary in a
# scratch folder, key presses that a 100 Hz poller cannot miss, screenshots
# compared with reference frames. Sourced by each tests/e2e/test_*.sh.
set -euo pipefail

: "${REFUEL_GAME_DIR:?}" "${REFUEL_BUILD_DIR:?}" "${REFUEL_REFERENCE:?}"
e2e_name=$(basename "$0" .sh)
artefacts="$REFUEL_BUILD_DIR/e2e-artefacts/$e2e_name"
rm -rf "$artefacts"
mkdir -p "$artefacts"
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
key_hold=${REFUEL_KEY_HOLD:-0.15}
convert=/usr/bin/convert
compare=/usr/bin/compare
# Nothing is freed before exit by design, so leak reports would be noise;
# the time shim is preloaded ahead of the sanitizer runtime.
export ASAN_OPTIONS="detect_leaks=0:verify_asan_link_order=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

cleanup() {
    if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
        kill -9 "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -n "${DISPLAY:-}" ] && [ -n "$xvfb_pid" ] && screenshot "failure" || true
    exit 1
}

start_xvfb() {
    local fifo="$work/displayfd"
    mkfifo "$fifo"
    # -noreset: the server must outlive a game that ends before the next starts.
    Xvfb -displayfd 7 -screen 0 800x600x24 -nolisten tcp -noreset 7>"$fifo" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    local number
    read -r -t 20 number <"$fifo" || fail "Xvfb did not start"
    export DISPLAY=":$number"
}

# A stand-in xmessage, first in PATH: the library shows its messages with
# xmessage and would wait for a click.
install_xmessage_stand_in() {
    mkdir -p "$work/bin"
    cat >"$work/bin/xmessage" <<'XM'
#!/bin/sh
for last; do :; done
printf '%s\n' "$last" >&2
exit 0
XM
    chmod +x "$work/bin/xmessage"
    export PATH="$work/bin:$PATH"
}

# A scratch folder holding the binary's datafiles, like an installed game.
make_game_folder() {
    game_dir="$work/game"
    mkdir -p "$game_dir"
    cp "$REFUEL_GAME_DIR/graph1.dat" "$REFUEL_GAME_DIR/fonts.dat" "$REFUEL_GAME_DIR/sounds.dat" "$game_dir/"
}

# start_game [pinned time]: runs the real binary in the game folder.
start_game() {
    local pinned=${1:-}
    (
        cd "$game_dir"
        if [ -n "$pinned" ]; then
            export LD_PRELOAD="$REFUEL_TIME_SHIM" REFUEL_TEST_TIME="$pinned"
        fi
        exec "$REFUEL_GAME_DIR/refuel" >"$work/game.out" 2>"$work/game.err"
    ) &
    game_pid=$!
}

# wait_exit SECONDS: waits for the game to end and sets exit_status.
wait_exit() {
    local limit=$(($1 * 10))
    local i
    for ((i = 0; i < limit; i++)); do
        if ! kill -0 "$game_pid" 2>/dev/null; then
            set +e
            wait "$game_pid"
            exit_status=$?
            set -e
            game_pid=""
            return 0
        fi
        sleep 0.1
    done
    fail "the game did not end within $1 s"
}

press() {
    local k
    for k in "$@"; do
        local err
        err=$(xdotool keydown "$k" sleep "$key_hold" keyup "$k" sleep 0.1 2>&1 >/dev/null)
        [ -z "$err" ] || fail "xdotool: $err"
    done
}

# screenshot NAME: the root window as NAME.png among the artefacts.
screenshot() {
    xwd -root -silent | "$convert" xwd:- "$artefacts/$1.png"
}

reference() {
    local name=$1
    shift
    "$REFUEL_REFERENCE" "${game_dir:-$REFUEL_GAME_DIR}" "$work/$name.ppm" "$@" || fail "no reference for $*"
    "$convert" "$work/$name.ppm" "$artefacts/$name.expected.png"
}

# differing_pixels A B: pixels that differ by more than a 16-bit colour step.
differing_pixels() {
    "$compare" -metric AE -fuzz 3% "$1" "$2" null: 2>&1 || true
}

# expect_screen NAME SECONDS ARGS...: waits until the screen shows the
# reference frame for ARGS, and keeps the screenshot as NAME.png.
expect_screen() {
    local name=$1 seconds=$2
    shift 2
    reference "$name" "$@"
    local deadline=$((SECONDS + seconds)) diff=""
    while [ $SECONDS -le $deadline ]; do
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended while waiting for $name"
        screenshot "$name"
        diff=$(differing_pixels "$artefacts/$name.png" "$artefacts/$name.expected.png")
        if [ "$diff" = "0" ]; then
            echo "ok: $name"
            return 0
        fi
        sleep 0.1
    done
    fail "$name: the screen never matched its reference ($diff pixels differ)"
}

# pixel_at FILE X Y: "r,g,b" of one pixel.
pixel_at() {
    "$convert" "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# expect_cockpit NAME SECONDS LEVEL FUEL SCORE OPERAND_A OPERAND_B: waits
# until the cockpit and the score show exactly that state.
expect_cockpit() {
    local name=$1 seconds=$2
    shift 2
    reference "$name" cockpit "$@"
    local deadline=$((SECONDS + seconds)) diff=""
    while [ $SECONDS -le $deadline ]; do
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended while waiting for $name"
        screenshot "$name"
        "$convert" "$artefacts/$name.png" "$work/$name.actual.ppm"
        diff=$("$REFUEL_REFERENCE" compare "$work/$name.ppm" "$work/$name.actual.ppm")
        if [ "$diff" = "0" ]; then
            echo "ok: $name"
            return 0
        fi
        sleep 0.1
    done
    fail "$name: the cockpit never showed level $1, fuel $2, score $3, $4 and $5 ($diff pixels differ)"
}

# predict SEED TOPIC DIFFICULTY COUNT: fills the arrays operand_a, operand_b
# and answer with the problems the game will ask, canister by canister.
predict() {
    operand_a=()
    operand_b=()
    answer=()
    local a b c
    while read -r a b c; do
        operand_a+=("$a")
        operand_b+=("$b")
        answer+=("$c")
    done < <("$REFUEL_REFERENCE" problems "$@")
    [ ${#answer[@]} -eq "$4" ] || fail "no prediction for seed $1"
}

# type_answer TEXT: the digits one by one, then Enter.
type_answer() {
    local digits=$1 i
    for ((i = 0; i < ${#digits}; i++)); do
        press "${digits:i:1}"
    done
    press Return
}

# count_color NAME R G B X Y W H: pixels of that colour in a rectangle of the
# screenshot NAME.png.
count_color() {
    local name=$1
    shift
    "$convert" "$artefacts/$name.png" "$work/$name.count.ppm"
    "$REFUEL_REFERENCE" count "$work/$name.count.ppm" "$@"
}

# expect_game_over SECONDS: waits for the red "GAME OVER" banner with its
# black shadow in the middle of the screen.
expect_game_over() {
    local deadline=$((SECONDS + $1)) red=0 black=0
    while [ $SECONDS -le $deadline ]; do
        screenshot game_over
        red=$(count_color game_over 255 97 99 150 130 500 140)
        black=$(count_color game_over 0 0 0 150 130 500 140)
        if [ "$red" -gt 400 ] && [ "$black" -gt 100 ]; then
            echo "ok: GAME OVER banner ($red red pixels)"
            return 0
        fi
        sleep 0.1
    done
    fail "no GAME OVER banner (red $red, black $black)"
}

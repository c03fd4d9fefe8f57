# Shared by tests/e2e and tests/fault: a scratch folder, a private Xvfb, the
# real game in a folder of its own, keys held long enough for a 100 Hz
# poller, and waits for what must show (a picture, a file, the exit) with
# generous limits. REFUEL_BUILD_DIR names the build (default build-sanitize/).
set -euo pipefail
build=$(cd "${REFUEL_BUILD_DIR:-$(dirname "${BASH_SOURCE[0]}")/../../build-sanitize}" && pwd)
artefacts=$build/e2e-artefacts/$(basename "$0" .sh)
rm -rf "$artefacts"
mkdir -p "$artefacts"
work=$(mktemp -d)
ref=$work/ref game_pid="" xvfb_pid="" shot="" seen=""
hold=${REFUEL_KEY_HOLD:-0.15}
# Nothing is freed before exit by design, so leak reports would be noise;
# the time shim is preloaded ahead of the sanitizer runtime.
export ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

stop_game() {
    [ -z "$game_pid" ] || { kill -9 "$game_pid" 2>/dev/null; wait "$game_pid" 2>/dev/null; } || true
    game_pid=""
}
cleanup() {
    stop_game
    [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; } || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -z "$xvfb_pid" ] || { shoot && keep failure; } || true
    grep -sv "^ALSA" "$work/err.txt" | tail -n 20 >&2 || true
    exit 1
}
# poll SECONDS COMMAND...: runs COMMAND until it succeeds; 1 when time runs out.
poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep "${interval:-0.1}"
    done
}

# REFUEL_SCREEN (WxH, default 800x600) is the display's size. Where the game
# shows its picture scaled, REFUEL_PICTURE (WxH+X+Y) is the picture's place
# on it: shots are then that part scaled back to 800x600, and a picture
# matches within a looser step (for the benchmarks' waits).
screen_size=${REFUEL_SCREEN:-800x600}
# A display of our own that outlives each game (one that resets when its
# last client leaves drops a game connecting meanwhile), and a stand-in
# xmessage: the library's messages would wait for a click.
start_display() {
    mkfifo "$work/displayfd"
    Xvfb -displayfd 7 -screen 0 "${screen_size}x24" -nolisten tcp -noreset 7>"$work/displayfd" \
        2>"$work/xvfb.log" </dev/null &
    xvfb_pid=$!
    local number
    read -r -t 60 number <"$work/displayfd" || fail "Xvfb did not start"
    export DISPLAY=:$number PATH=$work/bin:$PATH
    mkdir -p "$work/bin"
    printf '#!/bin/sh\nfor last; do :; done\necho "$last" >&2\n' >"$work/bin/xmessage"
    chmod +x "$work/bin/xmessage"
}
# render WHAT...: pictures drawn by the game's own code into $ref.
render() { mkdir -p "$ref" && "$build/tools/refuel_gallery_frames" "$build/game" "$ref" "$@" >/dev/null; }
# make_folder: a folder of its own for the game, with the built datafiles.
make_folder() {
    game_dir=$work/game
    rm -rf "$game_dir" && mkdir "$game_dir" && ln -s "$build"/game/*.dat "$game_dir/"
}
# start_game [SEED [OPTION...]]: the real game in $game_dir; SEED pins
# time(), and with it the problems.
start_game() {
    (
        cd "$game_dir"
        [ -z "${1:-}" ] || export LD_PRELOAD=$build/tests/librefuel_time_shim.so REFUEL_TEST_TIME=$1
        exec "$build/game/refuel" "${@:2}" </dev/null >"$work/out.txt" 2>"$work/err.txt"
    ) &
    game_pid=$!
}
ended() { ! kill -0 "$game_pid" 2>/dev/null; }
# exits STATUS: waits for the game to end with STATUS and no sanitizer report.
exits() {
    poll 120 ended || fail "the game did not end"
    status=0
    wait "$game_pid" || status=$?
    game_pid=""
    ! grep -qE "Sanitizer|runtime error:" "$work/err.txt" || fail "a sanitizer report"
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}
quit() { press 5 Return && exits 0; }
press() {
    local k err
    for k; do
        err=$(xdotool keydown "$k" sleep "$hold" keyup "$k" sleep "$hold" 2>&1 >/dev/null)
        [ -z "$err" ] || fail "xdotool: $err"
    done
}

# shoot: the screen, in $shot (a PPM file); keep NAME: that as NAME.png
# among the artefacts. The polls go through refuel_screen, one small
# process each.
shoot() {
    shot=$work/screen.ppm && "$build/tests/refuel_screen" shoot "$shot" || return
    [ -n "${REFUEL_PICTURE:-}" ] || return 0
    /usr/bin/convert "$shot" -crop "$REFUEL_PICTURE" +repage -resize '800x600!' "$work/picture.ppm"
    shot=$work/picture.ppm
}
keep() { /usr/bin/convert "$shot" "$artefacts/$1.png"; }
# picture PNG: $shot shows PNG, within a 16-bit colour step, except where
# PNG holds the mask colour.
picture() {
    if [ -n "${REFUEL_PICTURE:-}" ]; then  # 2 % of the picture, a scaling step apart
        /usr/bin/convert "$shot" \( "$1" -transparent "#FF00FF" \) -composite "$work/merged.miff"
        seen="$(/usr/bin/compare -metric AE -fuzz 10% "$work/merged.miff" "$shot" null: 2>&1) pixels differ"
        [ "${seen%% *}" -lt 9600 ] 2>/dev/null
        return
    fi
    # Each reference is read as PPM, made once (again if it is drawn again).
    local ppm=${1%.png}.ppm
    [ "$ppm" -nt "$1" ] || /usr/bin/convert "$1" "$ppm" || return
    seen="$("$build/tests/refuel_screen" differ "$shot" "$ppm") pixels differ"
    [ "$seen" = "0 pixels differ" ]
}
# count R G B X Y W H: pixels of about that colour in a rectangle of $shot.
count() { "$build/tests/refuel_screen" count "$shot" "$@"; }
# colour MIN R G B X Y W H: more than MIN such pixels.
colour() { seen="$(count "${@:2}") pixels of $2,$3,$4" && [ "${seen%% *}" -gt "$1" ]; }
# see NAME [TEST ARGS...]: shoots the screen until TEST passes (default:
# picture $ref/NAME.png) and keeps it as NAME; the game must not end meanwhile.
see() {
    local name=$1
    shift
    [ $# -gt 0 ] || set -- picture "$ref/$name.png"
    shows() { ended && fail "the game ended before $name"; shoot && "$@"; }
    poll 60 shows "$@" || fail "$name never showed: $seen"
    keep "$name"
    echo "ok: $name"
}
# tour KEYS NAME ...: presses KEYS (- for none), then sees NAME, and so on.
tour() {
    while [ $# -gt 1 ]; do
        # shellcheck disable=SC2086
        [ "$1" = - ] || press $1
        see "$2"
        shift 2
    done
}

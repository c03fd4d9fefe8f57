#!/usr/bin/env bash
# With no display at all the program says it cannot set the video mode and
# exits with status 1, without crashing.
source "$(dirname "$0")/lib.sh"
make_game_folder
unset DISPLAY
start_game
wait_exit 20
[ "$exit_status" -eq 1 ] || fail "exit status $exit_status, expected 1"
grep -q "Error setting a 15 or 16 bpp 800x600 video mode" "$work/game.out" "$work/game.err" ||
    fail "no video mode message; output: $(cat "$work/game.out" "$work/game.err")"
cp "$work/game.out" "$artefacts/stdout.txt"
echo "ok: message and exit status 1"

#!/usr/bin/env bash
# With no display at all the program says it cannot set the video mode and
# exits with status 1, without crashing.
source "$(dirname "$0")/lib.sh"
make_folder
unset DISPLAY
start_game
exits 1
grep -q "Error setting a 15 or 16 bpp 800x600 video mode" "$work/out.txt" "$work/err.txt" ||
    fail "no video mode message; output: $(cat "$work/out.txt" "$work/err.txt")"
echo "ok: the message"

#!/usr/bin/env bash
# An installed tree (DESTDIR) run from elsewhere with --window under Xvfb, HOME and XDG_DATA_HOME its
# own: title, Enter, menu, 5 and Enter end it with status 0, no score folder made. Usage: BUILD_DIR
set -euo pipefail
build=$1 tmp=$(mktemp -d) xvfb="" game=""
trap 'kill $game $xvfb 2>/dev/null; wait $game $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
DESTDIR=$tmp/root cmake --install "$build" --prefix /usr >/dev/null
mkfifo "$tmp/fd" && mkdir -p "$tmp/home" "$tmp/elsewhere" && cd "$tmp/elsewhere"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$tmp/fd" 2>/dev/null & xvfb=$!
read -r -t 20 n <"$tmp/fd" && export DISPLAY=:$n HOME=$tmp/home XDG_DATA_HOME=$tmp/xdg
timeout -k 2 120 "$tmp/root/usr/games/refuel" --window 2>/dev/null & game=$!
wait_for() {  # wait_for NAME TEST: until pixel (20, 300) passes TEST, 60 s at most
    local p='%[fx:int(255*p{20,300}.r)] %[fx:int(255*p{20,300}.b)]' r=0 b=0 end=$((SECONDS + 60))
    while ((SECONDS < end)) && kill -0 $game; do
        read -r r b < <(xwd -root -silent | /usr/bin/convert xwd:- -format "$p" info:)
        if (($2)); then return 0; else sleep 0.1; fi; done
    echo "FAIL: no $1 (pixel $r, $b)" && exit 1
}
wait_for title 'r > 200 && b < 120' && xdotool keydown Return sleep 0.1 keyup Return
wait_for menu 'b > r + 40' && xwininfo -root -children | grep -q '"refuel".* 800x600+0+0' ||
    { echo "FAIL: no 800x600 window" && exit 1; }
xdotool keydown 5 sleep 0.1 keyup 5 sleep 0.1 keydown Return sleep 0.1 keyup Return
wait $game || { echo "FAIL: status $?" && exit 1; }
[ ! -e "$tmp/xdg" ] || { echo "FAIL: a score folder was made at start-up" && exit 1; }
echo "ok: the installed game started from elsewhere and left from its menu"

#!/usr/bin/env bash
# On big displays the 800x600 picture is shown bigger: full screen on
# 1920x1080 it fills the height (1440x1080, black bars beside it) and its
# centre is the gallery's, and fits again when the display shrinks; on two
# monitors it takes the primary one; a
# window on 3840x2160 is 3x, 2400x1800, in the middle of the work area a
# window manager leaves, and a multiple that does not fit gives that one,
# with a message.
source "$(dirname "$0")/lib.sh"

# rgb X Y: the colour of a pixel of $shot as "R G B".
rgb() {
    /usr/bin/convert "$shot" -crop "1x1+$1+$2" -depth 8 -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]' info:
}
# near "R G B" "R G B": within 12 levels in each colour.
near() {
    awk -v a="$1" -v b="$2" 'BEGIN { split(a, x); split(b, y)
        for (i = 1; i <= 3; i++) if (x[i] - y[i] > 12 || y[i] - x[i] > 12) exit 1 }'
}
lit() { [ "$1" != "0 0 0" ]; }
# framed x|y CX CY IN IN OUT OUT: the picture's centre at CX,CY is the
# gallery's; along that row (x) or column (y), lit at the two INs and black
# at the two OUTs.
framed() {
    local axis=$1 cx=$2 cy=$3
    along() { if [ "$axis" = x ]; then rgb "$1" "$cy"; else rgb "$cx" "$1"; fi; }
    shoot || return
    seen="centre $(rgb "$cx" "$cy"), inside $(along "$4") $(along "$5"), outside $(along "$6") $(along "$7")"
    near "$(rgb "$cx" "$cy")" "$centre" && lit "$(along "$4")" && lit "$(along "$5")" &&
        [ "$(along "$6")" = "0 0 0" ] && [ "$(along "$7")" = "0 0 0" ]
}
# new_display WxH: a fresh display of that size in place of the last.
new_display() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" && wait "$xvfb_pid" || true
    fi
    rm -f "$work/displayfd"
    screen_size=$1
    start_display
}

render screens
make_folder
centre=$(shot=$ref/02_title.png rgb 400 300)

new_display 1920x1080
start_game 1000000000
# The title's centre is up, then its edges: inside the picture's new edges
# the picture, outside them black.
title_up() {
    shoot || return
    seen="centre $(rgb 960 540), wanted $centre"
    near "$(rgb 960 540)" "$centre" || return
    local x y inside=""
    for x in 241 1678; do inside+="$(rgb "$x" 540),"; done
    for y in 0 1079; do inside+="$(rgb 960 "$y"),"; done
    seen="edges ${inside%,}; outside $(rgb 238 540), $(rgb 1681 540)"
    for x in 241 1678; do lit "$(rgb "$x" 540)" || return; done
    for y in 0 1079; do lit "$(rgb 960 "$y")" || return; done
    [ "$(rgb 238 540)" = "0 0 0" ] && [ "$(rgb 1681 540)" = "0 0 0" ]
}
poll 60 title_up || fail "the full-screen title never showed: $seen"
keep title_1920x1080
echo "ok: full screen at 1920x1080 fills the height, its centre the gallery's"
# The display shrinks under the game (the server says it failed to set its
# one output's mode, yet takes the new size): the picture fits it again,
# 1280x960 with bars above and below.
said=$(xrandr --fb 1280x1024 2>&1) || true
shrunk() { [ "$(xwininfo -root | awk '/geometry/ { print $2 }')" = "1280x1024+0+0" ]; }
poll 10 shrunk ||
    fail "the display did not change size: $(xwininfo -root | grep geometry); xrandr: $said"
poll 60 framed y 640 512 33 990 30 994 || fail "the picture did not fit the smaller display: $seen"
echo "ok: a display that shrinks under the game gets the picture fitted to it"
press space
quit

# Two monitors side by side, the primary on the right: full screen takes
# it alone, the picture in its middle (1520 to 2959).
new_display 3200x1080
export REFUEL_TEST_MONITORS="0,0,1280,1024,0;1280,0,1920,1080,1"
start_game 1000000000
unset REFUEL_TEST_MONITORS
poll 60 framed x 2240 540 1521 2958 1517 2962 || fail "full screen is not on the primary monitor: $seen"
press space
quit
echo "ok: full screen on two monitors takes the primary one"

new_display 3840x2160
# window_is WxH+X+Y: the game's top window has that size and place.
window_is() {
    seen=$(xwininfo -root -tree | awk '/"refuel"/ { print $(NF - 1); exit }')
    [ "$seen" = "$1" ]
}
for options in --window "--scale 4"; do
    # shellcheck disable=SC2086
    start_game 1000000000 $options
    poll 60 window_is 2400x1800+720+180 ||
        fail "$options: the window is ${seen:-missing}, not 2400x1800 in the middle"
    see_title() { shoot && near "$(rgb 1920 1080)" "$centre"; }
    poll 60 see_title || fail "$options: no title in the window"
    press space
    quit
    echo "ok: $options on 3840x2160 is a window of 2400x1800"
done
keep window_3840x2160
grep -q "does not fit" "$work/err.txt" || fail "--scale 4 said nothing on stderr"
echo "ok: --scale 4 said why it is 3x"

# Panels leave 3840x1700: 2x, in the middle of what they leave.
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,0,3840,1700
start_game 1000000000 --window
poll 60 window_is 1600x1200+1120+250 || fail "in a work area of 3840x1700 the window is ${seen:-missing}"
see_title() { shoot && near "$(rgb 1920 850)" "$centre"; }
poll 60 see_title || fail "no title in the window in the work area"
press space
quit
echo "ok: the window is 2x in the middle of a 3840x1700 work area"

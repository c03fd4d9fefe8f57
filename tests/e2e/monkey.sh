#!/usr/bin/env bash
# Random keys against the real game for SECONDS seconds: digits, Enter,
# Space, Backspace, Escape, arrows, letters, keypad and other keys, alone or
# two at once, held from 20 ms to 2.5 s, through the menus, the settings,
# games, the guide, the table and the name box. Pass: no crash, no
# sanitizer report on the game's stderr, and at the end the game still
# answers: Escape and Enter bring it back to the main menu, where choice 5
# ends it with status 0.
#
# Usage: tests/e2e/monkey.sh SECONDS [SEED]
# Run from a build's ctest, or by hand, in which case it uses the sanitizer
# build in build-sanitize/ (REFUEL_MONKEY_BUILD names another build folder).
# Choosing 0 or 5 on the main menu ends the program; the monkey looks at
# the screen before each Enter and holds back the one that would do that,
# so the run is not spent restarting. When it ends anyway (status 0 through
# a path the look missed) the game is started again and the run goes on.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ -z "${REFUEL_GAME_DIR:-}" ]; then
    build=${REFUEL_MONKEY_BUILD:-$here/../../build-sanitize}
    build=$(cd "$build" && pwd)
    export REFUEL_GAME_DIR=$build/game REFUEL_BUILD_DIR=$build
    export REFUEL_REFERENCE=$build/tests/refuel_reference_frame
    export REFUEL_TIME_SHIM=$build/tests/librefuel_time_shim.so
fi
duration=${1:?usage: monkey.sh SECONDS [SEED]}
seed=${2:-$(date +%s)}
source "$here/lib.sh"
source "$here/reliability_lib.sh"
RANDOM=$seed
echo "monkey: $duration s, seed $seed, game in $REFUEL_GAME_DIR"

keys_log="$artefacts/keys.log"
: >"$keys_log"

digits=(0 1 2 3 4 5 6 7 8 9)
letters=(a b c d e f g h i j k l m n o p q r s t u v w x y z)
keypad=(KP_0 KP_1 KP_2 KP_3 KP_4 KP_5 KP_6 KP_7 KP_8 KP_9 KP_Enter KP_Add KP_Subtract
    KP_Multiply KP_Divide KP_Decimal)
others=(Tab Home End Insert Delete Prior Next F1 F5 minus period comma slash semicolon
    apostrophe bracketleft Caps_Lock)
# Weighted draw: a slot names a group or a key.
slots=(d d d d d d d d d d d d Return Return Return Return Return space space BackSpace
    BackSpace Escape Up Up Down Down Left Right l l l l k k k o)

pick_key() {
    local slot=${slots[RANDOM % ${#slots[@]}]}
    case $slot in
        d) key=${digits[RANDOM % 10]} ;;
        l) key=${letters[RANDOM % 26]} ;;
        k) key=${keypad[RANDOM % ${#keypad[@]}]} ;;
        o) key=${others[RANDOM % ${#others[@]}]} ;;
        *) key=$slot ;;
    esac
}

# Mostly short taps, sometimes a long hold.
pick_hold() {
    local r=$((RANDOM % 100))
    if [ $r -lt 70 ]; then
        hold=$(printf '0.%03d' $((20 + RANDOM % 100)))
    elif [ $r -lt 92 ]; then
        hold=$(printf '0.%03d' $((120 + RANDOM % 480)))
    else
        hold=$((RANDOM % 2)).$((RANDOM % 10))5
    fi
}

xdo() {
    local err
    err=$(xdotool "$@" 2>&1 >/dev/null)
    [ -z "$err" ] || fail "xdotool $*: $err"
}

# The six main-menu pictures (choice 0 to 5), taken from the game itself.
learn_menu() {
    local n
    for n in 1 2 3 4 5 0; do
        press "$n"
        sleep 0.4
        screenshot "menu$n"
        cp "$artefacts/menu$n.png" "$work/menu$n.png"
    done
    press 1
    for n in 2 3 4 5 0; do
        [ "$(differing_pixels "$work/menu1.png" "$work/menu$n.png")" -gt 100 ] ||
            fail "the main menu did not answer choice $n"
    done
}

# main_menu_choice [CHOICES]: prints the menu choice the screen shows, of
# those given (default all), or nothing when it shows none of them.
main_menu_choice() {
    screenshot now
    local n
    for n in ${1:-0 1 2 3 4 5}; do
        if [ "$(differing_pixels "$artefacts/now.png" "$work/menu$n.png")" -lt 50 ]; then
            echo "$n"
            return 0
        fi
    done
}

game_ended() {
    ! kill -0 "$game_pid" 2>/dev/null
}

# After the game has ended by itself: a crash or a sanitizer report fails
# the run; a clean status 0 (the menu's exit chosen) starts it again.
restart_after_exit() {
    wait_exit 5
    no_sanitizer_report
    [ "$exit_status" -eq 0 ] || fail "the game ended with status $exit_status; keys in $keys_log"
    restarts=$((restarts + 1))
    echo "# left from the menu; started again" >>"$keys_log"
    start_game "$seed"
    expect_screen title_again 60 title
    press Return
    sleep 1
}

start_display
make_game_folder
start_game "$seed"
expect_screen title 60 title
press Return
sleep 1
learn_menu

presses=0 chords=0 held_back=0 restarts=0
deadline=$((SECONDS + duration))
while [ $SECONDS -lt $deadline ]; do
    game_ended && restart_after_exit
    pick_key
    pick_hold
    if [ "$key" = Return ]; then
        choice=$(main_menu_choice "0 5")
        if [ -n "$choice" ]; then
            held_back=$((held_back + 1))
            key=Down
        fi
    fi
    if [ $((RANDOM % 20)) -eq 0 ] && [ "$key" != Return ]; then
        first=$key
        pick_key
        [ "$key" = Return ] && key=space
        echo "$SECONDS $first+$key $hold" >>"$keys_log"
        xdo keydown "$first" keydown "$key" sleep "$hold" keyup "$key" keyup "$first"
        chords=$((chords + 1))
    else
        echo "$SECONDS $key $hold" >>"$keys_log"
        xdo keydown "$key" sleep "$hold" keyup "$key"
    fi
    presses=$((presses + 1))
    # A screen every 25 presses shows afterwards where the keys went.
    if [ $((presses % 25)) -eq 0 ]; then
        screenshot "seen-$(printf '%05d' "$presses")"
    fi
    sleep "0.0$((RANDOM % 10))"
done
echo "$presses presses ($chords chords), $held_back Enter held back on choice 0 or 5, $restarts restarts"

# Home: Escape leaves a game or the name box, 0 and Enter leave the settings,
# Enter closes the guide, the table and the title.
for attempt in $(seq 1 15); do
    game_ended && restart_after_exit
    choice=$(main_menu_choice)
    if [ -n "$choice" ]; then
        press 5
        sleep 0.3
        [ "$(main_menu_choice)" = 5 ] || continue
        press Return
        wait_exit 20
        no_sanitizer_report
        [ "$exit_status" -eq 0 ] || fail "exit status $exit_status after choice 5"
        echo "ok: back at the menu after $((attempt - 1)) steps, choice 5 ended the game with status 0"
        echo "ok: monkey ran $duration s: $presses presses, $restarts restarts, no crash, no sanitizer report"
        exit 0
    fi
    press Escape
    sleep 0.8
    [ -n "$(main_menu_choice)" ] && continue
    press 0
    sleep 0.3
    [ -n "$(main_menu_choice)" ] && continue
    press Return
    sleep 0.8
done
fail "the game did not come back to the main menu"

#!/usr/bin/env bash
# Random keys against the real game: a third digits, then Enter, Space,
# Backspace, Escape, arrows, letters, keypad and other keys, one press in
# twenty two keys at once, held 20 ms to 2.5 s. The game must never crash or
# report a sanitizer error; left from the menu (status 0) it is started
# again; at the end it must find its way back to the menu and exit with 0.
# Usage: tests/e2e/test_monkey.sh [SECONDS, default 60] [SEED]
source "$(dirname "$0")/lib.sh"
duration=${1:-60} seed=${2:-$(date +%s)}
RANDOM=$seed
echo "monkey: $duration s, seed $seed (keys in keys.log)"
keys=({0..9} {0..9} {0..9} Return Return Return Return Return space space BackSpace BackSpace
    Escape Up Up Down Down Left Right a e k m q x z KP_0 KP_7 KP_Enter KP_Add KP_Divide Tab
    Home End Prior F1 F5 minus period slash Caps_Lock)
start_display
render screens
make_folder
start_game "$seed"
see 02_title
presses=0 restarts=0 end=$((SECONDS + duration))
while [ $SECONDS -lt $end ]; do
    ! ended || { exits 0 && restarts=$((restarts + 1)) && start_game "$seed"; }
    down=("${keys[RANDOM % ${#keys[@]}]}")
    [ $((RANDOM % 20)) -ne 0 ] || down+=("${keys[RANDOM % ${#keys[@]}]}")
    # Enter on choice 5 would end the game: the run is better spent on play.
    if [ "${down[0]}" = Return ] && shoot && picture "$ref/03_main_menu_5.png"; then
        down=(Down)
    fi
    r=$((RANDOM % 100))
    ms=$((r < 70 ? 20 + RANDOM % 100 : r < 92 ? 120 + RANDOM % 480 : 600 + RANDOM % 1900))
    keys_down=$(IFS=+ && echo "${down[*]}")
    echo "$SECONDS $keys_down $ms ms" >>"$artefacts/keys.log"
    hold=$((ms / 1000)).$(printf %03d $((ms % 1000))) press "$keys_down"
    presses=$((presses + 1))
    # Every 25th screen shows afterwards where the keys went.
    [ $((presses % 25)) -ne 0 ] || { shoot && keep "seen-$presses"; }
done
echo "ok: $presses presses, $restarts restarts, no crash"

# Escape leaves a game or the name box, 0 and Enter go back from a
# settings menu and leave from the main menu; Enter closes the other screens.
for round in {1..20}; do
    press Escape 0 Return
    if poll 5 ended; then
        exits 0
        echo "ok: back at the menu and out after $round rounds"
        exit 0
    fi
done
fail "the game did not find its way back to the menu"

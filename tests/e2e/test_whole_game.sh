#!/usr/bin/env bash
# A whole game by keys, seed pinned: mixed topic at difficulty 1, levels 1
# to 3 answered right (canisters fly 25, 12.5, 10 s), each answer typed once
# the cockpit shows the predicted problem; at level 4 canisters hit until
# the tank is dry. GAME OVER, the congratulation (1170 beats 1000, the
# lowest default), the name, the table, hiscores.dat holding it, and after a
# restart the menu's table still showing it.
source "$(dirname "$0")/lib.sh"
seed=1765004321
start_display
render screens
render table 1170 ACE
mapfile -t problems < <("$build/tests/refuel_predict_problems" "$seed" 5 1 20)

# The game as steps: the cockpit to wait for (level, fuel, score, problem),
# then what to do. A right answer brings the level's fuel and streak x level
# points, the streak (10, 20, ...) running on across levels; a hit costs 15.
start_fuel=(0 35 30 25 20) gain=(0 13 12 11)
steps=() cockpits=() i=0 score=0 streak=10
step() {
    read -r a b answer <<<"${problems[i]}"
    cockpits+=("l$2_$i" "$2" "$3" "$score" "$a" "$b")
    steps+=("l$2_$i $1 $answer")
    i=$((i + 1))
}
for level in 1 2 3; do
    for ((fuel = start_fuel[level]; fuel < 60; fuel += gain[level])); do
        step answer "$level" "$fuel"
        score=$((score + streak * level)) streak=$((streak + 10))
    done
    # Fuel still pending drains into the full tank after the gauge shows 60,
    # and Space would carry it into the next level. An answer at a full tank
    # is dropped unjudged and the next canister follows 75 ticks later, long
    # after the drain: Space waits for that canister.
    step drop "$level" 60
    step space "$level" 60
done
step hit 4 20
step hit 4 5
[ "$score" -eq 1170 ] || fail "the steps score $score"
render cockpit "${cockpits[@]}"

make_folder
start_game "$seed"
tour - 02_title Return 03_main_menu_1 "4 Return" 04_difficulty_menu_1 Return 05_topic_menu_1 \
    5 05_topic_menu_5 Return 03_main_menu_1
press Return
for s in "${steps[@]}"; do
    read -r name action answer <<<"$s"
    see "$name"
    # shellcheck disable=SC2046
    [ "$action" != answer ] && [ "$action" != drop ] || press $(grep -o . <<<"$answer") Return
    [ "$action" != space ] || press space
done
see game_over colour 400 255 96 96 150 130 500 140
see congratulation colour 20000 32 32 32 205 155 390 90
see name_box colour 25000 32 32 32 205 275 390 100
tour "a c e Return" table_marked
press Return
see practice_report colour 300 96 220 120 0 0 800 600  # the right answers' bars
tour Return 03_main_menu_1
quit
grep -q ACE "$game_dir/hiscores.dat" || fail "hiscores.dat does not hold the name"
# practice.csv: every judged answer in the order played, right, then the two
# misses; answers dropped at a full tank are not kept.
played=$(for s in "${steps[@]}"; do
    read -r _ action answer <<<"$s"
    case $action in answer) echo "$answer" ;; hit) echo "?" ;; esac
done)
rows=$(awk -F, 'NR > 1 { print ($11 == "right" ? $9 : $11 == "missed" ? "?" : "wrong") }' \
    "$game_dir/practice.csv")
[ "$rows" = "$played" ] || fail "practice.csv holds $rows, not $played"
cp "$game_dir/hiscores.dat" "$artefacts/"
start_game
tour - 02_title Return 03_main_menu_1 "2 Return" table Return 03_main_menu_1
quit

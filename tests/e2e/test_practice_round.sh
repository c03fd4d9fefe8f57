#!/usr/bin/env bash
# An installed game with a data folder not yet made: `refuel --practise x2`
# flies a round straight away. A new player meets four new facts, 0x2, 1x2,
# 2x2 and 2x3, five times each, the + and x facts swapping their order
# every other time; all answered right, the tank never fills. Then the
# round's report, its fact map, the main menu, and practice.csv in the new
# folder holding the round's 20 rows.
source "$(dirname "$0")/lib.sh"
start_display
render screens
DESTDIR=$work/root cmake --install "$build" --prefix /usr >/dev/null
export HOME=$work/home XDG_DATA_HOME=$work/xdg
mkdir -p "$HOME"

firsts=(0 1 2 2) seconds=(2 2 2 3) cockpits=() answers=() rows=() fuel=35 score=0
for ((i = 0; i < 20; i++)); do
    a=${firsts[i % 4]} b=${seconds[i % 4]}
    ((i / 4 % 2 == 0)) || read -r a b <<<"$b $a"
    cockpits+=("c$i" 1 "$fuel" "$score" "$a" "$b")
    answers+=("$((a * b))")
    rows+=("$a x $b,multiplication,right,round")
    fuel=$((fuel + 13 > 59 ? 59 : fuel + 13)) score=$((score + 10 * (i + 1)))
done
render cockpit "${cockpits[@]}"

(cd "$HOME" && exec "$work/root/usr/games/refuel" --practise x2 </dev/null >"$work/out.txt" \
    2>"$work/err.txt") &
game_pid=$!
for ((i = 0; i < 20; i++)); do
    see "c$i"
    # shellcheck disable=SC2046
    press $(grep -o . <<<"${answers[i]}") Return
done
see practice_round colour 300 96 220 120 0 0 800 600          # the right answers' bars
press Return
see fact_map colour 5000 140 235 150 70 110 456 430              # four facts known
tour Return 03_main_menu_1
quit

csv=$XDG_DATA_HOME/refuel/practice.csv
held=$(awk -F, 'NR > 1 { print $5 "," $7 "," $11 "," $15 }' "$csv")
[ "$held" = "$(printf '%s\n' "${rows[@]}")" ] || fail "practice.csv holds $held"
[ "$(head -c 5 "$csv")" = date, ] || fail "practice.csv has no header"
cp "$csv" "$artefacts/"
echo "ok: a round of x2 in a fresh data folder"

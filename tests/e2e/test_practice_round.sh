#!/usr/bin/env bash
# An installed game with a data folder not yet made: `refuel --practise /3`
# flies a round straight away, its facts drawn from a pinned seed. The
# first canister is answered wrong and comes back three canisters later;
# every quotient shows as it is (never 3/0), and the round's heading counts
# the canisters, the one brought back among them. Then the round's report, its
# fact map, the main menu; practice.csv in the new folder holds the round's
# 21 rows, and `refuel --report` reads them back.
source "$(dirname "$0")/lib.sh"
start_display
render screens
DESTDIR=$work/root cmake --install "$build" --prefix /usr >/dev/null
export HOME=$work/home XDG_DATA_HOME=$work/xdg
mkdir -p "$HOME"
seed=1765000000

mapfile -t problems < <("$build/tests/refuel_predict_problems" "$seed" round /3 WR)
[ ${#problems[@]} -eq 21 ] || fail "the round should fly 21 canisters, not ${#problems[@]}"
cockpits=() answers=() rows=() fuel=35 score=0
for ((i = 0; i < 21; i++)); do
    read -r a b answer <<<"${problems[i]}"
    [ "$b" = 3 ] && [ $((a / 3)) = "$answer" ] || fail "canister $i shows $a/$b"
    # The round's heading counts its canisters; the first one's miss adds one.
    cockpits+=("c$i" "$fuel" "$score" "$a" "$b" "$((i + 1))" "$((i == 0 ? 20 : 21))")
    if ((i == 0)); then
        answers+=("$((answer + 1))") rows+=("$a / 3,division,wrong,round") fuel=20
    else
        answers+=("$answer") rows+=("$a / 3,division,right,round")
        fuel=$((fuel + 13 > 59 ? 59 : fuel + 13)) score=$((score + 10 * i))
    fi
done
[ "${problems[3]}" = "${problems[0]}" ] || fail "the missed fact did not come back"
render round "${cockpits[@]}"

(cd "$HOME" && LD_PRELOAD=$build/tests/librefuel_time_shim.so REFUEL_TEST_TIME=$seed \
    exec "$work/root/usr/games/refuel" --practise /3 </dev/null >"$work/out.txt" \
    2>"$work/err.txt") &
game_pid=$!
for ((i = 0; i < 21; i++)); do
    see "c$i"
    # shellcheck disable=SC2046
    press $(grep -o . <<<"${answers[i]}") Return
done
see practice_round colour 300 96 220 120 0 0 800 600          # the right answers' bars
press Return
see fact_map colour 100 205 55 55 70 110 456 430               # the missed fact: to learn
tour Return 03_main_menu_1
quit

csv=$XDG_DATA_HOME/refuel/practice.csv
held=$(awk -F, 'NR > 1 { print $5 "," $7 "," $11 "," $15 }' "$csv")
[ "$held" = "$(printf '%s\n' "${rows[@]}")" ] || fail "practice.csv holds $held"
report=$(REFUEL_TEST_TIME=$seed LD_PRELOAD=$build/tests/librefuel_time_shim.so \
    "$work/root/usr/games/refuel" --report 2>/dev/null)
grep -q "practice rounds: 1   canisters: 21" <<<"$report" || fail "--report: $report"
cp "$csv" "$artefacts/"
echo "ok: a round of /3 answered wrong once, in a fresh data folder"

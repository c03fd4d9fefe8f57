#!/usr/bin/env bash
# Two children on one computer, by keys. The first plays a short game (one
# right answer, then wrong ones until the tank is dry) with no player screen,
# as always, and adds a second player, BEN, from the practice report (N).
# From then on "who is playing?" follows the title: the first player picks
# their row and names themselves ANN, and plays; then BEN plays. The name
# box starts with the name of the one playing; each one's rows are apart:
# ANN's in practice.csv with the game from before, BEN's in his own file.
source "$(dirname "$0")/lib.sh"
seed=1765004321
start_display
render screens
mapfile -t problems < <("$build/tests/refuel_predict_problems" "$seed" 1 1 4)
read -r _ _ answer <<<"${problems[0]}"
# Right, then wrong three times: 35 + 13 - 15 - 25 - 35 runs dry.
fuels=(35 48 33 8) cockpits=()
for i in 0 1 2 3; do
    read -r a b _ <<<"${problems[i]}"
    cockpits+=("c$i" 1 "${fuels[i]}" "$((i > 0 ? 10 : 0))" "$a" "$b")
done
render cockpit "${cockpits[@]}"

make_folder
# Every score above 0 goes into this table, so a short game earns the name box.
head -c 10 /dev/zero >"$game_dir/hiscores.dat"

# play_short_game WHO: from the main menu to the name box.
play_short_game() {
    press Return
    for i in 0 1 2 3; do
        see "c$i"
        # shellcheck disable=SC2046
        press $(grep -o . <<<"$([ $i -eq 0 ] && echo "$answer" || echo 999)") Return
    done
    see game_over colour 400 255 96 96 150 130 500 140
    see "name_box_$1" colour 25000 32 32 32 205 275 390 100
}
# The highlighted row of the player screen: the menus' inverted navy.
row() { colour 20000 235 229 207 50 $((84 + 60 * $1)) 700 60; }

# The gold of a name typed or filled in, in the box and in the table.
gold() { colour "$1" 255 220 64 205 320 390 50; }
table_gold() { colour 20 255 220 64 0 0 800 600; }
report() { colour 300 96 220 120 0 0 800 600; }  # the right answer's bar

start_game "$seed"
tour - 02_title Return 03_main_menu_1
play_short_game first
press a c e Return
see table_ace table_gold
press Return
see practice_report report
press n
see new_player_box colour 25000 32 32 32 155 265 490 110
tour "b e n Return" 03_main_menu_1
quit
# Each entry names its file (after the list's heading line).
entries() { tail -n +2 "$game_dir/players.txt"; }
[ "$(entries)" = "$(printf 'practice.csv\nBEN practice-BEN.csv')" ] || fail "players.txt: $(cat "$game_dir/players.txt")"

start_game "$seed"
tour - 02_title
press Return
see who_is_playing row 1
press Down
see who_is_playing_ben row 2
press Up Return
see first_name_box colour 25000 32 32 32 155 265 490 110
tour "a n n Return" 03_main_menu_1
play_short_game ann
see name_box_ann_filled gold 200
press Return
see table_ann table_gold
press Return
see practice_report_ann report
tour Return 03_main_menu_1
quit

start_game "$seed"
tour - 02_title
press Return
see who_is_playing_ann row 1
tour "2 Return" 03_main_menu_1
play_short_game ben
see name_box_ben_filled gold 200
press Return
see table_ben table_gold
press Return
see practice_report_ben report
tour Return 03_main_menu_1
quit

[ "$(entries)" = "$(printf 'ANN practice.csv\nBEN practice-BEN.csv')" ] || fail "players.txt: $(cat "$game_dir/players.txt")"
# The name box's names, as they were left: ACE typed, ANN and BEN as filled in.
for name in ACE ANN BEN; do
    grep -q "$name" "$game_dir/hiscores.dat" || fail "hiscores.dat lacks $name"
done
results() { awk -F, 'NR > 1 { print $9 ":" $11 }' "$1" | tr '\n' ' '; }
game=$(for i in 0 1 2 3; do read -r _ _ x <<<"${problems[i]}"; echo "$x:$([ $i -eq 0 ] && echo right || echo wrong)"; done | tr '\n' ' ')
[ "$(results "$game_dir/practice.csv")" = "$game$game" ] || fail "practice.csv: $(results "$game_dir/practice.csv")"
[ "$(results "$game_dir/practice-BEN.csv")" = "$game" ] || fail "BEN's file: $(results "$game_dir/practice-BEN.csv")"
cp "$game_dir"/players.txt "$game_dir"/*.csv "$artefacts/"
echo "ok: two players, each with their own rows and their name in the box"

#!/usr/bin/env bash
# A whole game played as a person would, with the seed pinned: mixed topic at
# difficulty 1, every problem answered right, the tank filled and Space
# pressed at each of the ten levels. After level 10 the congratulation, the
# name typed in, the table showing it at rank 1 with the full score, and the
# file holding both; then choice 5 ends the program with status 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/reliability_lib.sh"
start_display
make_game_folder
seed=1765010101
new_game "$seed" 5 1 90
start_game "$seed"

go_to_menu
choose_settings 1 5
press 1 Return

cockpit level1_start 10
for level in 1 2 3 4 5 6 7 8 9 10; do
    fill_tank "level$level"
done
echo "ok: ten levels, $idx canisters, score $score_m"

# 1000 is the lowest default score; the whole game scores far more.
expect_box congratulation 205 155 390 90 20000
expect_box name_box 205 275 390 100 25000
press p i l o t 7 Return
expect_screen table 10 highscores 0
[ "$(score_in_file 1)" = "$score_m" ] || fail "hiscores.dat holds $(score_in_file 1) at rank 1, expected $score_m"
[ "$(name_in_file 1)" = "PILOT7" ] || fail "hiscores.dat holds the name '$(name_in_file 1)' at rank 1"
[ "$(score_in_file 2)" = 16000 ] || fail "the old best score did not move to rank 2"
echo "ok: hiscores.dat holds PILOT7 with $score_m"
press Return
expect_screen menu_after_table 10 menu 1
quit_from_menu
no_sanitizer_report

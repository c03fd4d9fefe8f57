#!/usr/bin/env bash
# A game lost by running out of fuel at level 6. Multiplication at
# difficulty 4 (answers up to 1000): right answers through five levels,
# then at level 6 one more right answer (10 + 8) and two wrong ones, which
# cost 15 and then 25: the tank runs dry, GAME OVER. 8150 points beat the
# third score of the table kept in hiscores.dat; the name box is left with
# Escape after a letter typed and deleted, so the default name goes in.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/reliability_lib.sh"
start_display
make_game_folder
write_classic_scores 30000 20000 8000 5000 2000
seed=1765030303
new_game "$seed" 3 4 40
start_game "$seed"

go_to_menu
choose_settings 4 3
press 1 Return
cockpit level1_start 10
for level in 1 2 3 4 5; do
    fill_tank "level$level"
done
answer_right level6_right
answer_wrong level6_wrong1
answer_wrong level6_wrong2 && fail "the model expected the tank to run dry"
expect_game_over 10
[ "$score_m" -eq 8150 ] || fail "the model scored $score_m"

expect_box congratulation 205 155 390 90 20000
expect_box name_box 205 275 390 100 25000
press x BackSpace Escape
expect_screen table 10 highscores 2
[ "$(score_in_file 3)" = 8150 ] || fail "hiscores.dat holds $(score_in_file 3) at rank 3"
[ "$(name_in_file 3)" = HALBREK ] || fail "hiscores.dat holds '$(name_in_file 3)' at rank 3"
[ "$(score_in_file 4)" = 8000 ] && [ "$(score_in_file 5)" = 5000 ] ||
    fail "the lower scores did not move down"
echo "ok: 8150 at rank 3 under the default name"
press Return
expect_screen menu_after_table 10 menu 1
quit_from_menu
no_sanitizer_report

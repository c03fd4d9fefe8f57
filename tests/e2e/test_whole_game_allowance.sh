#!/usr/bin/env bash
# Canisters that reach the ship end a game once the level's allowance is
# used up. Subtraction at difficulty 3: right answers up to level 3, where a
# canister takes ten seconds to arrive; there ten canisters are let through,
# with right answers in between to keep the tank from running dry. A hit
# costs 15 fuel and starts a new canister without ending anything; the
# launch after the next judged answer finds the allowance of 10 used up with
# the tank not full, and the game is over. 1170 points do not beat the table
# kept in hiscores.dat, so the table follows unmarked.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/reliability_lib.sh"
start_display
make_game_folder
write_classic_scores 30000 20000 10000 5000 2000
seed=1765020202
new_game "$seed" 2 3 60
start_game "$seed"

go_to_menu
choose_settings 3 2
press 1 Return
cockpit level1_start 10
fill_tank level1
fill_tank level2

# Level 3 starts with 25: three right answers bring 58, short of full.
answer_right level3_right1
answer_right level3_right2
answer_right level3_right3
for n in 1 2 3 4 5 6 7 8 9; do
    await_hit "hit$n"
    answer_right "after_hit$n"
done
await_hit hit10
[ "$hits_m" -eq "${allowance[3]}" ] && [ "$fuel_m" -lt 60 ] || fail "the model did not reach the allowance"
echo "ok: $hits_m canisters reached the ship, fuel $fuel_m, the game goes on"

# The answer is judged; the next launch ends the game before its canister
# is drawn: the last frame keeps this canister's problem, and the points
# and fuel of the answer never arrive.
type_answer "${answer[idx]}"
expect_game_over 10
expect_cockpit game_over_cockpit 3 "$lvl" "$fuel_m" "$score_m" "${operand_a[idx]}" "${operand_b[idx]}"
expect_screen table 15 highscores
[ "$(od -An -tu1 -N10 "$game_dir/hiscores.dat" | tr -s ' ')" = " 117 48 78 32 39 16 19 136 7 208" ] ||
    fail "hiscores.dat changed although the score did not qualify"
press Return
expect_screen menu_after_table 10 menu 1
quit_from_menu
no_sanitizer_report

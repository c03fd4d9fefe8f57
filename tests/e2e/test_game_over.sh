#!/usr/bin/env bash
# Wrong answers cost 15, then 25 fuel: from 35 the tank runs dry on the
# second one, the GAME OVER banner shows, and a score of 0 goes straight to
# the high-score table, then back to the menu.
source "$(dirname "$0")/lib.sh"
start_xvfb
install_xmessage_stand_in
make_game_folder
seed=1765001234
predict "$seed" 1 1 3
start_game "$seed"

expect_screen title 20 title
press Return
expect_screen menu 10 menu 1
press Return

expect_cockpit first 10 1 35 0 "${operand_a[0]}" "${operand_b[0]}"
type_answer $((answer[0] + 1))
expect_cockpit after_first_wrong 10 1 20 0 "${operand_a[1]}" "${operand_b[1]}"
type_answer $((answer[1] + 1))
expect_game_over 10
expect_screen high_scores 15 highscores
press Return
expect_screen menu_after_game 10 menu 1
press 5 Return
wait_exit 10
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status, expected 0"
echo "ok: exit status 0"

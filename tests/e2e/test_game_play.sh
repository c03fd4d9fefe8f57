#!/usr/bin/env bash
# A game played as a person would, with the random seed pinned: right
# answers fill the tank at level 1, Space boosts to level 2, Escape goes back
# to the menu. The cockpit's readouts, lamp, gauges, level box and score are
# checked on screen after every answer.
source "$(dirname "$0")/lib.sh"
start_xvfb
install_xmessage_stand_in
make_game_folder
seed=1765000000
predict "$seed" 1 1 6
start_game "$seed"

expect_screen title 20 title
press Return
expect_screen menu 10 menu 1
press Return

# Level 1 starts with 35 fuel; a right answer brings 13 fuel and 10 points,
# the next one 20 points.
expect_cockpit level1_first 10 1 35 0 "${operand_a[0]}" "${operand_b[0]}"
type_answer "${answer[0]}"
expect_cockpit level1_second 10 1 48 10 "${operand_a[1]}" "${operand_b[1]}"
type_answer "${answer[1]}"
# 48 + 13 is cut to a full tank of 60.
expect_cockpit level1_full 10 1 60 30 "${operand_a[2]}" "${operand_b[2]}"
screenshot next_level_prompt
press space
# Level 2 starts with 30 fuel and the streak goes on: 30 x 2 points.
expect_cockpit level2_first 10 2 30 30 "${operand_a[3]}" "${operand_b[3]}"
screenshot level2_banner
type_answer "${answer[3]}"
expect_cockpit level2_second 10 2 42 90 "${operand_a[4]}" "${operand_b[4]}"

press Escape
expect_screen menu_after_escape 10 menu 1
press 5 Return
wait_exit 10
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status, expected 0"
echo "ok: exit status 0"

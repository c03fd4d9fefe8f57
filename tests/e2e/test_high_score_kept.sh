#!/usr/bin/env bash
# A game that ends with a qualifying score: the congratulation, the player's
# name typed in, the table showing it marked; then the program started again
# still shows it.
source "$(dirname "$0")/lib.sh"
start_xvfb
install_xmessage_stand_in
make_game_folder
seed=1765004321
predict "$seed" 1 1 16
start_game "$seed"

expect_screen title 20 title
press Return
expect_screen menu 10 menu 1
press Return

# Level 1: two right answers fill the tank (35 + 13 + 13), 10 + 20 points.
expect_cockpit l1 10 1 35 0 "${operand_a[0]}" "${operand_b[0]}"
type_answer "${answer[0]}"
expect_cockpit l1_second 10 1 48 10 "${operand_a[1]}" "${operand_b[1]}"
type_answer "${answer[1]}"
expect_cockpit l1_full 10 1 60 30 "${operand_a[2]}" "${operand_b[2]}"
press space
# Level 2: three (30 + 3 x 12), the streak goes on at 30, 40, 50 times 2.
expect_cockpit l2 10 2 30 30 "${operand_a[3]}" "${operand_b[3]}"
# Each answer is judged once its animation ends; the next one waits for the
# next canister.
type_answer "${answer[3]}"
expect_cockpit l2_second 10 2 42 90 "${operand_a[4]}" "${operand_b[4]}"
type_answer "${answer[4]}"
expect_cockpit l2_third 10 2 54 170 "${operand_a[5]}" "${operand_b[5]}"
type_answer "${answer[5]}"
expect_cockpit l2_full 10 2 60 270 "${operand_a[6]}" "${operand_b[6]}"
press space
# Level 3: four (25 + 4 x 11), 60 to 90 times 3: 1170 in all.
expect_cockpit l3 10 3 25 270 "${operand_a[7]}" "${operand_b[7]}"
type_answer "${answer[7]}"
expect_cockpit l3_second 10 3 36 450 "${operand_a[8]}" "${operand_b[8]}"
type_answer "${answer[8]}"
expect_cockpit l3_third 10 3 47 660 "${operand_a[9]}" "${operand_b[9]}"
type_answer "${answer[9]}"
expect_cockpit l3_fourth 10 3 58 900 "${operand_a[10]}" "${operand_b[10]}"
type_answer "${answer[10]}"
expect_cockpit l3_full 10 3 60 1170 "${operand_a[11]}" "${operand_b[11]}"
press space
# Level 4 starts with 20: wrong answers cost 15, then 25, and the tank is dry.
expect_cockpit l4 10 4 20 1170 "${operand_a[12]}" "${operand_b[12]}"
type_answer $((answer[12] + 1))
expect_cockpit l4_wrong 10 4 5 1170 "${operand_a[13]}" "${operand_b[13]}"
type_answer $((answer[13] + 1))
expect_game_over 10

# 1170 beats the lowest of the table: the congratulation, then the name box.
deadline=$((SECONDS + 15))
while :; do
    [ $SECONDS -le $deadline ] || fail "the congratulation box never showed"
    screenshot congratulation
    [ "$(count_color congratulation 32 32 32 205 155 390 90)" -gt 20000 ] && break
    sleep 0.1
done
echo "ok: congratulation"
deadline=$((SECONDS + 15))
while :; do
    [ $SECONDS -le $deadline ] || fail "the name box never showed"
    screenshot name_box
    [ "$(count_color name_box 32 32 32 205 275 390 100)" -gt 25000 ] && break
    sleep 0.1
done
echo "ok: name box"
press a c e Return
expect_screen table_with_ace 10 highscores 4
press Return
expect_screen menu_after_table 10 menu 1
press 5 Return
wait_exit 10
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status, expected 0"
[ -s "$game_dir/hiscores.dat" ] || fail "no hiscores.dat was written"
cp "$game_dir/hiscores.dat" "$artefacts/"

# The next run reads the table back.
start_game
expect_screen title_again 20 title
press Return
expect_screen menu_again 10 menu 1
press 2 Return
expect_screen table_again 10 highscores
grep -q "ACE" "$game_dir/hiscores.dat" || fail "the name is not in the file"
press Return
expect_screen menu_end 10 menu 1
press 5 Return
wait_exit 10
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status, expected 0"
echo "ok: the table lasted"

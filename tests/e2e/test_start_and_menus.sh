#!/usr/bin/env bash
# Start-up as the player sees it (the caption, the title, the main menu),
# then every screen the menus lead to and back; choice 5 ends the program
# with status 0.
source "$(dirname "$0")/lib.sh"
start_display
render screens
make_folder
start_game

# The caption fades in and out; at any brightness it lights the pixels it
# lights at full brightness.
/usr/bin/convert "$ref/01_caption.png" -threshold 0 "$ref/caption_lit.png"
lit() {
    /usr/bin/convert "$shot" -threshold 0 "$work/lit.png"
    seen="$(/usr/bin/compare -metric AE "$work/lit.png" "$ref/caption_lit.png" null: 2>&1) pixels differ"
    [ "$seen" = "0 pixels differ" ]
}
see caption lit

tour - 02_title Return 03_main_menu_1 Down 03_main_menu_2 Return 07_high_scores \
    Return 03_main_menu_1 3 03_main_menu_3 Return 06_guide Return 03_main_menu_1 \
    "Up Up" 03_main_menu_4 Return 04_difficulty_menu_1 Down 04_difficulty_menu_2 \
    Return 05_topic_menu_1 5 05_topic_menu_5 0 05_topic_menu_0 Return 04_difficulty_menu_2 \
    0 04_difficulty_menu_0 Return 03_main_menu_1 5 03_main_menu_5
# The comparison tells apart two menus that differ in their highlighted row.
shoot && ! picture "$ref/03_main_menu_4.png" && [ "${seen%% *}" -gt 10000 ] ||
    fail "the fifth choice passed for the fourth: $seen"
press Return
exits 0

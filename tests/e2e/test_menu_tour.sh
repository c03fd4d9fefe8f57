#!/usr/bin/env bash
# Start, caption, title, main menu, every screen and back, then choice 5
# leaves with exit status 0.
source "$(dirname "$0")/lib.sh"
start_xvfb
install_xmessage_stand_in
make_game_folder
start_game

# The caption fades in grey on black in the middle of the screen (grey
# within a step of 16-bit colour, whose green has one more bit).
deadline=$((SECONDS + 20))
while :; do
    [ $SECONDS -le $deadline ] || fail "the caption never showed"
    screenshot caption
    brightest=$("$convert" "$artefacts/caption.png" -crop 500x80+150+260 +repage -format "%[fx:maxima.r]" info:)
    if awk "BEGIN { exit !($brightest > 0.3) }"; then
        greyness=$("$convert" "$artefacts/caption.png" -crop 500x80+150+260 +repage \
            -fx "abs(r-g)+abs(g-b)" -format "%[fx:maxima]" info:)
        awk "BEGIN { exit !($greyness < 0.05) }" || fail "the caption is not grey ($greyness)"
        echo "ok: caption"
        break
    fi
    sleep 0.1
done

expect_screen title 20 title
press Return
expect_screen menu_1 10 menu 1

press Down
expect_screen menu_2 5 menu 2
press Return
expect_screen high_scores 5 highscores
press Return
expect_screen menu_after_scores 5 menu 1

press 3
expect_screen menu_3 5 menu 3
press Return
expect_screen guide 5 guide
press Return
expect_screen menu_after_guide 5 menu 1

press Up Up
expect_screen menu_4 5 menu 4
press Return
expect_screen difficulty_1 5 difficulty 1
press Down
expect_screen difficulty_2 5 difficulty 2
press Return
expect_screen topic_1 5 topic 1
press 5
expect_screen topic_5 5 topic 5
press Return
expect_screen menu_after_settings 5 menu 1

# The settings are kept for the run: the menus open on what was chosen.
press 4 Return
expect_screen difficulty_kept 5 difficulty 2
press Return
expect_screen topic_kept 5 topic 5
press 0 Return
expect_screen difficulty_after_back 5 difficulty 2
press 0 Return
expect_screen menu_after_back 5 menu 1

press 5
expect_screen menu_5 5 menu 5
press Return
wait_exit 10
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status, expected 0"
echo "ok: exit status 0"

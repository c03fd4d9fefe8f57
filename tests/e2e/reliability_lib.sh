# Steps shared by the whole-game, monkey and damaged-datafile tests, sourced
# after lib.sh. The whole-game helpers keep a model of the game (level, fuel,
# score, streak, penalty, which predicted canister is up) and check every
# move against the cockpit on the screen, so a test reads like play.

# Per-level tables, index 1 to 10.
start_fuel=(0 35 30 25 20 15 10 7 4 2 1)
fuel_gain=(0 13 12 11 10 9 8 7 6 5 4)
allowance=(0 10 10 10 11 12 13 14 15 17 20)
speed=(0 2 4 5 6 7 8 9 10 12 15)

# Keys held and released longer than lib.sh's default: with two sanitizer
# games running side by side a press of 80 ms was once lost (the ticks read
# the keys between frames), and a whole game is 200 presses.
key_hold=${REFUEL_KEY_HOLD:-0.15}
press() {
    local k err
    for k in "$@"; do
        err=$(xdotool keydown "$k" sleep "$key_hold" keyup "$k" sleep 0.1 2>&1 >/dev/null)
        [ -z "$err" ] || fail "xdotool: $err"
    done
}

# A private display (never reset between games, see start_xvfb) with the
# message stand-in.
start_display() {
    start_xvfb
    install_xmessage_stand_in
}

# go_to_menu: from a fresh start, waits for the title and opens the menu.
go_to_menu() {
    expect_screen title 30 title
    press Return
    expect_screen menu 10 menu 1
}

# choose_settings DIFFICULTY TOPIC: through the two settings menus, back at
# the menu afterwards.
choose_settings() {
    press 4
    expect_screen menu_4 5 menu 4
    press Return
    expect_screen difficulty_menu 10 difficulty 1
    press "$1"
    expect_screen difficulty_chosen 5 difficulty "$1"
    press Return
    expect_screen topic_menu 10 topic 1
    press "$2"
    expect_screen topic_chosen 5 topic "$2"
    press Return
    expect_screen menu_after_settings 10 menu 1
}

# new_game SEED TOPIC DIFFICULTY COUNT: predicts the canisters and resets the
# model; call before choosing "play".
new_game() {
    predict "$@"
    lvl=1
    fuel_m=${start_fuel[1]}
    score_m=0
    streak_m=10
    penalty_m=15
    hits_m=0
    idx=0
}

# cockpit NAME [SECONDS]: the cockpit must show the model's state with the
# current canister's problem.
cockpit() {
    [ "$idx" -lt ${#answer[@]} ] || fail "ran past the $idx predicted canisters"
    expect_cockpit "$1" "${2:-10}" "$lvl" "$fuel_m" "$score_m" "${operand_a[idx]}" "${operand_b[idx]}"
}

# answer_right NAME: types the right answer; the cockpit then shows the fuel
# and points it brings and the next canister.
answer_right() {
    type_answer "${answer[idx]}"
    score_m=$((score_m + streak_m * lvl))
    streak_m=$((streak_m + 10))
    fuel_m=$((fuel_m + fuel_gain[lvl]))
    [ "$fuel_m" -le 60 ] || fuel_m=60
    idx=$((idx + 1))
    cockpit "$1"
}

# answer_wrong NAME: one more than the right answer; costs the level's next
# penalty and restarts the streak. Returns 1 when the tank runs dry.
answer_wrong() {
    type_answer $((answer[idx] + 1))
    fuel_m=$((fuel_m - penalty_m))
    penalty_m=$((penalty_m + 10))
    streak_m=10
    idx=$((idx + 1))
    [ "$fuel_m" -ge 0 ] || return 1
    cockpit "$1"
}

# await_hit NAME: no answer; the canister reaches the ship, costs 15 fuel and
# the streak, and the next one is launched.
await_hit() {
    local flight=$((5000 / ${speed[lvl]} / 100 + 8))
    fuel_m=$((fuel_m - 15))
    streak_m=10
    hits_m=$((hits_m + 1))
    idx=$((idx + 1))
    cockpit "$1" "$flight"
}

# red_text_pixels NAME: the banner red in the middle of a screenshot.
red_text_pixels() {
    count_color "$1" 255 97 99 150 130 500 140
}

# expect_prompt NAME: the blinking "PRESS SPACE" prompt shows over the view
# (white glyphs with a black shadow in the middle band).
expect_prompt() {
    local deadline=$((SECONDS + 5)) white=0
    while [ $SECONDS -le $deadline ]; do
        screenshot "$1"
        white=$(count_color "$1" 255 255 255 100 180 600 40)
        if [ "$white" -gt "${prompt_threshold:-600}" ]; then
            echo "ok: $1 ($white white pixels)"
            return 0
        fi
        sleep 0.05
    done
    fail "$1: no next-level prompt ($white white pixels)"
}

# boost NAME: with the tank full, checks the prompt, presses Space and
# expects the next level's banner and cockpit. The canister launched after
# the answer that filled the tank goes unanswered.
boost() {
    expect_prompt "$1_prompt"
    # Fuel still pending past a full tank drains before Space freezes it.
    sleep 0.2
    press space
    idx=$((idx + 1))
    lvl=$((lvl + 1))
    [ "$lvl" -le 10 ] || return 0
    fuel_m=${start_fuel[lvl]}
    penalty_m=15
    # The banner shows for the level's first 1.5 seconds.
    local deadline=$((SECONDS + 3)) red=0
    while [ $SECONDS -le $deadline ]; do
        screenshot "$1_banner"
        red=$(red_text_pixels "$1_banner")
        [ "$red" -gt 250 ] && break
        sleep 0.05
    done
    [ "$red" -gt 250 ] || fail "$1: no level $lvl banner ($red red pixels)"
    echo "ok: level $lvl banner"
    cockpit "$1"
}

# fill_tank NAME: right answers until the tank is full, then Space.
fill_tank() {
    local n=1
    while [ "$fuel_m" -lt 60 ]; do
        answer_right "$1_answer$n"
        n=$((n + 1))
    done
    boost "$1_boost"
}

# expect_box NAME X Y W H MIN: waits for a dark grey (32,32,32) box, as the
# congratulation and the name entry draw.
expect_box() {
    local name=$1 deadline=$((SECONDS + 15)) n=0
    while [ $SECONDS -le $deadline ]; do
        screenshot "$name"
        n=$(count_color "$name" 32 32 32 "$2" "$3" "$4" "$5")
        if [ "$n" -gt "$6" ]; then
            echo "ok: $name"
            return 0
        fi
        sleep 0.1
    done
    fail "$name: the box never showed ($n pixels)"
}

# score_in_file RANK: the full score stored for a 1-based rank in
# hiscores.dat's extension (docs/high-score-file.md).
score_in_file() {
    od -An -tu1 -j $((15 + ($1 - 1) * 12)) -N4 "$game_dir/hiscores.dat" |
        awk '{ print ((($1 * 256) + $2) * 256 + $3) * 256 + $4 }'
}

# name_in_file RANK: the name stored for a 1-based rank.
name_in_file() {
    dd if="$game_dir/hiscores.dat" bs=1 skip=$((19 + ($1 - 1) * 12)) count=8 2>/dev/null | tr -d '\0'
}

# write_classic_scores S1 .. S5: a hiscores.dat of the classic ten bytes.
write_classic_scores() {
    local s out=""
    for s in "$@"; do
        out+=$(printf '\\x%02x\\x%02x' $((s >> 8)) $((s & 255)))
    done
    printf "$out" >"$game_dir/hiscores.dat"
}

# quit_from_menu: choice 5 and Enter; the program must end with status 0.
quit_from_menu() {
    press 5 Return
    wait_exit 15
    [ "$exit_status" -eq 0 ] || fail "exit status $exit_status, expected 0"
    echo "ok: exit status 0"
}

# no_sanitizer_report: the game's stderr holds no report of ASan or UBSan.
no_sanitizer_report() {
    if grep -qE "ERROR: AddressSanitizer|runtime error:|SUMMARY: (Address|UndefinedBehavior)Sanitizer" \
        "$work/game.err"; then
        cp "$work/game.err" "$artefacts/game.err"
        fail "a sanitizer report: $(grep -m3 -E 'Sanitizer|runtime error' "$work/game.err")"
    fi
}

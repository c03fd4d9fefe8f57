#!/usr/bin/env bash
# A high score that cannot be saved must not stop the game. Three folders
# where hiscores.dat cannot be written: the file replaced by a folder while
# the game runs (the rename fails), a read-only game folder with the game run
# as an ordinary user (no temporary file can be made), and a full disk (the
# write fails). In each a short game (one right answer, then wrong ones until
# the tank is dry) beats the table kept in hiscores.dat (5, 4, 3, 2, 1); the
# name goes in, the table shows it, the menu's table still shows it, choice 5
# ends with status 0, and the file on disk is as it was.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/reliability_lib.sh"
writer=$(dirname "$REFUEL_REFERENCE")/refuel_score_writer
[ -x "$writer" ] || fail "no $writer"
start_display
seed=1765040404
classic="$work/classic.dat"

# The table the game should show: the new score at rank 1, drawn from a
# file written by the game's own writer into a folder of its own.
expected_dir="$work/expected"
mkdir -p "$expected_dir"
for f in graph1.dat fonts.dat sounds.dat; do
    ln -s "$REFUEL_GAME_DIR/$f" "$expected_dir/$f"
done
"$writer" put "$expected_dir" 10 RO 5 HALBREK 4 HALBREK 3 HALBREK 2 HALBREK ||
    fail "cannot write the expected table"

# play_short_game CASE: from the title to the table after the name.
play_short_game() {
    local c=$1
    new_game "$seed" 1 1 10
    expect_screen "$c-title" 30 title
    press Return
    expect_screen "$c-menu" 10 menu 1
    [ -z "${on_menu:-}" ] || $on_menu
    press Return
    cockpit "$c-start"
    answer_right "$c-right"
    answer_wrong "$c-wrong1"
    answer_wrong "$c-wrong2"
    answer_wrong "$c-wrong3" && fail "the model expected the tank to run dry"
    expect_game_over 10
    expect_box "$c-congratulation" 205 155 390 90 20000
    expect_box "$c-name_box" 205 275 390 100 25000
    press r o Return
    game_dir_saved=$game_dir
    game_dir=$expected_dir
    expect_screen "$c-table" 10 highscores 0
    press Return
    expect_screen "$c-menu_after" 10 menu 1
    # The table stays in memory for the rest of the run.
    press 2 Return
    expect_screen "$c-table_again" 10 highscores
    game_dir=$game_dir_saved
    press Return
    expect_screen "$c-menu_end" 10 menu 1
    quit_from_menu
    no_sanitizer_report
}

# The classic ten bytes of 5, 4, 3, 2, 1.
make_game_folder
write_classic_scores 5 4 3 2 1
cp "$game_dir/hiscores.dat" "$classic"

# 1. hiscores.dat turns into a folder once the game has read it.
replace_with_folder() {
    rm "$game_dir/hiscores.dat"
    mkdir "$game_dir/hiscores.dat"
}
start_game "$seed"
on_menu=replace_with_folder
play_short_game folder
[ -d "$game_dir/hiscores.dat" ] || fail "hiscores.dat is no longer a folder"
[ ! -e "$game_dir/hiscores.dat.new" ] || fail "a temporary file was left behind"
echo "ok: the rename failed, the game went on"
on_menu=""

# 2. A read-only folder, the game run as "nobody".
if command -v setpriv >/dev/null && [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
    rm -rf "$game_dir"
    make_game_folder
    cp "$classic" "$game_dir/hiscores.dat"
    chmod 755 "$work"
    chmod 555 "$game_dir"
    (
        cd "$game_dir"
        export LD_PRELOAD="$REFUEL_TIME_SHIM" REFUEL_TEST_TIME="$seed"
        exec setpriv --reuid=nobody --regid=nogroup --clear-groups "$REFUEL_GAME_DIR/refuel" \
            >"$work/game.out" 2>"$work/game.err"
    ) &
    game_pid=$!
    play_short_game readonly
    cmp -s "$classic" "$game_dir/hiscores.dat" || fail "the read-only hiscores.dat changed"
    echo "ok: nothing could be written, the game went on"
    chmod 755 "$game_dir"
else
    echo "skipped: the read-only folder needs root, setpriv and the user nobody"
fi

# 3. A full disk: a small filesystem filled up, the datafiles linked in.
full="$work/full"
mkdir -p "$full"
if mount -t tmpfs -o size=256k tmpfs "$full" 2>/dev/null; then
    unmount_full() {
        umount "$full" 2>/dev/null || true
        cleanup
    }
    trap unmount_full EXIT
    for f in graph1.dat fonts.dat sounds.dat; do
        ln -s "$REFUEL_GAME_DIR/$f" "$full/$f"
    done
    cp "$classic" "$full/hiscores.dat"
    dd if=/dev/zero of="$full/filler" bs=4k 2>/dev/null || true
    game_dir=$full
    start_game "$seed"
    play_short_game full
    cmp -s "$classic" "$full/hiscores.dat" || fail "hiscores.dat on the full disk changed"
    [ ! -e "$full/hiscores.dat.new" ] || fail "a temporary file was left on the full disk"
    echo "ok: the disk was full, the game went on"
else
    echo "skipped: a small filesystem cannot be mounted here"
fi

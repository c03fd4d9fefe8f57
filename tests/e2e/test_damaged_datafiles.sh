#!/usr/bin/env bash
# A missing or damaged datafile stops start-up with a message naming the
# file, and exit status 1: never a crash.
source "$(dirname "$0")/lib.sh"
start_xvfb
install_xmessage_stand_in

run_case() {
    local name=$1 file=$2
    wait_exit 20
    echo "$name: status $exit_status, message: $(grep -v "^ALSA" "$work/game.err" | tr '\n' ' ')" >>"$artefacts/cases.txt"
    [ "$exit_status" -eq 1 ] || fail "$name: exit status $exit_status, expected 1"
    grep -q "$file" "$work/game.err" || fail "$name: the message does not name $file"
    echo "ok: $name"
}

for file in graph1.dat fonts.dat sounds.dat; do
    make_game_folder
    rm "$game_dir/$file"
    start_game
    run_case "missing $file" "$file"

    make_game_folder
    head -c 3000 "$REFUEL_GAME_DIR/$file" >"$game_dir/$file"
    start_game
    run_case "truncated $file" "$file"

    make_game_folder
    cp "$REFUEL_GAME_DIR/sounds.dat" "$game_dir/$file"
    [ "$file" = sounds.dat ] && cp "$REFUEL_GAME_DIR/fonts.dat" "$game_dir/$file"
    start_game
    run_case "wrong kind in $file" "$file"
done

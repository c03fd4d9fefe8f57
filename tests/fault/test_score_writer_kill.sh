#!/usr/bin/env bash
# The game's high-score save killed with SIGKILL at random moments, KILLS
# times: after each kill hiscores.dat must hold, whole, the last table the
# writer reported saved or the next one (a temporary file may be left).
# Usage: tests/fault/test_score_writer_kill.sh [KILLS, default 200] [FOLDER]
# (FOLDER should be on the disk under test; default a scratch folder.)
source "$(dirname "$0")/../e2e/lib.sh"
kills=${1:-200} dir=${2:-$work/scores} writer=$build/tests/refuel_score_writer
mkdir -p "$dir"
rm -f "$dir"/hiscores.dat*
RANDOM=4242 saved=-1 old=0 new=0 midway=0 interval=0.005
for ((i = 1; i <= kills; i++)); do
    rm -f "$dir"/hiscores.dat.?* "$work/saved.txt"
    "$writer" write "$dir" $((saved + 1)) >"$work/saved.txt" &
    game_pid=$!
    # Once a save has returned, 0 to 20 ms: a few saves in, or in the middle of one.
    poll 60 test -s "$work/saved.txt" || fail "kill $i: the writer saved nothing"
    sleep "0.0$(printf %02d $((RANDOM % 20)))"
    ! compgen -G "$dir/hiscores.dat.?*" >/dev/null || midway=$((midway + 1))
    kill -9 "$game_pid" 2>/dev/null || true
    status=0
    wait "$game_pid" 2>/dev/null || status=$?
    game_pid=""
    [ "$status" -eq 137 ] || fail "kill $i: the writer ended by itself with status $status"
    last=$(grep -E '^[0-9]+$' "$work/saved.txt" | tail -n 1)
    verdict=$("$writer" check "$dir" "$last") || fail "kill $i, after save $last: $verdict"
    [ "$verdict" = old ] && old=$((old + 1)) saved=$last || new=$((new + 1)) saved=$((last + 1))
done
echo "ok: $kills kills: the last reported table $old times, the next $new times;" \
    "$midway kills came in the middle of a save; $((saved + 1)) tables written"

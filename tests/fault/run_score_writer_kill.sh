#!/usr/bin/env bash
# Kills the high-score writer with SIGKILL at random moments, KILLS times,
# and checks after each kill that hiscores.dat holds either the last table
# the writer reported saved or the next one.
# Usage: tests/fault/run_score_writer_kill.sh WRITER [KILLS, default 1000] [FOLDER]
# WRITER is the built refuel_score_writer. FOLDER (default a fresh folder
# under the system's temporary folder) should be on the disk under test.
set -euo pipefail
writer=${1:?usage: run_score_writer_kill.sh WRITER [KILLS] [FOLDER]}
kills=${2:-1000}
folder=${3:-}
if [ -z "$folder" ]; then
    folder=$(mktemp -d)
    trap 'rm -rf "$folder"' EXIT
fi
mkdir -p "$folder"
# saved.txt too: one left by an earlier run would look like a save.
rm -f "$folder/hiscores.dat" "$folder/hiscores.dat.new" "$folder/saved.txt"
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# Table 0 is on disk before the first kill.
"$writer" write "$folder" 0 >"$folder/saved.txt" &
pid=$!
while [ ! -s "$folder/saved.txt" ]; do sleep 0.01; done
kill -9 "$pid"
wait "$pid" 2>/dev/null || true

saved=$(tail -n 1 "$folder/saved.txt")
old=0 new=0 torn_moments=0
RANDOM=${REFUEL_KILL_SEED:-4242}
for ((i = 1; i <= kills; i++)); do
    first=$((saved + 1))
    # A temporary file left by the last kill goes, so one seen below means
    # this kill came in the middle of a save.
    rm -f "$folder/hiscores.dat.new"
    "$writer" write "$folder" "$first" >"$folder/saved.txt" &
    pid=$!
    # Between 0 and 30 ms: from before the first save to a few saves in.
    sleep "0.0$(printf '%02d' $((RANDOM % 30)))"
    [ -e "$folder/hiscores.dat.new" ] && torn_moments=$((torn_moments + 1))
    kill -9 "$pid" 2>/dev/null || true
    status=0
    wait "$pid" 2>/dev/null || status=$?
    [ "$status" -eq 137 ] || {
        echo "FAIL: kill $i: the writer ended by itself with status $status" >&2
        exit 1
    }
    # The last complete line is the last save that returned.
    last=$(grep -E '^[0-9]+$' "$folder/saved.txt" | tail -n 1 || true)
    [ -n "$last" ] || last=$((first - 1))
    if ! verdict=$("$writer" check "$folder" "$last"); then
        echo "FAIL: kill $i: after save $last reported: $verdict" >&2
        cp "$folder/hiscores.dat" "$folder/../hiscores.dat.torn" 2>/dev/null || true
        exit 1
    fi
    case $verdict in
        old) old=$((old + 1)); saved=$last ;;
        new) new=$((new + 1)); saved=$((last + 1)) ;;
    esac
done
echo "ok: $kills kills; the file held the last reported table $old times, the next one $new times;" \
    "$torn_moments kills came in the middle of a save; $saved tables written"

#!/usr/bin/env bash
# Five copies of the game enter a high score at once into one table, which
# two folders reach through links; the first holds the lock for seconds on
# a slow disk (each fsync 3 s). Every score must be kept, none replaced by a
# copy that saved without seeing it.
source "$(dirname "$0")/../e2e/lib.sh"
writer=$build/tests/refuel_score_writer
mkdir -p "$work/real" "$work/a" "$work/b"
ln -s ../real/hiscores.dat "$work/a/hiscores.dat"
ln -s ../real/hiscores.dat "$work/b/hiscores.dat"
held() { ! flock -n "$work/real/hiscores.dat.lock" true; }
LD_PRELOAD=$build/tests/librefuel_time_shim.so REFUEL_TEST_FSYNC_SECONDS=3 \
    "$writer" record "$work/a" 20001 >"$work/1.txt" &
pids=$!
poll 60 held || fail "the first copy never took the lock"
for n in 2 3 4 5; do
    "$writer" record "$work/$([ $((n % 2)) -eq 0 ] && echo b || echo a)" 2000$n >"$work/$n.txt" &
    pids="$pids $!"
done
for pid in $pids; do wait "$pid" || true; done
# The lock is held for seconds, far less than a copy waits for it: all saved.
told=$(cat "$work"/[1-5].txt | grep -c " saved$") || true
table=$("$writer" list "$work/b" 0)
[ "$told" -eq 5 ] && [ "$table" = "20005 20004 20003 20002 20001 saved" ] ||
    fail "$told copies said saved; the table holds $table"
echo "ok: five scores at once through two links, one copy on a slow disk: $table"

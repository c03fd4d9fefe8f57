#!/usr/bin/env bash
# Five copies of the game enter a high score at once into one table, which
# two folders reach through links; the first holds the lock for seconds on
# a slow disk (each fsync 3 s). Every score must be kept, none replaced by a
# copy that saved without seeing it. A copy that cannot have the lock in
# time must say its score was not saved, and leave the table alone.
source "$(dirname "$0")/../e2e/lib.sh"
writer=$build/tests/refuel_score_writer
mkdir -p "$work/real" "$work/a" "$work/b"
for folder in a b; do ln -s ../real/hiscores.dat "$work/$folder/hiscores.dat"; done
held() { ! flock -n "$work/real/hiscores.dat.lock" true; }
LD_PRELOAD=$build/tests/librefuel_time_shim.so REFUEL_TEST_FSYNC_SECONDS=3 \
    "$writer" record "$work/a" 20001 >/dev/null &
poll 60 held || fail "the first copy never took the lock"
for n in 2 3 4 5; do "$writer" record "$work/$([ $n = 3 ] && echo a || echo b)" 2000$n >/dev/null & done
wait
# The lock is held for seconds, far less than a copy waits for it: all saved.
table=$("$writer" list "$work/b" 0)
[ "$table" = "20005 20004 20003 20002 20001 saved" ] || fail "the table holds $table"
told=$(flock -o "$work/real/hiscores.dat.lock" "$writer" record "$work/a" 30000 100) &&
    fail "saved without the lock: $told"
[ "$told" = "30000 20005 20004 20003 20002 unsaved" ] || fail "a copy without the lock shows $told"
[ "$("$writer" list "$work/b" 0)" = "$table" ] || fail "a copy without the lock changed the table"
echo "ok: five scores at once through two links, one copy on a slow disk: $table"

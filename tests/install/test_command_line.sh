#!/usr/bin/env bash
# The real binary's --help and --version (stdout, status 0, else 1) and a bad option (named on stderr
# with the usage, status 2). Usage: test_command_line.sh GAME VERSION
check() {  # check WHAT STATUS WANTED_STATUS PATTERN TEXT
    [ "$2" -eq "$3" ] && grep -qzE "$4" <<<"$5" || { echo "FAIL: $1 (status $2): $5" && exit 1; }
}
out=$("$1" --help 2>/dev/null); check --help $? 0 "^Usage: refuel \[OPTION\]" "$out"
out=$("$1" --version 2>/dev/null); check --version $? 0 "^refuel $2\s$" "$out"
out=$("$1" --frobnicate 2>&1 >/dev/null); check "a bad option" $? 2 \
    "^refuel: unknown option '--frobnicate'\sUsage: refuel" "$out"
for option in --help --version; do  # a text that cannot be written is a failure
    out=$("$1" $option 2>&1 >/dev/full); check "$option to a full disk" $? 1 "could not be written" "$out"
done
echo "ok: --help, --version (also to a full disk) and a bad option"

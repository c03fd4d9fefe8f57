#!/usr/bin/env bash
# graph1.dat, fonts.dat and sounds.dat damaged in turn: missing, empty, an entry of
# another kind (first, middle, last), too few entries (none, one short), and COUNT each
# of: cut short, a byte changed among those the loader trusts, a byte changed anywhere.
# Each start must end with the message naming the file and status 1, or reach the title
# (a changed byte; a missing file, for which the game passes the working folder for the
# set beside its binary); never a crash, a hang or a sanitizer report.
# Usage: tests/e2e/test_damaged_datafiles.sh [COUNT, default 2] [SEED]
source "$(dirname "$0")/lib.sh"
count=${1:-2}
RANDOM=${2:-20261206}
start_display
render screens

be32() { od -An -tu4 --endian=big -j "$2" -N4 "$1" | tr -d ' '; }
# walk FILE: where each entry's kind lies and where it ends, and the bytes
# the loader trusts: headers, counts, sizes, the first of each payload.
walk() {
    local pos=12 n
    kind_at=() ends=() fields=({0..11})
    for ((n = $(be32 "$1" 8); n > 0; n--)); do
        while [ "$(dd if="$1" bs=1 skip=$pos count=4 status=none)" = prop ]; do
            mapfile -t -O ${#fields[@]} fields < <(seq $pos $((pos + 11)))
            pos=$((pos + 12 + $(be32 "$1" $((pos + 8)))))
        done
        kind_at+=("$pos")
        mapfile -t -O ${#fields[@]} fields < <(seq $pos $((pos + 24)))
        pos=$((pos + 12 + $(be32 "$1" $((pos + 8)))))
        ends+=("$pos")
    done
}
pick() { picked=$(((RANDOM << 15 | RANDOM) % $1)); }

cases=() # FILE KIND ARGS
declare -A other=([graph1.dat]=FONT [fonts.dat]=SAMP [sounds.dat]=FONT)
for file in graph1.dat fonts.dat sounds.dat; do
    walk "$build/game/$file"
    n=${#ends[@]} size=$(stat -c %s "$build/game/$file")
    cases+=("$file missing" "$file empty" "$file keep 12 0" "$file keep ${ends[n - 2]} $((n - 1))")
    for e in 0 $((n / 2)) $((n - 1)); do cases+=("$file kind ${kind_at[e]} ${other[$file]}"); done
    for ((k = 0; k < count; k++)); do
        pick $((size - 1)) && cases+=("$file cut $((picked + 1))")
        pick ${#fields[@]} && cases+=("$file flip ${fields[picked]} $((1 + RANDOM % 255))")
        pick "$size" && cases+=("$file flip $picked $((1 + RANDOM % 255))")
    done
done

patch() { dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
title() { shoot && { picture "$ref/02_title.png" || [ "${seen%% *}" -lt 200 ]; }; }
messages=0 starts=0
for c in "${cases[@]}"; do
    read -r file kind at value <<<"$c"
    name=${c// /-} src=$build/game/$file out=$work/game/$file
    make_folder
    rm "$out"
    case $kind in
        empty) : >"$out" ;;
        cut) head -c "$at" "$src" >"$out" ;;
        keep) head -c "$at" "$src" >"$out" && printf "\\x$(printf %02x "$value")" | patch "$out" 11 ;;
        flip) cp "$src" "$out" && printf "\\x$(printf %02x $(($(od -An -tu1 -j "$at" -N1 "$src") ^ value)))" |
            patch "$out" "$at" ;;
        kind) cp "$src" "$out" && printf %s "$value" | patch "$out" "$at" ;;
    esac
    start_game
    poll 120 eval 'ended || title' || fail "$c: neither the message nor the title"
    if ended; then
        [ "$kind" != missing ] || fail "$c: the working folder was taken"
        exits 1
        grep -q "Error reading $file" "$work/out.txt" "$work/err.txt" || fail "$c: no message"
        messages=$((messages + 1))
        echo "ok: $c: $(grep -h -m1 "Error reading" "$work/err.txt" "$work/out.txt" | head -n 1)"
    else
        [ "$kind" = flip ] || [ "$kind" = missing ] || fail "$c: the game started"
        keep "$name"
        stop_game
        ! grep -qE "Sanitizer|runtime error:" "$work/err.txt" || fail "$c: a sanitizer report"
        # The next game must not take this one's title for its own.
        poll 60 eval '! title' || fail "the title stayed after the game"
        starts=$((starts + 1))
        echo "ok: $c: started"
    fi
done
echo "ok: ${#cases[@]} cases, $messages stopped with the message, $starts started"

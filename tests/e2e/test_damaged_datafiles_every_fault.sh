#!/usr/bin/env bash
# Every kind of damage to each of the three datafiles, run against the real
# binary: missing, empty, cut short, single bytes changed (in the numbers
# the loader trusts and anywhere at all), an entry of the wrong kind, too
# few entries. Each run must end with a message naming the file and exit
# status 1, or start normally up to the title picture (a change to picture
# or sound data only); never a crash and never a sanitizer report.
#
# CI runs a sample: 4 cuts and 6 changed bytes a file. The full set, 64 cuts
# and 200 changed bytes a file, runs with REFUEL_DAMAGE_SET=full (see
# tests/fault/damaged_datafiles.sh). REFUEL_DAMAGE_SEED picks the bytes;
# REFUEL_DAMAGE_WORKERS runs that many games at once, each on its own display.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/reliability_lib.sh"
set_name=${REFUEL_DAMAGE_SET:-sample}
damage_seed=${REFUEL_DAMAGE_SEED:-20261206}
workers=${REFUEL_DAMAGE_WORKERS:-2}
damage_tool=$(dirname "$REFUEL_REFERENCE")/refuel_datafile_damage
[ -x "$damage_tool" ] || fail "no $damage_tool"
install_xmessage_stand_in
if [ "$set_name" = full ]; then
    cuts=64 field_flips=100 any_flips=100
else
    cuts=4 field_flips=4 any_flips=2
fi
echo "damage set: $set_name, seed $damage_seed, $workers workers"

# The title as the undamaged files draw it; a start counts once the screen
# is within a few pixels of it (a changed byte may touch the picture).
"$REFUEL_REFERENCE" "$REFUEL_GAME_DIR" "$work/title.ppm" title || fail "no title reference"
"$convert" "$work/title.ppm" "$work/title.png"

# One line a case: NAME FILE ACTION ARGS, where ACTION is one of missing,
# empty, cut BYTES, flip OFFSET XOR, kind ENTRY FOURCC, keep N.
cases="$work/cases.txt"
: >"$cases"
RANDOM=$damage_seed
for file in graph1.dat fonts.dat sounds.dat; do
    source_file="$REFUEL_GAME_DIR/$file"
    size=$(stat -c %s "$source_file")
    echo "missing-$file $file missing" >>"$cases"
    echo "empty-$file $file empty" >>"$cases"
    for ((k = 0; k < cuts; k++)); do
        at=$((1 + (size - 2) * k / (cuts - 1)))
        echo "cut-$at-$file $file cut $at" >>"$cases"
    done
    "$damage_tool" fields "$source_file" >"$work/fields.txt" || fail "cannot read $file"
    mapfile -t fields <"$work/fields.txt"
    for ((k = 0; k < field_flips + any_flips; k++)); do
        if [ "$k" -lt "$field_flips" ]; then
            at=${fields[$(((RANDOM * 32768 + RANDOM) % ${#fields[@]}))]}
        else
            at=$(((RANDOM * 32768 + RANDOM) % size))
        fi
        xor=$((1 + RANDOM % 255))
        echo "flip-$at-$xor-$file $file flip $at $xor" >>"$cases"
    done
    "$damage_tool" entries "$source_file" >"$work/entries.txt"
    count=$(wc -l <"$work/entries.txt")
    case $file in
        graph1.dat) wrong=FONT ;;
        fonts.dat) wrong=SAMP ;;
        *) wrong=BMP_ ;;  # "BMP ": the space is written as _ in the list
    esac
    # The first entry, one in the middle, and the last the game needs.
    for entry in 0 $((count / 2)) $((count - 1)); do
        echo "kind-$entry-$file $file kind $entry $wrong" >>"$cases"
    done
    echo "keep-$((count - 1))-$file $file keep $((count - 1))" >>"$cases"
    echo "keep-0-$file $file keep 0" >>"$cases"
done
total=$(wc -l <"$cases")
echo "$total cases"

# make_case DIR FILE ACTION ARGS: a game folder with one damaged datafile;
# the other two are hard links to the built ones.
make_case() {
    local dir=$1 file=$2 action=$3
    shift 3
    mkdir -p "$dir"
    local f
    for f in graph1.dat fonts.dat sounds.dat; do
        [ "$f" = "$file" ] || ln "$REFUEL_GAME_DIR/$f" "$dir/$f" 2>/dev/null || cp "$REFUEL_GAME_DIR/$f" "$dir/$f"
    done
    local src="$REFUEL_GAME_DIR/$file" out="$dir/$file"
    case $action in
        missing) ;;
        empty) : >"$out" ;;
        cut) head -c "$1" "$src" >"$out" ;;
        flip) "$damage_tool" flip "$src" "$out" "$1" "$2" ;;
        kind) "$damage_tool" kind "$src" "$out" "$1" "${2//_/ }" ;;
        keep) "$damage_tool" keep "$src" "$out" "$1" ;;
    esac
}

# run_worker N: runs every case whose line number is N modulo the workers,
# on a display of its own; one result line per case.
run_worker() {
    local me=$1
    # Globals: the worker is a subshell of its own, and its exit trap needs them.
    local fifo="$work/displayfd$me" number
    pid=""
    mkfifo "$fifo"
    # -noreset: a server that resets when its last client leaves drops a
    # game that connects meanwhile (it died of SIGPIPE or found no display).
    Xvfb -displayfd 7 -screen 0 800x600x24 -nolisten tcp -noreset 7>"$fifo" </dev/null \
        2>"$work/xvfb$me.log" &
    xvfb=$!
    # However the worker ends, its display and game go with it.
    trap '[ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true
          kill "$xvfb" 2>/dev/null || true
          wait || true' EXIT
    trap 'exit 1' TERM
    read -r -t 30 number <"$fifo" || {
        echo "worker $me: Xvfb did not start" >>"$work/results$me.txt"
        return
    }
    local display=":$number" line=0 name file action args
    while read -r name file action args; do
        line=$((line + 1))
        [ $((line % workers)) -eq "$me" ] || continue
        local dir="$work/case$me"
        rm -rf "$dir"
        # shellcheck disable=SC2086
        make_case "$dir" "$file" "$action" $args
        (
            cd "$dir"
            export DISPLAY=$display
            exec "$REFUEL_GAME_DIR/refuel" </dev/null >"$dir/out.txt" 2>"$dir/err.txt"
        ) &
        pid=$!
        local outcome="" deadline=$((SECONDS + 60))
        while [ -z "$outcome" ]; do
            if ! kill -0 "$pid" 2>/dev/null; then
                local status=0
                wait "$pid" || status=$?
                # The library shows the message with xmessage (our stand-in
                # prints it on stderr) and, when xmessage does not answer
                # "OK", prints it on stdout as well.
                if [ "$status" -eq 1 ] && grep -q "Error reading $file" "$dir/err.txt" "$dir/out.txt"; then
                    outcome="message"
                else
                    outcome="status-$status"
                fi
            elif [ $SECONDS -gt $deadline ]; then
                outcome="hang"
            else
                xwd -root -silent -display "$display" | "$convert" xwd:- "$dir/screen.png"
                if [ "$(differing_pixels "$dir/screen.png" "$work/title.png")" -lt 200 ]; then
                    outcome="start"
                else
                    sleep 0.2
                fi
            fi
        done
        if kill -0 "$pid" 2>/dev/null; then
            kill -9 "$pid"
            wait "$pid" 2>/dev/null || true
        fi
        if grep -qE "ERROR: AddressSanitizer|runtime error:|Sanitizer" "$dir/err.txt"; then
            outcome="sanitizer"
        fi
        if [ "$outcome" != message ] && [ "$outcome" != start ]; then
            cp "$dir/out.txt" "$artefacts/$name.out.txt"
            cp "$dir/err.txt" "$artefacts/$name.err.txt"
        fi
        local message
        message=$(cat "$dir/out.txt" "$dir/err.txt" | grep -v "^ALSA" | head -n 1 || true)
        echo "$outcome $name $message" >>"$work/results$me.txt"
    done <"$cases"
}

# Workers left running by a failure would keep their displays and games.
stop_workers() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    cleanup
}
trap stop_workers EXIT

started=$SECONDS
pids=()
for ((w = 0; w < workers; w++)); do
    : >"$work/results$w.txt"
    run_worker "$w" &
    pids+=($!)
done
for pid in "${pids[@]}"; do
    wait "$pid" || fail "a worker stopped"
done
cat "$work"/results*.txt | sort -k2 >"$artefacts/results.txt"

done_count=$(wc -l <"$artefacts/results.txt")
messages=$(grep -c "^message " "$artefacts/results.txt" || true)
starts=$(grep -c "^start " "$artefacts/results.txt" || true)
echo "$done_count of $total cases in $((SECONDS - started)) s: $messages messages, $starts starts"
bad=$(grep -vE "^(message|start) " "$artefacts/results.txt" || true)
[ -z "$bad" ] || fail "cases that neither stopped with a message nor started: $bad"
[ "$done_count" -eq "$total" ] || fail "only $done_count of $total cases ran"
# Damage to the structure must be reported, not let through: every missing,
# empty, cut, wrong-kind or short file ends with the message.
structural=$(grep -E " (missing|empty|cut|kind|keep)-" "$artefacts/results.txt" | grep -v "^message " || true)
[ -z "$structural" ] || fail "structural damage that started the game: $structural"
echo "ok: every damaged datafile stopped with a message or started normally"

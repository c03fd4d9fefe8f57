# Shared by the sound recipes. A recipe is run as
#   sh RECIPE SOX OUT.wav
# in a scratch folder; it builds its parts there and calls `finish`.
# Every sound is 22050 Hz mono, and `finish` makes it 16-bit PCM with its
# peak 1.5 dB below full scale, so no sound can clip when it plays.
set -eu
SOX="$1"
OUT="$2"
RATE=22050
# Scratch files carry the sound's name, so recipes can run side by side.
PART="$(basename "$OUT" .wav)_part"

# note FILE SECONDS WAVE FREQUENCY [more sox effects]: one tone with a short
# attack and a release, so notes join without clicks. It starts well below
# full scale so that filters and reverb have room before `finish` sets the
# level.
note() {
    file="$1"; seconds="$2"; wave="$3"; freq="$4"; shift 4
    "$SOX" -r "$RATE" -c 1 -n -r "$RATE" -c 1 -b 16 "$file" \
        synth "$seconds" "$wave" "$freq" vol 0.4 fade t 0.005 "$seconds" 0.04 "$@"
}

# finish INPUT [more sox effects]: the effects, then the level and the format.
finish() {
    input="$1"; shift
    "$SOX" "$input" -r "$RATE" -c 1 -b 16 -e signed-integer "$OUT" "$@" channels 1 rate "$RATE" gain -n -1.5
    rm -f "$PART"*
}

# A game starts: a whoosh of filtered noise with a rising tone under it.
. "$(dirname "$0")/common.sh"
"$SOX" -r "$RATE" -c 1 -n -b 16 "${PART}noise.wav" synth 1.1 pinknoise vol 0.4 \
    fade q 0.45 1.1 0.6 bandpass 1400 1.5q
"$SOX" -r "$RATE" -c 1 -n -b 16 "${PART}rise.wav" synth 1.1 sine 140:900 \
    fade q 0.3 1.1 0.5 vol 0.35
"$SOX" -m "${PART}noise.wav" "${PART}rise.wav" "${PART}all.wav"
finish "${PART}all.wav" flanger 0 3 0 70 0.6 reverb 30

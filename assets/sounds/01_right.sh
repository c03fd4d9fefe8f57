# Right answer: a quick bright rising arpeggio with a bell-like ring.
. "$(dirname "$0")/common.sh"
note "${PART}1.wav" 0.07 sine 1047
note "${PART}2.wav" 0.07 sine 1319
note "${PART}3.wav" 0.30 sine 1568 fade t 0 0.30 0.25
"$SOX" "${PART}1.wav" "${PART}2.wav" "${PART}3.wav" "${PART}tune.wav"
"$SOX" "${PART}tune.wav" "${PART}octave.wav" pitch 1200 vol 0.25
"$SOX" -m "${PART}tune.wav" "${PART}octave.wav" "${PART}all.wav"
finish "${PART}all.wav" reverb 35 50 60 pad 0 0.15

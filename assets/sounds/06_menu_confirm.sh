# A menu choice confirmed: a short two-step blip.
. "$(dirname "$0")/common.sh"
note "${PART}1.wav" 0.05 square 880 lowpass 3000
note "${PART}2.wav" 0.09 square 1319 lowpass 3000
"$SOX" "${PART}1.wav" "${PART}2.wav" "${PART}all.wav"
finish "${PART}all.wav" reverb 15

# Wrong answer or a canister hit: two soft falling notes, dull rather than
# harsh (triangle waves with the top cut off).
. "$(dirname "$0")/common.sh"
note "${PART}1.wav" 0.13 triangle 311 lowpass 1400
note "${PART}2.wav" 0.24 triangle 233 lowpass 1200 tremolo 18 40
"$SOX" "${PART}1.wav" "${PART}2.wav" "${PART}all.wav"
finish "${PART}all.wav" reverb 20 50 40

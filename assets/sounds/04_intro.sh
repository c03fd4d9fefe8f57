# The intro caption: a slow shimmering swell on an open fifth, fading out.
. "$(dirname "$0")/common.sh"
pad() { note "$1" 2.4 sine "$2" fade q 0.9 2.4 1.2 tremolo 5 15; }
pad "${PART}a.wav" 220
pad "${PART}b.wav" 330
pad "${PART}c.wav" 440
pad "${PART}d.wav" 659
"$SOX" -m "${PART}a.wav" "${PART}b.wav" "${PART}c.wav" "${PART}d.wav" "${PART}all.wav"
finish "${PART}all.wav" chorus 0.7 0.9 55 0.4 0.25 2 -t reverb 60 50 100

# A new level: a short brass fanfare, G4 C5 E5 and a held C-major chord.
. "$(dirname "$0")/common.sh"
brass() { note "$@" lowpass 2200 overdrive 4 lowpass 2600; }
brass "${PART}1.wav" 0.14 sawtooth 392
brass "${PART}2.wav" 0.14 sawtooth 523
brass "${PART}3.wav" 0.14 sawtooth 659
brass "${PART}c.wav" 0.75 sawtooth 523 fade t 0 0.75 0.4
brass "${PART}e.wav" 0.75 sawtooth 659 fade t 0 0.75 0.4
brass "${PART}g.wav" 0.75 sawtooth 784 fade t 0 0.75 0.4
"$SOX" -m "${PART}c.wav" "${PART}e.wav" "${PART}g.wav" "${PART}chord.wav"
"$SOX" "${PART}1.wav" "${PART}2.wav" "${PART}3.wav" "${PART}chord.wav" "${PART}all.wav"
finish "${PART}all.wav" chorus 0.6 0.8 45 0.4 0.25 2 -t reverb 40 50 70

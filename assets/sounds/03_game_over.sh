# Game over: a slow falling phrase, four notes sliding down to a low hum.
. "$(dirname "$0")/common.sh"
horn() { note "$@" lowpass 1500 tremolo 6 20; }
horn "${PART}1.wav" 0.30 sawtooth 392
horn "${PART}2.wav" 0.30 sawtooth 370
horn "${PART}3.wav" 0.30 sawtooth 349
horn "${PART}4.wav" 0.90 sawtooth 330-247 fade t 0 0.9 0.6
"$SOX" "${PART}1.wav" "${PART}2.wav" "${PART}3.wav" "${PART}4.wav" "${PART}all.wav"
finish "${PART}all.wav" reverb 50 50 80

#pragma once
// The small primitives the rest of the program leans on: the one key of
// interest being held, a 15-bit random generator with closed ranges, and
// the 100 Hz tick.

#include <atomic>

// 13 while Enter is held, 32 while Space is, '0'..'9' while a digit key is
// (first match in that order), -1 otherwise. Only the main keyboard counts.
int read_key_code();
// Returns once Enter is held, looking at the keys once a tick in between:
// how the screens that only wait for Enter sit still.
void wait_for_enter();

// The classic 15-bit linear congruential generator, 0..32767.
int rand15();
void seed_rand15(unsigned int seed);
// Where the generator stands, for seed_rand15 to take it back there.
unsigned int rand15_position();
// lo..hi inclusive: lo + rand15() * (hi - lo + 1) / 32768.
int random_range(int lo, int hi);

// Written only by count_tick, in the timer's context; read relaxed elsewhere.
extern std::atomic<int> tick_count;
extern int last_tick;
void count_tick();

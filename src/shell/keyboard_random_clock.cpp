#include "keyboard_random_clock.h"

#include <allegro.h>

#include "platform.h"

std::atomic<int> tick_count{0};
int last_tick = 0;

namespace {
unsigned int rand15_state = 1;
}

int read_key_code() {
    if (platform_key_held(KEY_ENTER)) {
        return 13;
    }
    if (platform_key_held(KEY_SPACE)) {
        return 32;
    }
    for (int d = 0; d <= 9; ++d) {
        if (platform_key_held(KEY_0 + d)) {
            return '0' + d;
        }
    }
    return -1;
}

void wait_for_enter() {
    for (;;) {
        const int seen_tick = tick_count.load(std::memory_order_relaxed);
        if (read_key_code() == 13) {
            return;
        }
        platform_wait_for_tick(seen_tick);
    }
}

int rand15() {
    rand15_state = rand15_state * 214013u + 2531011u;
    return static_cast<int>((rand15_state >> 16) & 32767u);
}

void seed_rand15(unsigned int seed) {
    rand15_state = seed;
}

unsigned int rand15_position() {
    return rand15_state;
}

int random_range(int lo, int hi) {
    const int n = hi - lo + 1;
    return lo + (rand15() * n) / 32768;
}

void count_tick() {
    // A plain load, add and store: the timer is the only writer and never
    // runs twice at once.
    tick_count.store(tick_count.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

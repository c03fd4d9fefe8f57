#include "answer_input.h"

#include <allegro.h>

#include <cstring>

#include "game_loop.h"
#include "keyboard_random_clock.h"
#include "platform.h"
#include "practice_record.h"

void read_answer_input() {
    previous_key = current_key;

    // The latch makes one press delete one digit, also during the animation.
    if (platform_key_held(KEY_BACKSPACE)) {
        const std::size_t length = std::strlen(typed_answer);
        if (length > 0 && backspace_latch == 0) {
            typed_answer[length - 1] = '\0';
        }
        backspace_latch = 1;
    } else {
        backspace_latch = 0;
    }

    canister_speed = speed_table[level];

    current_key = read_key_code();

    // Any change of the reported key is a new press; a 40th digit has no room.
    if (current_key != previous_key && current_key >= '0' && current_key <= '9' &&
        answer_state == 0) {
        const std::size_t length = std::strlen(typed_answer);
        if (length < typed_answer_size - 1) {
            typed_answer[length] = static_cast<char>(current_key);
            typed_answer[length + 1] = '\0';
        }
    }

    if (current_key == 13 && typed_answer[0] != '\0') {
        record_answer_sent();
        answer_state = 2;
    }

    if (current_key == 32 && fuel >= full_tank) {
        fuel = level_left_fuel;
        answer_timer = level_left_timer;
    }
}

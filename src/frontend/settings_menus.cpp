#include "settings_menus.h"

#include <allegro.h>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "keyboard_random_clock.h"
#include "platform.h"

int difficulty = 1;
int topic = 1;

namespace {

constexpr int back_row_y = 504;

void confirm_sample() {
    platform_play_sample(sample_menu_confirm, 127, 127, 1000, 0);
}

// Both menus run this loop. `confirm` acts on Enter over a value row and
// returns 1 or 0 for the menu to return, or -1 to carry on with the pass.
int run_settings_menu(BITMAP* background, int rows, int start_row, int (*confirm)(int row)) {
    set_draw_target(back_buffer);
    draw_image(background, 0, 0);
    present_frame();
    int row = start_row;
    int arrow_latch = 0;
    int shown_row = -1;  // the picture on the screen is the entry frame

    // One pass per tick, presenting only a changed picture.
    for (;;) {
        const int pass_tick = tick_count.load(std::memory_order_relaxed);
        if (row != shown_row) {
            draw_image(background, 0, 0);
            // XOR with white inverts the band, so any picture stays readable.
            drawing_mode(DRAW_MODE_XOR, nullptr, 0, 0);
            set_draw_color(255, 255, 255);
            draw_box(50, row > 0 ? 60 * row + 84 : back_row_y, 720, 60, 1);
            drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
            present_frame();
            shown_row = row;
        }

        const int k = read_key_code();
        if (k == '0') {
            row = 0;
        } else if (k >= '1' && k <= '0' + rows) {
            row = k - '0';
        }
        if (k == 13 && row > 0) {
            const int result = confirm(row);
            if (result >= 0) {
                return result;
            }
            // The topic menu has been on the screen and on back_buffer.
            shown_row = -1;
        } else if (k == 13) {
            confirm_sample();
            return 0;
        }
        if (platform_key_held(KEY_DOWN)) {
            if (arrow_latch == 0) {
                row += 1;
            }
            arrow_latch = 2;
        }
        if (platform_key_held(KEY_UP)) {
            if (arrow_latch == 0) {
                row += rows;
            }
            arrow_latch = 2;
        }
        if (row > 0) {
            row = row % (rows + 1);
        }
        if (arrow_latch > 0) {
            arrow_latch -= 1;
        }
        platform_wait_for_tick(pass_tick);
    }
}

int confirm_difficulty(int row) {
    confirm_sample();
    platform_rest(500);
    difficulty = row;
    if (topic_menu() == 1) {
        return 1;
    }
    platform_rest(500);
    return -1;
}

int confirm_topic(int row) {
    confirm_sample();
    platform_rest(500);
    topic = row;
    return 1;
}

}  // namespace

int difficulty_menu() {
    return run_settings_menu(difficulty_menu_background, 4, difficulty, confirm_difficulty);
}

int topic_menu() {
    return run_settings_menu(topic_menu_background, 5, topic, confirm_topic);
}

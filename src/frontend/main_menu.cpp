#include "main_menu.h"

#include <allegro.h>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "game_loop.h"
#include "guide_screen.h"
#include "high_scores.h"
#include "keyboard_random_clock.h"
#include "platform.h"
#include "settings_menus.h"

namespace {

void confirm_sample() {
    platform_play_sample(sample_menu_confirm, 127, 127, 1000, 0);
}

}  // namespace

int main_menu() {
    platform_rest(200);
    set_draw_target(back_buffer);
    draw_image(menu_background, 0, 0);
    present_frame();
    int selection = 1;
    int arrow_latch = 0;
    int shown_selection = -1;  // the picture on the screen is the entry frame

    // One pass per tick: a key held for a tick is still seen, and the
    // picture is sent again only when it changed.
    for (;;) {
        const int pass_tick = tick_count.load(std::memory_order_relaxed);
        if (selection != shown_selection) {
            draw_image(menu_background, 0, 0);
            if (selection > 0) {
                masked_blit(menu_highlight, back_buffer, 0, 0, 180, 112 * selection - 60,
                            menu_highlight->w, menu_highlight->h);
            }
            present_frame();
            shown_selection = selection;
        }

        const int k = read_key_code();
        if (k >= '0' && k <= '5') {
            selection = k - '0';
        }
        if (k == 13) {
            if (selection == 0) {
                confirm_sample();
                return 0;
            }
            confirm_sample();
            platform_rest(500);
            switch (selection) {
                case 1:
                    play_game();
                    return 1;
                case 2:
                    show_high_scores();
                    return 1;
                case 3:
                    show_guide();
                    return 1;
                case 4:
                    difficulty_menu();
                    return 1;
                default:
                    return 0;
            }
        }
        // An arrow held down moves the selection once; it moves again only
        // after it has been seen up for a pass.
        if (platform_key_held(KEY_DOWN)) {
            if (arrow_latch == 0) {
                selection += 1;
            }
            arrow_latch = 2;
        }
        if (platform_key_held(KEY_UP)) {
            if (arrow_latch == 0) {
                selection += 4;
            }
            arrow_latch = 2;
        }
        if (selection > 0) {
            selection = ((selection - 1) % 5) + 1;
        }
        if (arrow_latch > 0) {
            arrow_latch -= 1;
        }
        platform_wait_for_tick(pass_tick);
    }
}

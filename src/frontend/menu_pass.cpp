#include "menu_pass.h"

#include <allegro.h>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "keyboard_random_clock.h"
#include "platform.h"

int run_menu_passes(const menu_rules& rules, int selection) {
    set_draw_target(back_buffer);
    draw_image(rules.background, 0, 0);
    present_frame();
    const int last = rules.first + rules.count - 1;
    int arrow_latch = 0;
    int shown = -1;  // the screen shows the bare background

    // One pass per tick: a key held for a tick is still seen, and the
    // picture is sent again only when it changed.
    for (;;) {
        const int pass_tick = tick_count.load(std::memory_order_relaxed);
        if (selection != shown) {
            draw_image(rules.background, 0, 0);
            rules.highlight(selection);
            present_frame();
            shown = selection;
        }

        const int k = read_key_code();
        if (k >= '0' && k <= '0' + last) {
            selection = k - '0';
        }
        if (k == 13) {
            platform_play_sample(sample_menu_confirm, 127, 127, 1000, 0);
            if (selection == 0) {
                return 0;
            }
            platform_rest(500);
            const int result = rules.confirm(selection);
            if (result >= 0) {
                return result;
            }
            shown = -1;  // another menu has been on the screen since
        }
        // An arrow held down moves the selection once; it moves again only
        // after it has been seen up for a pass. Down wins over Up.
        if (platform_key_held(KEY_DOWN)) {
            if (arrow_latch == 0) {
                selection += 1;
            }
            arrow_latch = 2;
        }
        if (platform_key_held(KEY_UP)) {
            if (arrow_latch == 0) {
                selection += rules.count - 1;
            }
            arrow_latch = 2;
        }
        if (selection > 0) {
            selection = (selection - rules.first) % rules.count + rules.first;
        }
        if (arrow_latch > 0) {
            arrow_latch -= 1;
        }
        platform_wait_for_tick(pass_tick);
    }
}

#include "settings_menus.h"

#include <allegro.h>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "menu_pass.h"
#include "platform.h"

int difficulty = 1;
int topic = 1;

namespace {

// Row n's band starts at y = 60 * n + 84; the back row (0) is the last band.
void highlight_row(int row) {
    // XOR with white inverts the band, so any picture stays readable.
    drawing_mode(DRAW_MODE_XOR, nullptr, 0, 0);
    set_draw_color(255, 255, 255);
    draw_box(50, row > 0 ? 60 * row + 84 : 504, 720, 60, 1);
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
}

// The difficulty is kept even when the topic menu is left by its back row.
int confirm_difficulty(int row) {
    difficulty = row;
    if (topic_menu() == 1) {
        return 1;
    }
    platform_rest(500);
    return -1;
}

int confirm_topic(int row) {
    topic = row;
    return 1;
}

}  // namespace

int difficulty_menu() {
    // Rows 1..4 and the back row 0; the topic menu has rows 1..5.
    return run_menu_passes({difficulty_menu_background, highlight_row, 0, 5, confirm_difficulty},
                           difficulty);
}

int topic_menu() {
    return run_menu_passes({topic_menu_background, highlight_row, 0, 6, confirm_topic}, topic);
}

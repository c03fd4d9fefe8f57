#include "main_menu.h"

#include <allegro.h>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "game_loop.h"
#include "guide_screen.h"
#include "high_scores.h"
#include "menu_pass.h"
#include "platform.h"
#include "settings_menus.h"

namespace {

void highlight_choice(int selection) {
    if (selection > 0) {
        masked_blit(menu_highlight, back_buffer, 0, 0, 180, 112 * selection - 60, menu_highlight->w,
                    menu_highlight->h);
    }
}

int open_choice(int selection) {
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

}  // namespace

int main_menu() {
    platform_rest(200);
    // Choices 1..5; '0' selects none, and Enter on none leaves at once.
    return run_menu_passes({menu_background, highlight_choice, 1, 5, open_choice}, 1);
}

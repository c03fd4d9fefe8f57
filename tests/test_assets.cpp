#include "test_assets.h"

#include "asset_catalogue.h"
#include "drawing_kit.h"

namespace {

BITMAP* solid(int w, int h, const int rgb[3]) {
    BITMAP* b = create_bitmap(w, h);
    clear_to_color(b, makecol(rgb[0], rgb[1], rgb[2]));
    return b;
}

SAMPLE* silent_sample() { return create_sample(16, 0, 22050, 64); }

}  // namespace

void install_test_assets() {
    static bool made = false;
    if (made) {
        return;
    }
    made = true;
    back_buffer = create_bitmap(800, 600);
    label_bitmap = create_bitmap(280, 200);
    menu_background = solid(800, 600, test_colors::menu);
    // The highlight is a frame: its middle is mask colour, so a masked blit
    // leaves the menu picture showing through.
    menu_highlight = solid(440, 96, test_colors::highlight);
    rectfill(menu_highlight, 10, 10, 429, 85, bitmap_mask_color(menu_highlight));
    difficulty_menu_background = solid(800, 600, test_colors::difficulty);
    topic_menu_background = solid(800, 600, test_colors::topic);
    highscore_background = solid(800, 600, test_colors::highscore);
    title_image = solid(800, 600, test_colors::title);
    const int grey[3] = {90, 90, 90};
    for (int level = 1; level <= 10; ++level) {
        const int tint[3] = {20 * level, 100, 255 - 20 * level};
        level_background[level] = solid(800, 680, tint);
    }
    cockpit_overlay = solid(800, 300, grey);
    canister_picture_1 = solid(320, 200, grey);
    canister_picture_2 = solid(320, 200, grey);
    score_digit_strip = solid(490, 32, grey);
    font_answer = font_readout = font_panel = font_text = font_banner = font_intro = font_label =
        font;
    sample_wrong = silent_sample();
    sample_right = silent_sample();
    sample_level_start = silent_sample();
    sample_game_over = silent_sample();
    sample_intro = silent_sample();
    sample_game_start = silent_sample();
    sample_menu_confirm = silent_sample();
}

const char* sample_name(const SAMPLE* s) {
    if (s == sample_wrong) return "wrong";
    if (s == sample_right) return "right";
    if (s == sample_level_start) return "level_start";
    if (s == sample_game_over) return "game_over";
    if (s == sample_intro) return "intro";
    if (s == sample_game_start) return "game_start";
    if (s == sample_menu_confirm) return "menu_confirm";
    return "unknown";
}

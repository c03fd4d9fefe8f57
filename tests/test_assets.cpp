#include "test_assets.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

#include "asset_catalogue.h"
#include "drawing_kit.h"

namespace {

BITMAP* solid(int w, int h, const int rgb[3]) {
    BITMAP* b = create_bitmap(w, h);
    clear_to_color(b, makecol(rgb[0], rgb[1], rgb[2]));
    return b;
}

SAMPLE* silent_sample() {
    return create_sample(16, 0, 22050, 64);
}

struct synthetic_catalogue {
    BITMAP* back;
    BITMAP* label;
    BITMAP* menu;
    BITMAP* highlight;
    BITMAP* difficulty;
    BITMAP* topic;
    BITMAP* highscore;
    BITMAP* title;
    BITMAP* levels[11];
    BITMAP* cockpit;
    BITMAP* canister_1;
    BITMAP* canister_2;
    BITMAP* digits;
    SAMPLE* samples[7];
};

synthetic_catalogue make_catalogue() {
    synthetic_catalogue c{};
    c.back = create_bitmap(800, 600);
    c.label = create_bitmap(280, 200);
    c.menu = solid(800, 600, test_colors::menu);
    // The highlight is a frame: its middle is mask colour, so a masked blit
    // leaves the menu picture showing through.
    c.highlight = solid(440, 96, test_colors::highlight);
    rectfill(c.highlight, 10, 10, 429, 85, bitmap_mask_color(c.highlight));
    c.difficulty = solid(800, 600, test_colors::difficulty);
    c.topic = solid(800, 600, test_colors::topic);
    c.highscore = solid(800, 600, test_colors::highscore);
    c.title = solid(800, 600, test_colors::title);
    for (int level = 1; level <= 10; ++level) {
        const int tint[3] = {20 * level, 100, 255 - 20 * level};
        c.levels[level] = solid(800, 680, tint);
    }
    const int grey[3] = {90, 90, 90};
    c.cockpit = solid(800, 300, grey);
    c.canister_1 = solid(320, 200, grey);
    c.canister_2 = solid(320, 200, grey);
    c.digits = solid(490, 32, grey);
    for (SAMPLE*& s : c.samples) {
        s = silent_sample();
    }
    return c;
}

}  // namespace

void install_test_assets() {
    // Made once, assigned on every call: a test that loaded the real
    // datafiles must not leave them behind for the next one.
    static const synthetic_catalogue c = make_catalogue();
    back_buffer = c.back;
    label_bitmap = c.label;
    menu_background = c.menu;
    menu_highlight = c.highlight;
    difficulty_menu_background = c.difficulty;
    topic_menu_background = c.topic;
    highscore_background = c.highscore;
    title_image = c.title;
    for (int level = 1; level <= 10; ++level) {
        level_background[level] = c.levels[level];
    }
    cockpit_overlay = c.cockpit;
    canister_picture_1 = c.canister_1;
    canister_picture_2 = c.canister_2;
    score_digit_strip = c.digits;
    font_answer = font_readout = font_panel = font_text = font_banner = font_intro = font_label =
        font;
    sample_wrong = c.samples[0];
    sample_right = c.samples[1];
    sample_level_start = c.samples[2];
    sample_game_over = c.samples[3];
    sample_intro = c.samples[4];
    sample_game_start = c.samples[5];
    sample_menu_confirm = c.samples[6];
}

const char* sample_name(const SAMPLE* s) {
    if (s == sample_wrong)
        return "wrong";
    if (s == sample_right)
        return "right";
    if (s == sample_level_start)
        return "level_start";
    if (s == sample_game_over)
        return "game_over";
    if (s == sample_intro)
        return "intro";
    if (s == sample_game_start)
        return "game_start";
    if (s == sample_menu_confirm)
        return "menu_confirm";
    return "unknown";
}

std::vector<std::string> sounds_and_rests() {
    std::vector<std::string> out;
    std::size_t sound = 0;
    for (const std::string& e : fake().events) {
        if (e == "sound") {
            const played_sample& s = fake().sounds[sound++];
            EXPECT_EQ(s.pan, 127);
            EXPECT_EQ(s.frequency, 1000);
            EXPECT_EQ(s.loop, 0);
            out.push_back(std::string(sample_name(s.sample)) + "/" + std::to_string(s.volume));
        } else if (e.rfind("rest", 0) == 0) {
            out.push_back(e);
        }
    }
    return out;
}

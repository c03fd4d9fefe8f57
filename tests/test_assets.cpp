#include "test_assets.h"

#include <gtest/gtest.h>

#include <cstring>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "fake_platform.h"

namespace {

BITMAP* solid(int w, int h, const int rgb[3]) {
    BITMAP* b = create_bitmap(w, h);
    clear_to_color(b, makecol(rgb[0], rgb[1], rgb[2]));
    return b;
}

// The sample slots in the order of their names.
SAMPLE** const sample_slots[] = {&sample_wrong,       &sample_right, &sample_level_start,
                                 &sample_game_over,   &sample_intro, &sample_game_start,
                                 &sample_menu_confirm};
const char* const sample_names[] = {"wrong", "right",      "level_start", "game_over",
                                    "intro", "game_start", "menu_confirm"};

}  // namespace

void install_test_assets() {
    // Made once, assigned on every call: a test that loaded the real
    // datafiles must not leave them behind for the next one.
    static BITMAP* pictures[24] = {};
    static SAMPLE* samples[7] = {};
    if (pictures[0] == nullptr) {
        const int grey[3] = {90, 90, 90};
        pictures[0] = create_bitmap(800, 600);
        pictures[1] = create_bitmap(280, 200);
        pictures[2] = solid(800, 600, test_colors::menu);
        // The highlight is a frame: its middle is mask colour, so a masked
        // blit leaves the menu picture showing through.
        pictures[3] = solid(440, 96, test_colors::highlight);
        rectfill(pictures[3], 10, 10, 429, 85, bitmap_mask_color(pictures[3]));
        pictures[4] = solid(800, 600, test_colors::difficulty);
        pictures[5] = solid(800, 600, test_colors::topic);
        pictures[6] = solid(800, 600, test_colors::highscore);
        pictures[7] = solid(800, 600, test_colors::title);
        pictures[8] = solid(800, 300, grey);  // cockpit
        const int canister_colours[2][3] = {{90, 60, 30}, {30, 60, 90}};
        pictures[9] = solid(320, 200, canister_colours[0]);
        pictures[10] = solid(320, 200, canister_colours[1]);
        pictures[11] = solid(490, 32, grey);  // score digits
        for (int level = 1; level <= 10; ++level) {
            const int tint[3] = {20 * level, 100, 255 - 20 * level};
            pictures[11 + level] = solid(800, 680, tint);
        }
        for (SAMPLE*& s : samples) {
            s = create_sample(16, 0, 22050, 64);
        }
    }
    back_buffer = pictures[0];
    label_bitmap = pictures[1];
    menu_background = pictures[2];
    menu_highlight = pictures[3];
    difficulty_menu_background = pictures[4];
    topic_menu_background = pictures[5];
    highscore_background = pictures[6];
    title_image = pictures[7];
    cockpit_overlay = pictures[8];
    canister_picture_1 = pictures[9];
    canister_picture_2 = pictures[10];
    score_digit_strip = pictures[11];
    for (int level = 1; level <= 10; ++level) {
        level_background[level] = pictures[11 + level];
    }
    // The built fonts, each of its own look, so a text drawn in another
    // slot's font shows in the pixels.
    static DATAFILE* fonts = load_datafile(REFUEL_GAME_DIR "/fonts.dat");
    FONT** const font_slots[] = {&font_answer, &font_readout, &font_panel, &font_text,
                                 &font_banner, &font_intro,   &font_label};
    const int font_entries[] = {0, 1, 4, 6, 7, 8, 9};
    for (int i = 0; i < 7; ++i) {
        *font_slots[i] = static_cast<FONT*>(fonts[font_entries[i]].dat);
    }
    for (int i = 0; i < 7; ++i) {
        *sample_slots[i] = samples[i];
    }
}

const char* sample_name(const SAMPLE* s) {
    for (int i = 0; i < 7; ++i) {
        if (s == *sample_slots[i]) {
            return sample_names[i];
        }
    }
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

int differing_rows(BITMAP* a, BITMAP* b) {
    int rows = 0;
    for (int y = 0; y < a->h; ++y) {
        rows += std::memcmp(a->line[y], b->line[y], a->w * ((bitmap_color_depth(a) + 7) / 8)) != 0;
    }
    return rows;
}

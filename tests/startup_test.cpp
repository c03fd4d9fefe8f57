// Start-up, the caption and the title, run on the fake device layer in a
// folder holding copies of the built datafiles, as the installed game would.
#include <gtest/gtest.h>

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "game_paths.h"
#include "high_score_table.h"
#include "fake_platform.h"
#include "keyboard_random_clock.h"
#include "scratch_folder.h"
#include "startup.h"
#include "test_assets.h"

namespace {

class start_up_test : public testing::Test {
   protected:
    void SetUp() override {
        for (const char* name : {"graph1.dat", "fonts.dat", "sounds.dat"}) {
            folder.copy_from_game_dir(name);
        }
        back_buffer = label_bitmap = nullptr;  // start-up makes its own
    }
    void TearDown() override {
        drop_surfaces();
        remove_fake_platform();
        set_color_depth(16);
        install_test_assets();
    }
    static void drop_surfaces() {
        destroy_bitmap(back_buffer);  // nothing for a null one
        destroy_bitmap(label_bitmap);
        back_buffer = label_bitmap = nullptr;
    }
    // The mode, tick, text mode and message events, in order.
    static std::string device_steps() {
        std::string out;
        for (const std::string& e : fake().events) {
            if (e[0] == 'm' || e[0] == 't') {
                out += (out.empty() ? "" : ", ") + e;
            }
        }
        return out;
    }
    scratch_folder folder;
};

TEST_F(start_up_test, takes_the_first_video_mode_accepted_or_stops_with_a_message) {
    // fonts.dat and sounds.dat are read before the video mode, graph1.dat after it.
    const struct {
        int refused;          // of the modes 16 full, 15 full, 16 window, 15 window in turn
        const char* missing;  // a datafile put away
        int depth;            // of the pictures; 0 when start-up stops
        const char* steps;
        const char* message;
    } cases[] = {
        {0, "", 16, "mode 16 full, tick", ""},
        {1, "", 15, "mode 16 full, mode 15 full, tick", ""},
        {2, "", 16, "mode 16 full, mode 15 full, mode 16 window, tick", ""},
        {3, "", 15, "mode 16 full, mode 15 full, mode 16 window, mode 15 window, tick", ""},
        {4, "", 0, "mode 16 full, mode 15 full, mode 16 window, mode 15 window, text mode, message",
         "Error setting a 15 or 16 bpp 800x600 video mode\nUnsupported screen size\n"},
        {0, "fonts.dat", 0, "text mode, message", "Error reading fonts.dat: the file is missing\n"},
        {0, "sounds.dat", 0, "text mode, message",
         "Error reading sounds.dat: the file is missing\n"},
        {0, "graph1.dat", 0, "mode 16 full, tick, text mode, message",
         "Error reading graph1.dat: the file is missing\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.refused << " modes refused, " << c.message);
        drop_surfaces();
        install_fake_platform();
        fake().mode_result_16_full = c.refused > 0 ? -1 : 0;
        fake().mode_result_15_full = c.refused > 1 ? -1 : 0;
        fake().mode_result_16_window = c.refused > 2 ? -1 : 0;
        fake().mode_result_15_window = c.refused > 3 ? -1 : 0;
        fake().error_text = "Unsupported screen size";
        std::rename(c.missing, "put_away");  // nothing happens for ""
        if (c.depth != 0) {
            ASSERT_EQ(start_up(), nullptr);
            EXPECT_EQ(bitmap_color_depth(level_background[1]), c.depth);
        } else {
            title_image = nullptr;
            EXPECT_EQ(run_refuel(), 1);
            EXPECT_EQ(fake().messages, std::vector<std::string>{c.message});
            EXPECT_EQ(title_image, nullptr) << "no picture may be read";
        }
        EXPECT_EQ(device_steps(), c.steps);
        std::rename("put_away", c.missing);
    }
}

TEST_F(start_up_test, fills_each_picture_slot_with_a_picture_that_fits_its_place) {
    install_fake_platform();
    std::ofstream("hiscores.dat") << "\x30\x39" << std::string(8, '\0');  // best 12345
    data_folder = "gone/", high_score_path = "gone/hiscores.dat";         // found afresh each start
    ASSERT_EQ(start_up(), nullptr);
    EXPECT_EQ(high_scores[0], 12345) << "the table is read at start-up";
    const struct {
        std::vector<BITMAP*> pictures;
        int min_w, min_h, max_w, max_h;
    } slots[] = {
        {{level_background + 1, level_background + 11}, 800, 671, 4096, 4096},  // scroll 71 rows
        {{menu_background, highscore_background, title_image}, 800, 600, 800, 600},  // at (0, 0)
        {{topic_menu_background, difficulty_menu_background}, 800, 600, 800, 600},
        {{cockpit_overlay}, 800, 300, 800, 300},                           // at (0, 300)
        {{canister_picture_1, canister_picture_2}, 310, 200, 4096, 4096},  // the label at x -30
        {{score_digit_strip}, 48 * 9 + 5 + 48, 32, 4096, 4096},            // digit d at x 48 d + 5
        {{menu_highlight}, 300, 40, 620, 112},                             // menu rows 112 apart
    };
    for (const auto& s : slots) {
        for (const BITMAP* b : s.pictures) {
            EXPECT_TRUE(b->w >= s.min_w && b->w <= s.max_w && b->h >= s.min_h && b->h <= s.max_h)
                << b->w << "x" << b->h << ", wanted from " << s.min_w << "x" << s.min_h;
        }
    }
    EXPECT_GE(text_height(font_banner), 40);
    decode_high_scores(nullptr, 0);
}

// What a picture, font or sound of a datafile looks or sounds like, byte for byte.
std::string content_of(int type, void* dat) {
    if (type == DAT_SAMPLE) {
        const auto* s = static_cast<const SAMPLE*>(dat);
        return std::to_string(s->freq) + std::string(static_cast<const char*>(s->data),
                                                     s->len * (s->bits / 8) * (s->stereo ? 2 : 1));
    }
    BITMAP* b = type == DAT_FONT ? create_bitmap(900, 80) : static_cast<BITMAP*>(dat);
    if (type == DAT_FONT) {
        clear_to_color(b, 0);
        textout_ex(b, static_cast<FONT*>(dat), "0123456789 +-x/ Ag?", 0, 0, 255, -1);
    }
    std::string out = std::to_string(b->w) + "x" + std::to_string(b->h);
    for (int y = 0; y < b->h; ++y) {
        out.append(reinterpret_cast<const char*>(b->line[y]),
                   b->w * ((bitmap_color_depth(b) + 7) / 8));
    }
    if (type == DAT_FONT) {
        destroy_bitmap(b);
    }
    return out;
}

TEST_F(start_up_test, takes_each_slot_from_its_own_datafile_entry) {
    install_fake_platform();
    ASSERT_EQ(start_up(), nullptr);
    const struct {
        const char* file;
        std::vector<void*> slots;  // for entry 0, 1, ...; null for one nothing takes
    } files[] = {
        {"graph1.dat", {level_background[1],
                        level_background[2],
                        level_background[3],
                        cockpit_overlay,
                        canister_picture_1,
                        canister_picture_2,
                        highscore_background,
                        menu_background,
                        score_digit_strip,
                        menu_highlight,
                        title_image,
                        topic_menu_background,
                        difficulty_menu_background,
                        level_background[4],
                        level_background[5],
                        level_background[6],
                        level_background[7],
                        level_background[8],
                        level_background[9],
                        level_background[10]}},
        {"fonts.dat",
         {font_answer, font_readout, nullptr, nullptr, font_panel, nullptr, font_text, font_banner,
          font_intro, font_label}},
        {"sounds.dat",
         {sample_wrong, sample_right, sample_level_start, sample_game_over, sample_intro,
          sample_game_start, sample_menu_confirm}},
    };
    for (const auto& f : files) {
        DATAFILE* d = load_datafile(f.file);
        ASSERT_NE(d, nullptr) << f.file;
        std::vector<std::string> entries;
        for (std::size_t i = 0; i < f.slots.size(); ++i) {
            entries.push_back(content_of(d[i].type, d[i].dat));
        }
        for (std::size_t i = 0; i < f.slots.size(); ++i) {
            // Alike entries would let a slot take its neighbour unseen.
            EXPECT_EQ(std::count(entries.begin(), entries.end(), entries[i]), 1) << f.file << i;
            EXPECT_TRUE(f.slots[i] == nullptr || content_of(d[i].type, f.slots[i]) == entries[i])
                << f.file << " entry " << i;
        }
        unload_datafile(d);
    }
}

TEST_F(start_up_test, caption_fades_in_and_out_in_104_steps_and_the_title_takes_one_key) {
    install_fake_platform();
    fake().readkey_queue = {KEY_SPACE << 8};         // pressed during the caption
    fake().script_per_look({{KEY_0}, {KEY_ENTER}});  // the menu's way out
    std::vector<int> greys, want;                    // the caption's brightest ink at each step
    fake().on_rest = [&](int) {
        int top = 0;
        for (int y = 280; y < 320; ++y) {
            for (int x = 150; x < 650; ++x) {
                top = std::max(top, getr(getpixel(fake().screen, x, y)));
            }
        }
        greys.push_back(top);
    };
    const int start_tick = tick_count.load();
    EXPECT_EQ(run_refuel(), 0);
    for (int step = 0; step < 104; ++step) {
        const int g = step < 52 ? 5 * step : 255 - 5 * (step - 52);
        want.push_back(getr(makecol(g, g, g)));
    }
    greys.resize(want.size());  // the rests after the title are the menu's
    EXPECT_EQ(greys, want);
    const std::vector<std::string>& e = fake().events;
    const auto title = std::find(e.begin(), e.end(), "present");
    ASSERT_NE(title, e.end());
    EXPECT_EQ(std::count(e.begin(), title, "rest 40"), 104);
    EXPECT_EQ(*(title + 1), "readkey");
    EXPECT_EQ(last_tick - start_tick, 104 * 4) << "taken once the title has shown";
}

}  // namespace

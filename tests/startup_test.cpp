#include <gtest/gtest.h>

#include <allegro.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "fake_platform.h"
#include "keyboard_random_clock.h"
#include "scratch_folder.h"
#include "startup.h"
#include "test_assets.h"

namespace {

using strings = std::vector<std::string>;

// Runs start-up in a scratch folder holding copies of the built datafiles,
// as the installed game would, with the fake device layer.
class start_up_sequence : public testing::Test {
   protected:
    void SetUp() override {
        for (const char* name : {"graph1.dat", "fonts.dat", "sounds.dat"}) {
            folder.copy_from_game_dir(name);
        }
        install_fake_platform();
    }
    void TearDown() override {
        remove_fake_platform();
        set_color_depth(16);
        // Start-up made its own surfaces; the synthetic ones come back.
        BITMAP* made_back = back_buffer;
        BITMAP* made_label = label_bitmap;
        install_test_assets();
        if (made_back != back_buffer)
            destroy_bitmap(made_back);
        if (made_label != label_bitmap)
            destroy_bitmap(made_label);
    }
    // The device events without the flood of key polls and the like.
    strings device_steps() const {
        strings out;
        for (const std::string& e : fake().events) {
            if (e.rfind("mode", 0) == 0 || e == "tick" || e == "text mode" || e == "message") {
                out.push_back(e);
            }
        }
        return out;
    }
    scratch_folder folder;
};

TEST_F(start_up_sequence, sets_sixteen_bit_mode_then_starts_the_tick_and_loads_everything) {
    title_image = nullptr;
    ASSERT_EQ(start_up(), nullptr);
    EXPECT_EQ(device_steps(), (strings{"mode 16 full", "tick"}));
    EXPECT_EQ(fake().tick_callback, &count_tick);
    ASSERT_NE(back_buffer, nullptr);
    EXPECT_EQ(back_buffer->w, 800);
    EXPECT_EQ(back_buffer->h, 600);
    EXPECT_EQ(bitmap_color_depth(back_buffer), 16);
    ASSERT_NE(label_bitmap, nullptr);
    EXPECT_EQ(label_bitmap->w, 280);
    EXPECT_EQ(label_bitmap->h, 200);
    EXPECT_NE(title_image, nullptr);
    for (int level = 1; level <= 10; ++level) {
        ASSERT_NE(level_background[level], nullptr) << level;
        for (int other = 1; other < level; ++other) {
            EXPECT_NE(level_background[level], level_background[other]);
        }
    }
    for (FONT* f :
         {font_answer, font_readout, font_panel, font_text, font_banner, font_intro, font_label}) {
        EXPECT_NE(f, nullptr);
    }
    for (SAMPLE* s : {sample_wrong, sample_right, sample_level_start, sample_game_over,
                      sample_intro, sample_game_start, sample_menu_confirm}) {
        EXPECT_NE(s, nullptr);
    }
}

TEST_F(start_up_sequence, falls_back_to_fifteen_bits_and_loads_pictures_at_that_depth) {
    fake().mode_result_16_full = -1;
    ASSERT_EQ(start_up(), nullptr);
    EXPECT_EQ(device_steps(), (strings{"mode 16 full", "mode 15 full", "tick"}));
    EXPECT_EQ(bitmap_color_depth(back_buffer), 15);
    EXPECT_EQ(bitmap_color_depth(label_bitmap), 15);
    EXPECT_EQ(bitmap_color_depth(level_background[1]), 15);
    EXPECT_EQ(bitmap_color_depth(cockpit_overlay), 15);
}

TEST_F(start_up_sequence, stops_with_the_video_mode_message_when_both_depths_are_refused) {
    fake().mode_result_16_full = -1;
    fake().mode_result_15_full = -1;
    fake().error_text = "Unsupported screen size";
    title_image = nullptr;
    const char* error = start_up();
    ASSERT_NE(error, nullptr);
    EXPECT_STREQ(error,
                 "Error setting a 15 or 16 bpp 800x600 video mode\nUnsupported screen size\n");
    EXPECT_EQ(device_steps(), (strings{"mode 16 full", "mode 15 full", "mode 16 window",
                                       "mode 15 window", "text mode"}));
    EXPECT_EQ(title_image, nullptr) << "graph1.dat must not be read";
}

TEST_F(start_up_sequence, opens_a_window_when_full_screen_is_refused) {
    fake().mode_result_16_full = -1;
    fake().mode_result_15_full = -1;
    fake().mode_result_16_window = -1;
    fake().mode_result_15_window = 0;
    ASSERT_EQ(start_up(), nullptr);
    EXPECT_EQ(device_steps(), (strings{"mode 16 full", "mode 15 full", "mode 16 window",
                                       "mode 15 window", "tick"}));
    EXPECT_EQ(bitmap_color_depth(back_buffer), 15);
    EXPECT_EQ(bitmap_color_depth(level_background[3]), 15);
}

TEST_F(start_up_sequence, a_window_at_sixteen_bits_comes_before_one_at_fifteen) {
    fake().mode_result_16_full = -1;
    fake().mode_result_15_full = -1;
    fake().mode_result_16_window = 0;
    ASSERT_EQ(start_up(), nullptr);
    EXPECT_EQ(device_steps(), (strings{"mode 16 full", "mode 15 full", "mode 16 window", "tick"}));
    EXPECT_EQ(bitmap_color_depth(back_buffer), 16);
}

TEST_F(start_up_sequence, a_library_that_cannot_start_is_reported_the_same_way) {
    fake().library_starts = false;
    fake().error_text = "no display";
    EXPECT_EQ(run_refuel(), 1);
    EXPECT_EQ(fake().messages,
              (strings{"Error setting a 15 or 16 bpp 800x600 video mode\nno display\n"}));
    EXPECT_EQ(device_steps(), (strings{"message"})) << "nothing else may touch the library";
}

TEST_F(start_up_sequence, a_missing_datafile_stops_start_up_naming_the_file) {
    for (const char* name : {"fonts.dat", "sounds.dat", "graph1.dat"}) {
        std::remove(name);
        install_fake_platform();
        EXPECT_EQ(run_refuel(), 1) << name;
        ASSERT_EQ(fake().messages.size(), 1u) << name;
        EXPECT_NE(fake().messages[0].find(name), std::string::npos) << fake().messages[0];
        EXPECT_EQ(fake().count_events("text mode"), 1) << name;
        EXPECT_EQ(fake().count_events("sound"), 0) << "no intro after " << name;
        folder.copy_from_game_dir(name);
    }
}

TEST_F(start_up_sequence, runs_caption_title_and_menu_then_exits_with_zero) {
    fake().readkey_queue = {KEY_SPACE << 8};
    fake().on_present = [](int n) {
        for (bool& h : fake().held)
            h = false;
        if (n == 2)
            fake().held[KEY_5] = true;
        if (n >= 3)
            fake().held[KEY_ENTER] = true;
    };
    EXPECT_EQ(run_refuel(), 0);

    const strings& e = fake().events;
    const auto first_present = std::find(e.begin(), e.end(), "present");
    // The caption: the intro sample, then 104 steps of 40 ms drawn straight
    // on the screen, before any frame is presented.
    EXPECT_EQ(std::count(e.begin(), first_present, std::string("rest 40")), 104);
    EXPECT_EQ(std::count(first_present, e.end(), std::string("rest 40")), 0);
    ASSERT_FALSE(fake().sounds.empty());
    EXPECT_EQ(fake().sounds[0].sample, sample_intro);
    EXPECT_EQ(fake().sounds[0].volume, 127);
    // The title waits for one key from the buffer, then the menu opens.
    ASSERT_NE(first_present, e.end());
    EXPECT_EQ(*(first_present + 1), "readkey");
    EXPECT_EQ(*(first_present + 2), "rest 200");
    EXPECT_TRUE(fake().readkey_queue.empty());
    EXPECT_EQ(fake().sounds.back().sample, sample_menu_confirm);
}

TEST_F(start_up_sequence, the_caption_fades_from_black_to_white_and_back_in_the_middle) {
    fake().readkey_queue = {0};
    struct ink {
        int brightest = 0;
        int left = 800, right = -1, top = 600, bottom = -1;
    };
    std::vector<ink> steps;
    fake().on_rest = [&steps](int) {
        ink k;
        BITMAP* s = fake().screen;
        for (int y = 150; y < 450; ++y) {
            for (int x = 0; x < 800; ++x) {
                const int c = getpixel(s, x, y);
                if (c == makecol(0, 0, 0))
                    continue;
                // Grey, within a step of 16-bit colour (green has one more bit).
                EXPECT_LE(std::abs(getr(c) - getg(c)), 8);
                EXPECT_EQ(getr(c), getb(c));
                k.brightest = std::max(k.brightest, getr(c));
                k.left = std::min(k.left, x);
                k.right = std::max(k.right, x);
                k.top = std::min(k.top, y);
                k.bottom = std::max(k.bottom, y);
            }
        }
        steps.push_back(k);
    };
    // Stop at the title: the screen then still holds the caption's last step.
    fake().on_present = [](int) { throw script_exhausted("title reached"); };
    EXPECT_THROW(run_refuel(), script_exhausted);
    ASSERT_EQ(steps.size(), 104u);
    EXPECT_EQ(steps[0].brightest, 0) << "the first step is drawn in black";
    EXPECT_EQ(steps[51].brightest, 255);
    EXPECT_EQ(steps[52].brightest, 255);
    EXPECT_EQ(steps[103].brightest, 0) << "the last step is drawn in black";
    // Steps of 5 in 8-bit colour can share a 5-bit value; two steps cannot.
    for (std::size_t i = 2; i < 52; ++i) {
        EXPECT_GE(steps[i].brightest, steps[i - 1].brightest) << "step " << i;
        EXPECT_GT(steps[i].brightest, steps[i - 2].brightest) << "step " << i;
    }
    // Centred on (400, 300).
    const ink& top = steps[51];
    EXPECT_LT(top.left, 400);
    EXPECT_GT(top.right, 400);
    EXPECT_LE(std::abs((top.left + top.right) / 2 - 400), 12);
    EXPECT_LE(std::abs((top.top + top.bottom) / 2 - 300), 12);
}

TEST_F(start_up_sequence, last_tick_is_taken_after_the_title_key) {
    fake().readkey_queue = {0};
    fake().on_present = [](int n) {
        if (n == 1)
            throw script_exhausted("menu reached");
    };
    EXPECT_THROW(run_refuel(), script_exhausted);
    // The fake's waits moved the clock: 104 x 40 ms of caption is 416 ticks,
    // then the menu's 200 ms pause came after last_tick was taken.
    EXPECT_EQ(tick_count.load() - last_tick, 20);
}

}  // namespace

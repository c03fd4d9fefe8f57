#include <gtest/gtest.h>

#include <allegro.h>

#include "drawing_kit.h"
#include "fake_platform.h"
#include "test_assets.h"

namespace {

class drawing_kit : public testing::Test {
   protected:
    void SetUp() override {
        install_test_assets();
        install_fake_platform();
        canvas = create_bitmap(200, 100);
        clear_to_color(canvas, makecol(0, 0, 0));
        set_draw_target(canvas);
        set_draw_font(font);
        set_draw_color(255, 255, 255);
    }
    void TearDown() override {
        destroy_bitmap(canvas);
        remove_fake_platform();
    }
    // Leftmost and topmost lit pixel, or -1.
    int leftmost_lit() const {
        for (int x = 0; x < canvas->w; ++x) {
            for (int y = 0; y < canvas->h; ++y) {
                if (getpixel(canvas, x, y) != makecol(0, 0, 0))
                    return x;
            }
        }
        return -1;
    }
    int topmost_lit() const {
        for (int y = 0; y < canvas->h; ++y) {
            for (int x = 0; x < canvas->w; ++x) {
                if (getpixel(canvas, x, y) != makecol(0, 0, 0))
                    return y;
            }
        }
        return -1;
    }
    BITMAP* canvas = nullptr;
};

// The built-in 8x8 font gives texts of known width: 8 pixels per glyph.
TEST_F(drawing_kit, centring_moves_the_text_left_by_half_its_width) {
    draw_text(100, 50, "IIIII", 1, 0);  // 40 pixels wide
    const int centred = leftmost_lit();
    clear_to_color(canvas, makecol(0, 0, 0));
    draw_text(80, 50, "IIIII", 0, 0);
    EXPECT_EQ(leftmost_lit(), centred);
    clear_to_color(canvas, makecol(0, 0, 0));
    draw_text(100, 50, "IIIII", 0, 0);
    EXPECT_EQ(leftmost_lit(), centred + 20) << "no centring without the flag";
}

// A text of odd width: the half is rounded down, so 41 pixels centred on
// 400 start at 380 just like 40 pixels do.
TEST_F(drawing_kit, centring_an_odd_width_rounds_the_half_down) {
    FONT* proportional = nullptr;
    DATAFILE* fonts = load_datafile(REFUEL_GAME_DIR "/fonts.dat");
    if (fonts != nullptr) {
        proportional = static_cast<FONT*>(fonts[6].dat);
    }
    ASSERT_NE(proportional, nullptr) << "needs the built fonts.dat";
    set_draw_font(proportional);
    const char* samples[] = {"i", "l", "il", "mi", "Wi", "ill", "A1", "Refuel", "wide text"};
    int odd_seen = 0;
    for (const char* text : samples) {
        const int w = text_length(proportional, text);
        if (w % 2 == 0)
            continue;
        ++odd_seen;
        BITMAP* wide = create_bitmap(800, 100);
        clear_to_color(wide, 0);
        set_draw_target(wide);
        draw_text(400, 10, text, 1, 0);
        BITMAP* plain = create_bitmap(800, 100);
        clear_to_color(plain, 0);
        set_draw_target(plain);
        draw_text(400 - (w - 1) / 2, 10, text, 0, 0);
        for (int y = 0; y < 100; y += 1) {
            for (int x = 0; x < 800; x += 1) {
                ASSERT_EQ(getpixel(wide, x, y), getpixel(plain, x, y)) << text;
            }
        }
        destroy_bitmap(wide);
        destroy_bitmap(plain);
    }
    EXPECT_GT(odd_seen, 0) << "none of the sample texts has an odd width";
    set_draw_target(canvas);
    unload_datafile(fonts);
}

TEST_F(drawing_kit, vertical_centring_and_any_nonzero_flag) {
    draw_text(10, 50, "I", 0, 7);  // 8 pixels high: top at 46
    const int top = topmost_lit();
    clear_to_color(canvas, makecol(0, 0, 0));
    draw_text(10, 50, "I", 0, 0);
    EXPECT_EQ(topmost_lit() - top, 4);
}

TEST_F(drawing_kit, empty_text_draws_nothing) {
    draw_text(100, 50, "", 1, 1);
    EXPECT_EQ(leftmost_lit(), -1);
}

TEST_F(drawing_kit, text_keeps_the_background) {
    clear_to_color(canvas, makecol(0, 0, 255));
    draw_text(0, 0, "I", 0, 0);
    EXPECT_EQ(getpixel(canvas, 7, 7), makecol(0, 0, 255)) << "glyph cell corner stays";
}

TEST_F(drawing_kit, boxes_cover_exactly_w_by_h) {
    draw_box(5, 6, 1, 1, 0);
    draw_box(9, 9, 1, 1, 1);
    EXPECT_EQ(getpixel(canvas, 5, 6), makecol(255, 255, 255));
    EXPECT_EQ(getpixel(canvas, 9, 9), makecol(255, 255, 255));
    EXPECT_EQ(getpixel(canvas, 6, 6), makecol(0, 0, 0));
    EXPECT_EQ(getpixel(canvas, 10, 9), makecol(0, 0, 0));

    for (int filled : {0, -1}) {
        clear_to_color(canvas, makecol(0, 0, 0));
        draw_box(20, 20, 10, 5, filled);
        EXPECT_EQ(getpixel(canvas, 20, 20), makecol(255, 255, 255));
        EXPECT_EQ(getpixel(canvas, 29, 24), makecol(255, 255, 255));
        EXPECT_EQ(getpixel(canvas, 30, 24), makecol(0, 0, 0));
        EXPECT_EQ(getpixel(canvas, 29, 25), makecol(0, 0, 0));
        EXPECT_EQ(getpixel(canvas, 25, 22), makecol(0, 0, 0)) << "outline only, filled=" << filled;
    }
    clear_to_color(canvas, makecol(0, 0, 0));
    draw_box(20, 20, 10, 5, 2);
    EXPECT_EQ(getpixel(canvas, 25, 22), makecol(255, 255, 255));
}

TEST_F(drawing_kit, lines_include_both_ends) {
    draw_line(3, 3, 3, 8);
    EXPECT_EQ(getpixel(canvas, 3, 3), makecol(255, 255, 255));
    EXPECT_EQ(getpixel(canvas, 3, 8), makecol(255, 255, 255));
    EXPECT_EQ(getpixel(canvas, 3, 9), makecol(0, 0, 0));
    EXPECT_EQ(getpixel(canvas, 3, 2), makecol(0, 0, 0));
}

TEST_F(drawing_kit, images_copy_every_pixel_and_clip_at_negative_x) {
    BITMAP* picture = create_bitmap(50, 20);
    clear_to_color(picture, makecol(255, 0, 255));  // mask colour is copied too
    putpixel(picture, 30, 0, makecol(0, 255, 0));
    draw_image(picture, -30, 0);
    EXPECT_EQ(getpixel(canvas, 0, 0), makecol(0, 255, 0));
    EXPECT_EQ(getpixel(canvas, 19, 19), makecol(255, 0, 255));
    EXPECT_EQ(getpixel(canvas, 20, 0), makecol(0, 0, 0));
    destroy_bitmap(picture);
}

TEST_F(drawing_kit, present_copies_the_back_buffer_and_keeps_the_target) {
    clear_to_color(back_buffer, makecol(12, 200, 40));
    putpixel(back_buffer, 799, 599, makecol(255, 255, 255));
    set_draw_target(label_bitmap);
    present_frame();
    EXPECT_EQ(draw_target, label_bitmap);
    EXPECT_EQ(getpixel(fake().screen, 0, 0), makecol(12, 200, 40));
    EXPECT_EQ(getpixel(fake().screen, 799, 599), makecol(255, 255, 255));
    EXPECT_EQ(fake().presents, 1);
}

}  // namespace

// The drawing kit: centred texts, boxes and panels. Texts of odd width are
// centred in the whole frames of game_frame_test.
#include "game_test_support.h"

namespace {

class drawing_kit : public game_test {
   protected:
    void SetUp() override {
        game_test::SetUp();
        clear_to_color(back_buffer, 0);
        set_draw_font(font);
        set_draw_color(255, 255, 255);
    }
};

// "IIIII" is 40 by 8: centred on (400, 300) by any non-zero flags it is
// the text drawn at (380, 296), here repeated 20 rows lower.
TEST_F(drawing_kit, centred_text_starts_half_its_size_up_and_left) {
    draw_text(400, 300, "IIIII", 1, 7);
    draw_text(380, 316, "IIIII", 0, 0);
    for (int y = 286; y < 306; ++y) {
        EXPECT_EQ(std::memcmp(back_buffer->line[y], back_buffer->line[y + 20], 1600), 0) << y;
    }
}

// A 10 by 5 box at (20, 20), an outline of 26 pixels for filled 0 and
// below, and a 1 by 1 box at (5, 6).
TEST_F(drawing_kit, boxes_cover_exactly_w_by_h) {
    for (int filled : {0, -1, 1}) {
        clear_to_color(back_buffer, 0);
        draw_box(20, 20, 10, 5, filled);
        draw_box(5, 6, 1, 1, filled);
        int lit = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                lit += getpixel(back_buffer, x, y) != 0;
            }
        }
        EXPECT_EQ(lit, filled > 0 ? 51 : 27) << filled;
        EXPECT_TRUE(getpixel(back_buffer, 20, 20) && getpixel(back_buffer, 29, 24) &&
                    getpixel(back_buffer, 5, 6));
    }
}

TEST_F(drawing_kit, a_panel_is_dark_grey_in_a_white_outline) {
    draw_panel(20, 20, 10, 5);
    EXPECT_TRUE(getpixel(back_buffer, 20, 20) == makecol(255, 255, 255) &&
                getpixel(back_buffer, 29, 24) == makecol(255, 255, 255) &&
                getpixel(back_buffer, 21, 21) == makecol(32, 32, 32) &&
                draw_color == makecol(255, 255, 255));
}

}  // namespace

#include <gtest/gtest.h>

#include <allegro.h>

#include <string>

#include "guide_screen.h"
#include "high_scores.h"
#include "menu_test_support.h"

namespace {

using strings = std::vector<std::string>;

class guide_page : public screen_test {};

// With the built-in 8x8 font every text of the page covers a known box;
// ink may only appear in those boxes and on the double frame.
TEST_F(guide_page, shows_every_line_at_its_place_in_black_on_white) {
    fake().hold_only({KEY_ENTER});
    show_guide();
    BITMAP* s = fake().screen;
    const int black = makecol(0, 0, 0);
    const int white = makecol(255, 255, 255);
    struct box {
        int x, y, len;
    };
    const box lines[] = {{30, 80, 27},  {45, 140, 19}, {45, 180, 89}, {44, 200, 76}, {45, 220, 85},
                         {44, 240, 35}, {45, 260, 24}, {45, 320, 16}, {45, 360, 68}, {45, 380, 70},
                         {45, 400, 34}, {45, 420, 88}, {44, 440, 45}, {45, 460, 90}, {44, 480, 60},
                         {45, 500, 44}, {45, 540, 6}};
    auto on_frame = [](int x, int y) {
        const bool outer = (x >= 30 && x <= 769 && (y == 120 || y == 569)) ||
                           (y >= 120 && y <= 569 && (x == 30 || x == 769));
        const bool inner = (x >= 31 && x <= 768 && (y == 121 || y == 568)) ||
                           (y >= 121 && y <= 568 && (x == 31 || x == 768));
        return outer || inner;
    };
    int stray = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const int c = getpixel(s, x, y);
            if (on_frame(x, y)) {
                ASSERT_EQ(c, black) << x << "," << y;
                continue;
            }
            bool in_text = false;
            for (const box& b : lines) {
                in_text |= x >= b.x && x < b.x + 8 * b.len && y >= b.y && y < b.y + 8;
            }
            if (!in_text) {
                stray += c != white ? 1 : 0;
            } else {
                ASSERT_TRUE(c == white || c == black) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(stray, 0);
    // Each line has ink: its first glyph (never a space) and, for the four
    // indented continuation lines, nothing in the four leading spaces.
    for (const box& b : lines) {
        const bool indented = b.x == 44;
        int ink_first = 0, ink_indent = 0;
        for (int y = b.y; y < b.y + 8; ++y) {
            for (int x = b.x; x < b.x + 32; ++x) {
                (x < b.x + 8 ? ink_first : ink_indent) += getpixel(s, x, y) == black ? 1 : 0;
            }
        }
        if (indented) {
            EXPECT_EQ(ink_first, 0) << "line at y " << b.y;
        } else {
            EXPECT_GT(ink_first, 0) << "line at y " << b.y;
        }
    }
    EXPECT_EQ(sounds_and_rests(), (strings{"rest 500"}));
}

TEST_F(guide_page, stays_up_until_enter) {
    fake().hold_only({KEY_ESC, KEY_SPACE, KEY_1});
    EXPECT_THROW(show_guide(), script_exhausted);
    EXPECT_TRUE(fake().rests.empty());
}

class high_score_table : public screen_test {
   protected:
    void SetUp() override {
        screen_test::SetUp();
        decode_high_scores(nullptr, 0);
    }
    void TearDown() override {
        decode_high_scores(nullptr, 0);
        screen_test::TearDown();
    }
};

TEST_F(high_score_table, a_score_must_beat_the_lowest_entry) {
    EXPECT_FALSE(is_high_score(1000));
    EXPECT_TRUE(is_high_score(1001));
    EXPECT_FALSE(is_high_score(0));
    EXPECT_FALSE(is_high_score(-5));
}

TEST_F(high_score_table, screen_shows_five_rows_of_names_and_padded_scores) {
    fake().hold_only({KEY_ENTER});
    show_high_scores();
    // Draw what the rows should be onto the same background and compare the
    // whole frame.
    BITMAP* want = create_bitmap(800, 600);
    clear_to_color(want, makecol(test_colors::highscore[0], test_colors::highscore[1],
                                 test_colors::highscore[2]));
    const char* scores[5] = {"016000", "008000", "004000", "002000", "001000"};
    const int rows[5] = {160, 230, 300, 370, 440};
    for (int i = 0; i < 5; ++i) {
        textout_ex(want, font, "HALBREK", 150, rows[i], makecol(255, 255, 255), -1);
        textout_ex(want, font, scores[i], 550, rows[i], makecol(255, 255, 255), -1);
    }
    int differing = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            differing += getpixel(want, x, y) != getpixel(fake().screen, x, y) ? 1 : 0;
        }
    }
    destroy_bitmap(want);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(sounds_and_rests(), (strings{"rest 500"}));
}

TEST_F(high_score_table, screen_stays_up_until_enter) {
    fake().hold_only({KEY_ESC, KEY_SPACE});
    EXPECT_THROW(show_high_scores(), script_exhausted);
}

}  // namespace

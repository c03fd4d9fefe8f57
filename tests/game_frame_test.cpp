// Game frames composed on a memory bitmap from set game states, read at the
// pixels that matter: canister, cockpit, lamp, gauges, score, answer, beam,
// level banner and next-level prompt.

#include <string>
#include <vector>

#include "game_frame.h"
#include "game_test_support.h"

namespace {

constexpr int label_rgb[3] = {250, 130, 10};
constexpr int cockpit_rgb[3] = {70, 70, 70};
constexpr int strip_lead_rgb[3] = {255, 255, 255};

int digit_color(int d) {
    return makecol(30 + 20 * d, 220 - 15 * d, 40);
}

// The built-in font moved down by 16 codes: its digits draw the glyphs of
// '@' to 'I'. A frame thus shows which of the two fonts drew an answer.
FONT* make_shifted_font() {
    FONT* f = extract_font_range(font, ' ', 127);
    transpose_font(f, -16);
    return f;
}

class game_frame_test : public game_test {
   protected:
    void SetUp() override {
        game_test::SetUp();
        saved_cockpit = cockpit_overlay;
        saved_strip = score_digit_strip;
        saved_answer_font = font_answer;
        static BITMAP* cockpit = make_cockpit();
        static BITMAP* strip = make_strip();
        static FONT* shifted = make_shifted_font();
        cockpit_overlay = cockpit;
        score_digit_strip = strip;
        font_answer = shifted;
        make_label();
        set_scene();
    }
    void TearDown() override {
        cockpit_overlay = saved_cockpit;
        score_digit_strip = saved_strip;
        font_answer = saved_answer_font;
        game_test::TearDown();
    }

    // Transparent but for a block that lands at (700..799, 300..399).
    static BITMAP* make_cockpit() {
        BITMAP* b = create_bitmap(800, 300);
        clear_to_color(b, bitmap_mask_color(b));
        rectfill(b, 700, 0, 799, 99, makecol(cockpit_rgb[0], cockpit_rgb[1], cockpit_rgb[2]));
        return b;
    }
    // Each cell: 40 columns of its digit's colour, then 8 transparent ones;
    // the 5 columns before the first cell are white and must never show.
    static BITMAP* make_strip() {
        BITMAP* b = create_bitmap(490, 32);
        clear_to_color(b, bitmap_mask_color(b));
        rectfill(b, 0, 0, 4, 31, makecol(strip_lead_rgb[0], strip_lead_rgb[1], strip_lead_rgb[2]));
        for (int d = 0; d < 10; ++d) {
            rectfill(b, 48 * d + 5, 0, 48 * d + 44, 31, digit_color(d));
        }
        return b;
    }
    // The label's left half is mask colour.
    static void make_label() {
        clear_to_color(label_bitmap, makecol(label_rgb[0], label_rgb[1], label_rgb[2]));
        rectfill(label_bitmap, 0, 0, 139, 199, bitmap_mask_color(label_bitmap));
    }

    // A quiet mid-level state: no banner, no prompt, no beam, the answer
    // empty, a canister at depth 1000 in the centre lane.
    static void set_scene() {
        level = 3;
        fuel = 30;
        fuel_pending = 0;
        phase = 200;
        view_offset_y = -20;
        score = 0;
        problem.operand_a = 12;
        problem.operand_b = 7;
        canister_x_offset = 0;
        canister_y = 300;
        canister_scale = 100.0;
        answer_timer = 0;
        answer_state = 0;
        typed_answer[0] = '\0';
    }

    static int label_color() { return makecol(label_rgb[0], label_rgb[1], label_rgb[2]); }
    static int scenery_color() { return makecol(60, 100, 195); }  // level 3's picture

    static int count_color(int color, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                n += getpixel(back_buffer, x, y) == color ? 1 : 0;
            }
        }
        return n;
    }

    // True when the text shows in that colour at that place and the colour
    // appears nowhere else within a margin of 30 pixels around it.
    static ::testing::AssertionResult text_at(FONT* f, const char* text, int x, int y, int color) {
        const auto pixels = glyph_pixels(f, text, x, y);
        if (pixels.empty()) {
            return ::testing::AssertionFailure() << "nothing to draw";
        }
        for (const auto& p : pixels) {
            if (getpixel(back_buffer, p.first, p.second) != color) {
                return ::testing::AssertionFailure()
                       << "pixel " << p.first << "," << p.second << " of \"" << text << "\"";
            }
        }
        const int w = text_length(f, text);
        const int h = text_height(f);
        const int around = count_color(color, x - 30, y - 30, x + w + 30, y + h + 30);
        if (around != static_cast<int>(pixels.size())) {
            return ::testing::AssertionFailure()
                   << around << " pixels of the colour near the text, " << pixels.size()
                   << " expected";
        }
        return ::testing::AssertionSuccess();
    }

    // Rows of a column drawn in the given colour, between rows 340 and 460.
    static std::vector<int> rows_in(int x, int color) {
        std::vector<int> rows;
        for (int y = 340; y <= 460; ++y) {
            if (getpixel(back_buffer, x, y) == color) {
                rows.push_back(y);
            }
        }
        return rows;
    }
    static std::vector<int> rows(std::initializer_list<std::pair<int, int>> ranges) {
        std::vector<int> out;
        for (const auto& r : ranges) {
            for (int y = r.first; y <= r.second; ++y) {
                out.push_back(y);
            }
        }
        return out;
    }

    BITMAP* saved_cockpit = nullptr;
    BITMAP* saved_strip = nullptr;
    FONT* saved_answer_font = nullptr;
};

TEST_F(game_frame_test, the_frame_is_composed_on_back_buffer_and_presented) {
    fake().hold_only({});
    draw_game_frame();
    EXPECT_EQ(fake().presents, 1);
    EXPECT_EQ(draw_target, back_buffer);
    int differing = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            differing += getpixel(back_buffer, x, y) != getpixel(fake().screen, x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    // The scenery covers the buffer: plain picture away from everything else.
    EXPECT_TRUE(pixel_is(back_buffer, 10, 150, 60, 100, 195));
    EXPECT_TRUE(pixel_is(back_buffer, 790, 590, 60, 100, 195));
}

TEST_F(game_frame_test, the_scenery_moves_with_the_view_offset) {
    // A picture with a marked row shows it view_offset_y rows higher.
    BITMAP* saved = level_background[3];
    BITMAP* marked = create_bitmap(800, 680);
    clear_to_color(marked, makecol(60, 100, 195));
    hline(marked, 0, 100, 799, makecol(0, 255, 0));
    level_background[3] = marked;
    view_offset_y = -37;
    draw_game_frame();
    level_background[3] = saved;
    destroy_bitmap(marked);
    EXPECT_TRUE(pixel_is(back_buffer, 20, 63, 0, 255, 0));
    EXPECT_FALSE(pixel_is(back_buffer, 20, 64, 0, 255, 0));
    EXPECT_FALSE(pixel_is(back_buffer, 20, 100, 0, 255, 0));
}

TEST_F(game_frame_test, lamp_colour_follows_the_fuel_table) {
    struct case_t {
        int fuel, r, g, b;
    } cases[] = {
        {-1, 192, 32, 32},  {9, 192, 32, 32},     {10, 160, 64, 32},  {26, 160, 64, 32},
        {27, 160, 128, 32}, {43, 160, 128, 32},   {44, 160, 192, 32}, {59, 160, 192, 32},
        {60, 32, 160, 32},  {150, 255, 255, 255},
    };
    for (const case_t& c : cases) {
        fuel = c.fuel;
        draw_game_frame();
        EXPECT_TRUE(pixel_is(back_buffer, 150, 478, c.r, c.g, c.b)) << "fuel " << c.fuel;
        EXPECT_TRUE(pixel_is(back_buffer, 101, 464, c.r, c.g, c.b)) << "fuel " << c.fuel;
        EXPECT_TRUE(pixel_is(back_buffer, 198, 491, c.r, c.g, c.b)) << "fuel " << c.fuel;
        // White outline round the 100 by 30 box, scenery beyond it.
        EXPECT_TRUE(pixel_is(back_buffer, 100, 463, 255, 255, 255));
        EXPECT_TRUE(pixel_is(back_buffer, 199, 492, 255, 255, 255));
        EXPECT_TRUE(pixel_is(back_buffer, 150, 463, 255, 255, 255));
        EXPECT_EQ(getpixel(back_buffer, 200, 478), scenery_color());
        EXPECT_EQ(getpixel(back_buffer, 150, 493), scenery_color());
    }
}

TEST_F(game_frame_test, gauge_chambers_fill_from_the_bottom) {
    // Column 160 is shade 20 of the body: (132, 222, 132).
    const int shade = makecol(132, 222, 132);
    struct case_t {
        int fuel;
        std::vector<int> rows;
    } cases[] = {
        {-1, rows({{431, 437}})},
        {0, rows({{430, 437}})},
        {19, rows({{411, 437}})},
        {20, rows({{410, 437}})},
        {21, rows({{401, 402}, {410, 437}})},
        {59, rows({{363, 402}, {410, 437}})},
        {60, rows({{362, 402}, {410, 437}})},
        {150, rows({{362, 402}, {410, 437}})},
    };
    for (const case_t& c : cases) {
        fuel = c.fuel;
        draw_game_frame();
        EXPECT_EQ(rows_in(160, shade), c.rows) << "left gauge, fuel " << c.fuel;
        EXPECT_EQ(rows_in(640, shade), c.rows) << "right gauge, fuel " << c.fuel;
    }
}

TEST_F(game_frame_test, a_tank_far_below_empty_keeps_the_chamber_in_its_gauge) {
    fuel = -30;
    draw_game_frame();
    EXPECT_EQ(rows_in(160, makecol(132, 222, 132)), rows({{437, 437}}));
    EXPECT_TRUE(pixel_is(back_buffer, 160, 438, 60, 100, 195));
}

TEST_F(game_frame_test, gauge_feet_and_shade_are_drawn_whatever_the_fuel) {
    const int left_foot = makecol(32, 192, 32);
    const int right_foot = makecol(227, 250, 227);
    for (int f : {-1, 30, 60}) {
        fuel = f;
        draw_game_frame();
        for (int shift : {0, 480}) {
            for (int i = 0; i < 5; ++i) {
                const int height = 2 * i + 1;
                EXPECT_EQ(rows_in(135 + i + shift, left_foot), rows({{438 - height, 437}}))
                    << "left foot column " << 135 + i + shift;
                EXPECT_EQ(rows_in(184 - i + shift, right_foot), rows({{438 - height, 437}}))
                    << "right foot column " << 184 - i + shift;
            }
            // The body runs from (32,192,32) at its left to (227,250,227).
            EXPECT_TRUE(pixel_is(back_buffer, 140 + shift, 437, 32, 192, 32));
            // 192 + 1.5 x 5 is truncated to 199, not rounded to 200.
            EXPECT_TRUE(pixel_is(back_buffer, 145 + shift, 437, 57, 199, 57));
            EXPECT_TRUE(pixel_is(back_buffer, 179 + shift, 437, 227, 250, 227));
            // Rows 403 to 409 are the gap between the chambers.
            EXPECT_TRUE(pixel_is(back_buffer, 150 + shift, 405, 60, 100, 195));
        }
    }
}

TEST_F(game_frame_test, canister_is_hidden_by_a_tank_that_is_or_will_be_full) {
    struct case_t {
        int fuel, pending;
        bool shown;
    } cases[] = {{59, 0, true}, {50, 10, false}, {50, 9, true}, {60, 0, false}, {60, -15, true}};
    for (const case_t& c : cases) {
        fuel = c.fuel;
        fuel_pending = c.pending;
        draw_game_frame();
        EXPECT_EQ(pixel_is(back_buffer, 450, 400, label_rgb[0], label_rgb[1], label_rgb[2]),
                  c.shown)
            << "fuel " << c.fuel << " pending " << c.pending;
    }
}

TEST_F(game_frame_test, a_near_canister_shows_the_label_at_its_own_size_with_mask_see_through) {
    draw_game_frame();
    // Opaque half: x 400..539, y 300..499.
    EXPECT_EQ(count_color(label_color(), 250, 280, 560, 520), 140 * 200);
    EXPECT_EQ(getpixel(back_buffer, 400, 300), label_color());
    EXPECT_EQ(getpixel(back_buffer, 539, 499), label_color());
    EXPECT_NE(getpixel(back_buffer, 540, 499), label_color());
    EXPECT_NE(getpixel(back_buffer, 539, 500), label_color());
    // The mask half leaves the scenery.
    EXPECT_EQ(getpixel(back_buffer, 300, 400), scenery_color());
}

TEST_F(game_frame_test, a_far_canister_is_stretched_small_and_placed_by_its_lane) {
    canister_x_offset = 30;
    canister_y = 133;
    canister_scale = 100000.0 / 6000;
    make_label();
    clear_to_color(label_bitmap, label_color());  // opaque all over
    draw_game_frame();
    // x = trunc(430 - 23.33) = 406, 46 wide, 33 high.
    EXPECT_EQ(count_color(label_color(), 380, 110, 480, 200), 46 * 33);
    EXPECT_EQ(getpixel(back_buffer, 406, 133), label_color());
    EXPECT_EQ(getpixel(back_buffer, 451, 165), label_color());
    EXPECT_NE(getpixel(back_buffer, 405, 133), label_color());
    EXPECT_NE(getpixel(back_buffer, 452, 165), label_color());
    EXPECT_NE(getpixel(back_buffer, 406, 166), label_color());
    EXPECT_NE(getpixel(back_buffer, 406, 132), label_color());
}

TEST_F(game_frame_test, rails_lie_under_the_canister_and_the_cockpit) {
    // Left lane at depth 1000: the opaque half covers x 220..359, y 300..499,
    // over the left rail's rows 300 to 399; the rail stays tinted only
    // where the label is transparent.
    canister_x_offset = -180;
    clear_to_color(label_bitmap, label_color());
    rectfill(label_bitmap, 0, 0, 99, 199, bitmap_mask_color(label_bitmap));
    draw_game_frame();
    EXPECT_EQ(getpixel(back_buffer, 200, 300), label_color());    // left rail, row 300
    EXPECT_NE(getpixel(back_buffer, 150, 350), scenery_color());  // rail under the mask part
    EXPECT_NE(getpixel(back_buffer, 150, 350), label_color());
    // The cockpit's opaque block covers the right rail at (705, 399).
    EXPECT_TRUE(pixel_is(back_buffer, 705, 399, cockpit_rgb[0], cockpit_rgb[1], cockpit_rgb[2]));
    EXPECT_TRUE(pixel_is(back_buffer, 700, 300, cockpit_rgb[0], cockpit_rgb[1], cockpit_rgb[2]));
    EXPECT_FALSE(pixel_is(back_buffer, 699, 300, cockpit_rgb[0], cockpit_rgb[1], cockpit_rgb[2]));
    EXPECT_FALSE(pixel_is(back_buffer, 700, 400, cockpit_rgb[0], cockpit_rgb[1], cockpit_rgb[2]));
}

TEST_F(game_frame_test, an_unplaced_canister_draws_nothing) {
    canister_scale = 0.0;
    canister_y = 0;
    draw_game_frame();
    EXPECT_EQ(count_color(label_color(), 0, 0, 799, 599), 0);
}

TEST_F(game_frame_test, cockpit_readouts_and_level_box) {
    draw_game_frame();
    // "12" and "7" in the 8x8 readout font, centred at (160,576) and (640,576).
    EXPECT_TRUE(text_at(font, "12", 152, 572, makecol(255, 255, 255)));
    EXPECT_TRUE(text_at(font, "7", 636, 572, makecol(255, 255, 255)));
    // Level box: green fill, white outline, "Level 3" centred at (640,478).
    EXPECT_TRUE(pixel_is(back_buffer, 595, 466, 0, 128, 64));
    EXPECT_TRUE(pixel_is(back_buffer, 590, 463, 255, 255, 255));
    EXPECT_TRUE(pixel_is(back_buffer, 689, 492, 255, 255, 255));
    EXPECT_EQ(getpixel(back_buffer, 690, 478), scenery_color());
    // Inside the outline, the only white is the text.
    const auto text = glyph_pixels(font, "Level 3", 612, 474);
    for (const auto& p : text) {
        EXPECT_TRUE(pixel_is(back_buffer, p.first, p.second, 255, 255, 255));
    }
    EXPECT_EQ(count_color(makecol(255, 255, 255), 591, 464, 688, 491),
              static_cast<int>(text.size()));
}

TEST_F(game_frame_test, score_shows_six_digits_from_the_strip) {
    struct case_t {
        int score;
        int digits[6];
    } cases[] = {
        {0, {0, 0, 0, 0, 0, 0}},
        {123456, {1, 2, 3, 4, 5, 6}},
        {90807, {0, 9, 0, 8, 0, 7}},
        // Beyond six digits the display stops at its largest number.
        {1234567, {9, 9, 9, 9, 9, 9}},
    };
    for (const case_t& c : cases) {
        score = c.score;
        draw_game_frame();
        for (int i = 0; i < 6; ++i) {
            const int x = 20 + 40 * i;
            EXPECT_EQ(getpixel(back_buffer, x, 20), digit_color(c.digits[i]))
                << c.score << " " << i;
            EXPECT_EQ(getpixel(back_buffer, x + 39, 51), digit_color(c.digits[i]))
                << c.score << " " << i;
        }
        // The last cell's transparent columns show the scenery; nothing of
        // the strip shows above row 20, below row 51 or left of x = 20.
        EXPECT_EQ(getpixel(back_buffer, 260, 30), scenery_color());
        EXPECT_EQ(getpixel(back_buffer, 267, 30), scenery_color());
        EXPECT_EQ(getpixel(back_buffer, 30, 19), scenery_color());
        EXPECT_EQ(getpixel(back_buffer, 30, 52), scenery_color());
        EXPECT_EQ(getpixel(back_buffer, 19, 30), scenery_color());
        EXPECT_EQ(count_color(makecol(255, 255, 255), 0, 0, 799, 99), 0);
    }
}

TEST_F(game_frame_test, answer_rises_switches_font_and_fades) {
    std::strcpy(typed_answer, "12");
    answer_state = 2;
    struct case_t {
        int timer;
        bool resting;
        int grey;
    } cases[] = {
        {0, false, 255},
        {176, false, 255},
        {179, false, 255},
        {180, true, 255},
        {220, true, 255},
        {224, true, 248},
        {240, true, 216},
        {300, true, 96},
        // After Space the timer holds 9999: the grey stops at black.
        {9999, true, 0},
    };
    FONT* shifted = font_answer;
    for (const case_t& c : cases) {
        answer_timer = c.timer;
        draw_game_frame();
        const int color = makecol(c.grey, c.grey, c.grey);
        if (c.resting) {
            // In the answer font, centred at (400,396).
            EXPECT_TRUE(text_at(shifted, "12", 392, 392, color)) << "timer " << c.timer;
        } else {
            EXPECT_TRUE(text_at(font, "12", 392, 572 - c.timer, color)) << "timer " << c.timer;
        }
    }
}

TEST_F(game_frame_test, beam_strikes_the_canister_only_from_221_to_239) {
    const int beam = makecol(255, 192, 64);
    // A hidden canister does not stop the beam.
    fuel = 60;
    canister_x_offset = -30;
    canister_y = 133;
    canister_scale = 100000.0 / 6000;
    for (int timer : {220, 221, 230, 239, 240}) {
        answer_timer = timer;
        draw_game_frame();
        const bool on = timer >= 221 && timer <= 239;
        EXPECT_EQ(beam_x, 370);
        EXPECT_EQ(beam_y, 159);  // trunc(133 + 26.67)
        // Five lines side by side at row 340, meeting at (377, 159).
        for (int x = 398; x <= 402; ++x) {
            EXPECT_EQ(getpixel(back_buffer, x, 340) == beam, on) << "timer " << timer << " x " << x;
        }
        EXPECT_NE(getpixel(back_buffer, 397, 340), beam);
        EXPECT_NE(getpixel(back_buffer, 403, 340), beam);
        EXPECT_EQ(getpixel(back_buffer, 377, 159) == beam, on) << "timer " << timer;
        EXPECT_EQ(count_color(beam, 0, 341, 799, 599), 0);
        EXPECT_EQ(count_color(beam, 0, 0, 799, 158), 0);
    }
}

TEST_F(game_frame_test, level_banner_shows_for_the_first_75_ticks) {
    const int red = makecol(255, 96, 96);
    // "Level 3" is 56 by 8: centred at (400,200) its top left is (372,196).
    phase = 148;
    draw_game_frame();
    EXPECT_TRUE(text_at(font, "Level 3", 372, 196, red));
    // The black copy lies 3 pixels up and left, under the red one.
    for (const auto& p : glyph_pixels(font, "Level 3", 369, 193)) {
        const int c = getpixel(back_buffer, p.first, p.second);
        EXPECT_TRUE(c == makecol(0, 0, 0) || c == red) << p.first << "," << p.second;
    }
    phase = 150;
    draw_game_frame();
    EXPECT_EQ(count_color(red, 0, 0, 799, 599), 0);
    EXPECT_EQ(count_color(makecol(0, 0, 0), 300, 150, 500, 250), 0);
}

TEST_F(game_frame_test, next_level_prompt_blinks_while_the_tank_is_exactly_full) {
    const char* prompt = "GREAT! PRESS \"SPACE\" TO NEXT LEVEL";
    ASSERT_EQ(std::strlen(prompt), 34u);
    const int white = makecol(255, 255, 255);
    struct case_t {
        int fuel, phase;
        bool shown;
    } cases[] = {
        {60, 209, true}, {60, 210, false}, {60, 279, false},
        {60, 280, true}, {59, 280, false}, {150, 280, false},
    };
    for (const case_t& c : cases) {
        fuel = c.fuel;
        phase = c.phase;
        draw_game_frame();
        // 272 by 8, centred at (400,200): top left (264,196).
        if (c.shown) {
            EXPECT_TRUE(text_at(font, prompt, 264, 196, white)) << c.fuel << " " << c.phase;
            EXPECT_GT(count_color(makecol(0, 0, 0), 261, 193, 532, 200), 0);
        } else {
            EXPECT_EQ(count_color(white, 230, 160, 570, 240), 0) << c.fuel << " " << c.phase;
        }
    }
}

TEST_F(game_frame_test, the_level_banner_covers_the_prompt) {
    fuel = 60;
    phase = 0;
    draw_game_frame();
    EXPECT_TRUE(text_at(font, "Level 3", 372, 196, makecol(255, 96, 96)));
    EXPECT_GT(count_color(makecol(255, 255, 255), 264, 196, 535, 203), 0);
}

TEST_F(game_frame_test, the_frame_after_space_shows_a_full_gauge_and_nothing_to_shoot) {
    fuel = level_left_fuel;
    answer_timer = level_left_timer;
    std::strcpy(typed_answer, "5");
    draw_game_frame();
    EXPECT_TRUE(pixel_is(back_buffer, 150, 478, 255, 255, 255));
    EXPECT_EQ(rows_in(160, makecol(132, 222, 132)), rows({{362, 402}, {410, 437}}));
    EXPECT_EQ(count_color(label_color(), 0, 0, 799, 599), 0);
    EXPECT_EQ(count_color(makecol(255, 255, 255), 230, 160, 570, 240), 0);
}

}  // namespace

// Game frames from set game states: the pixels that matter on the synthetic
// catalogue, and whole frames with the game's own pictures against the
// library's calls made one by one in the frame's order.

#include <unistd.h>

#include <algorithm>
#include <string>

#include "game_frame.h"
#include "game_test_support.h"
#include "rail_effect.h"

namespace {

void centred(BITMAP* b, FONT* f, const std::string& t, int x, int y, int c) {
    textout_ex(b, f, t.c_str(), x - text_length(f, t.c_str()) / 2, y - text_height(f) / 2, c, -1);
}

// The frame drawn with the library's own calls, in the order they are made.
void reference_frame(BITMAP* b) {
    blit(level_background[level], b, 0, 0, 0, view_offset_y, 800, level_background[level]->h);
    for (int y = 101; y <= 399; ++y) {
        const int w = 400 - y;
        const int s = (200000 / (y - 100) - canister_distance + 1000000) / 200 % 2 ? 255 : 127;
        for (int x = 500 - (26 * y + 24) / 25; x <= 300 + 26 * y / 25; ++x) {
            const int c = getpixel(b, x, y);
            if (x <= 500 - y || x >= 300 + y) {  // not the track between the rails
                line(b, x, y, x, y,
                     makecol((getr(c) * w + s * (300 - w)) / 300, getg(c) * w / 300,
                             getb(c) * w / 300));
            }
        }
    }
    const double s = canister_scale;
    if (fuel + fuel_pending < 60) {
        masked_stretch_blit(label_bitmap, b, 0, 0, 280, 200,
                            static_cast<int>(400 + canister_x_offset - 1.4 * s), canister_y,
                            static_cast<int>(2.8 * s), static_cast<int>(s + s));
    }
    masked_blit(cockpit_overlay, b, 0, 0, 0, 300, cockpit_overlay->w, cockpit_overlay->h);
    const int white = makecol(255, 255, 255);
    centred(b, font_readout, std::to_string(problem.operand_a), 160, 576, white);
    centred(b, font_readout, std::to_string(problem.operand_b), 640, 576, white);
    const int lamp = fuel < 10    ? makecol(192, 32, 32)
                     : fuel <= 26 ? makecol(160, 64, 32)
                     : fuel <= 43 ? makecol(160, 128, 32)
                     : fuel <= 59 ? makecol(160, 192, 32)
                     : fuel == 60 ? makecol(32, 160, 32)
                                  : white;
    rectfill(b, 100, 463, 199, 492, lamp);
    rect(b, 100, 463, 199, 492, white);
    rectfill(b, 590, 463, 689, 492, makecol(0, 128, 64));
    rect(b, 590, 463, 689, 492, white);
    const std::string level_text = "Level " + std::to_string(level);
    centred(b, font_panel, level_text, 640, 478, white);
    for (int shift : {0, 480}) {
        for (int i = 135; i <= 139; ++i) {
            line(b, i + shift, 707 - 2 * i, i + shift, 437, makecol(32, 192, 32));
            line(b, 319 - i + shift, 707 - 2 * i, 319 - i + shift, 437, makecol(227, 250, 227));
        }
        for (int x = 140 + shift; x <= 179 + shift; ++x) {
            const int k = x - 140 - shift;
            const int c = makecol(32 + 5 * k, 192 + static_cast<int>(1.5 * k), 32 + 5 * k);
            line(b, x, fuel >= 20 ? 410 : 430 - fuel, x, 437, c);
            if (fuel > 20) {
                line(b, x, fuel < 60 ? 422 - fuel : 362, x, 402, c);
            }
        }
    }
    if (fuel == 60 && phase % 140 < 70) {
        centred(b, font_readout, "GREAT! PRESS \"SPACE\" TO NEXT LEVEL", 397, 197,
                makecol(0, 0, 0));
        centred(b, font_readout, "GREAT! PRESS \"SPACE\" TO NEXT LEVEL", 400, 200, white);
    }
    for (int i = 0, d = 100000; i < 6; ++i, d /= 10) {
        masked_blit(score_digit_strip, b, 48 * (score / d % 10) + 5, 0, 20 + 40 * i, 20, 48, 32);
    }
    for (int x0 : {400, 401, 399, 398, 402}) {
        if (answer_timer >= 221 && answer_timer <= 239) {
            line(b, x0, 340, 407 + canister_x_offset,
                 static_cast<int>(canister_y + 1.6 * canister_scale), makecol(255, 192, 64));
        }
    }
    const int g = answer_timer >= 220 ? std::min(255, 696 - 2 * answer_timer) : 255;
    centred(b, answer_timer < 180 ? font_readout : font_answer, typed_answer, 400,
            answer_timer < 180 ? 576 - answer_timer : 396, makecol(g, g, g));
    if (phase < 150) {
        centred(b, font_banner, level_text, 397, 197, makecol(0, 0, 0));
        centred(b, font_banner, level_text, 400, 200, makecol(255, 96, 96));
    }
}

class game_frame_test : public game_test {
   protected:
    void TearDown() override {
        set_color_depth(16);
        install_test_assets();
        game_test::TearDown();
    }
};

// Lamp, gauge and canister by the fuel: the lamp's colour, the rows of the
// gauges' column shade 20 (132, 222, 132) in the lower chamber, ending at
// 437, and the upper one, ending at 402 (none when 0), and whether the
// canister shows. Below an empty tank the lower chamber runs on down.
TEST_F(game_frame_test, lamp_gauges_and_canister_by_the_fuel) {
    const int cases[][8] = {
        {-8, 0, 192, 32, 32, 438, 0, 1},     {-1, 0, 192, 32, 32, 431, 0, 1},
        {9, 0, 192, 32, 32, 421, 0, 1},      {10, 0, 160, 64, 32, 420, 0, 1},
        {19, 0, 160, 64, 32, 411, 0, 1},     {20, 0, 160, 64, 32, 410, 0, 1},
        {21, 0, 160, 64, 32, 410, 401, 1},   {26, 0, 160, 64, 32, 410, 396, 1},
        {27, 0, 160, 128, 32, 410, 395, 1},  {43, 0, 160, 128, 32, 410, 379, 1},
        {44, 0, 160, 192, 32, 410, 378, 1},  {50, 9, 160, 192, 32, 410, 372, 1},
        {50, 10, 160, 192, 32, 410, 372, 0}, {59, 0, 160, 192, 32, 410, 363, 1},
        {60, 0, 32, 160, 32, 410, 362, 0},   {60, -15, 32, 160, 32, 410, 362, 1},
        {150, 0, 255, 255, 255, 410, 362, 0}};
    clear_to_color(label_bitmap, makecol(250, 130, 10));
    canister_scale = 100000.0 / 6000;  // far, at the top of the view
    canister_y = 133;
    for (const auto& c : cases) {
        fuel = c[0];
        fuel_pending = c[1];
        draw_game_frame();
        EXPECT_TRUE(pixel_is(back_buffer, 150, 478, c[2], c[3], c[4])) << "fuel " << c[0];
        for (int y = 340; y <= 470; ++y) {
            const bool drawn = (y >= std::min(c[5], 437) && y <= std::max(c[5], 437)) ||
                               (c[6] != 0 && y >= c[6] && y <= 402);
            EXPECT_EQ(pixel_is(back_buffer, 160, y, 132, 222, 132), drawn) << c[0] << " row " << y;
            EXPECT_EQ(pixel_is(back_buffer, 640, y, 132, 222, 132), drawn) << c[0] << " row " << y;
        }
        EXPECT_EQ(pixel_is(back_buffer, 400, 150, 250, 130, 10), c[7] == 1) << "fuel " << c[0];
    }
}

// Black in the rails' last row turns (254, 0, 0) under a bright stripe and
// (126, 0, 0) under a dark one; the rails there run from x = 85 to 101 and
// from 699 to 714. At 32 bits the library's pixel calls draw them, at 16
// the game's own tables.
TEST_F(game_frame_test, rails_blend_toward_stripes_that_move_with_the_canister) {
    for (const int depth : {32, 16}) {
        set_color_depth(depth);
        static BITMAP* frames[2] = {create_bitmap_ex(32, 800, 600), create_bitmap_ex(16, 800, 600)};
        back_buffer = frames[depth == 16];
        set_draw_target(back_buffer);
        for (int distance : {6000, 5800}) {
            canister_distance = distance;
            clear_to_color(back_buffer, 0);
            draw_rails();
            for (int x : {84, 85, 101, 102, 698, 699, 714, 715}) {
                const bool rail = (x >= 85 && x <= 101) || (x >= 699 && x <= 714);
                EXPECT_EQ(getpixel(back_buffer, x, 399),
                          rail ? makecol(distance == 6000 ? 254 : 126, 0, 0) : 0)
                    << x << " at " << distance << ", " << depth << " bits";
            }
        }
    }
}

TEST_F(game_frame_test, whole_frames_are_the_librarys_drawing_at_each_depth) {
    struct moment {
        const char* name;
        int level, fuel, pending, phase, timer, distance, lane, view, score;
        const char* typed;
    };
    const moment moments[] = {
        {"typing at level 1, score 0", 1, 30, 0, 400, 0, 4000, 0, -20, 0, "12"},
        {"rising at 179, score 123456", 4, 45, 0, 300, 179, 3000, 180000, -25, 123456, "144"},
        {"answer at rest from 180", 4, 45, 0, 300, 180, 3000, 180000, -25, 123450, "144"},
        {"answer white at 220", 7, 12, 0, 300, 220, 2500, -180000, -12, 999999, "7"},
        {"beam from 221", 7, 12, 0, 300, 221, 2500, -180000, -12, 999999, "7"},
        {"beam, answer grey 248 at 224", 7, 12, 0, 300, 224, 2500, -180000, -12, 999999, "7"},
        {"beam up to 239", 7, 12, 0, 300, 239, 2500, -180000, -12, 999999, "7"},
        {"no beam at 240", 7, 12, 0, 300, 240, 2500, -180000, -12, 999999, "7"},
        {"prompt off at phase 210", 2, 60, 0, 210, 0, 5000, 0, -30, 4560, ""},
        {"banner over the prompt", 2, 60, 0, 20, 0, 5000, 0, -30, 4560, ""},
        {"banner up to phase 148", 10, 25, 0, 148, 0, 6000, 180000, -15, 98765, ""},
        {"no banner at 150", 10, 25, 0, 150, 0, 6000, 180000, -15, 98765, ""},
        {"canister close", 5, 50, 0, 500, 0, 1000, -180000, -20, 111, "9"},
        {"recoiling view", 8, 20, -10, 310, 0, 2000, 180000, -71, 2020, "3"},
        {"fuel far negative", 9, -40, 0, 300, 300, 1500, 0, -27, 50, "81"},
    };
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    for (int depth : {16, 15, 32}) {  // at 32 the library draws it all
        set_color_depth(depth);
        back_buffer = create_bitmap(800, 600);
        BITMAP* reference = create_bitmap(800, 600);
        ASSERT_EQ(chdir(REFUEL_GAME_DIR), 0);
        ASSERT_EQ(load_fonts(), nullptr);
        ASSERT_EQ(load_graphics(), nullptr);
        ASSERT_EQ(chdir(cwd), 0);
        for (const moment& m : moments) {
            level = m.level;
            fuel = m.fuel;
            fuel_pending = m.pending;
            phase = m.phase;
            answer_timer = m.timer;
            canister_distance = m.distance;
            canister_scale = 100000.0 / m.distance;
            canister_y = 200000 / m.distance + 100;
            canister_x_offset = m.lane / m.distance;
            view_offset_y = m.view;
            score = m.score;
            std::strcpy(typed_answer, m.typed);
            problem = {12 * m.level, m.level, 3, 0};
            render_label();  // and draw on back_buffer again
            clear_to_color(back_buffer, makecol(255, 0, 0));
            draw_game_frame();
            clear_to_color(reference, makecol(0, 255, 0));
            reference_frame(reference);
            EXPECT_EQ(differing_rows(back_buffer, reference), 0)
                << m.name << " at " << depth << " bits";
        }
        destroy_bitmap(reference);
        destroy_bitmap(back_buffer);
        destroy_bitmap(label_bitmap);  // made by load_graphics
    }
    EXPECT_EQ(fake().presents, static_cast<int>(3 * std::size(moments)));  // one a frame
}

}  // namespace

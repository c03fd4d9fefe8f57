#include "game_frame.h"

#include <allegro.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "game_loop.h"
#include "opaque_runs.h"
#include "problem_generator.h"
#include "rail_effect.h"
#include "text_pool.h"

namespace {

constexpr int shown_score_limit = 999999;  // six digits; more would leave the strip
constexpr int cockpit_top = 300;

void set_lamp_color() {
    if (fuel < 10) {
        set_draw_color(192, 32, 32);
    } else if (fuel <= 26) {
        set_draw_color(160, 64, 32);
    } else if (fuel <= 43) {
        set_draw_color(160, 128, 32);
    } else if (fuel <= 59) {
        set_draw_color(160, 192, 32);
    } else if (fuel == full_tank) {
        set_draw_color(32, 160, 32);
    }
    // Above a full tank the white already set stays.
}

// A black copy 3 pixels up and left, then the text in its colour.
void draw_shadowed(FONT* f, const char* text, int r, int g, int b) {
    set_draw_font(f);
    set_draw_color(0, 0, 0);
    draw_text(397, 197, text, 1, 1);
    set_draw_color(r, g, b);
    draw_text(400, 200, text, 1, 1);
}

// The gauges are 185 one-pixel columns a frame. On a 15- or 16-bit memory
// back_buffer, drawn on in the library's solid mode as the game's frames
// are, a column is just its colour stored down the rows, both ends
// included and clipped as the library's line clips it.
void draw_column(bool stored, int x, int y1, int y2) {
    if (!stored) {
        draw_line(x, y1, x, y2);
        return;
    }
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    get_clip_rect(back_buffer, &left, &top, &right, &bottom);
    if (x < left || x > right) {
        return;
    }
    const auto c = static_cast<std::uint16_t>(draw_color);
    for (int y = std::max(std::min(y1, y2), top); y <= std::min(std::max(y1, y2), bottom); ++y) {
        reinterpret_cast<std::uint16_t*>(back_buffer->line[y])[x] = c;
    }
}

// One gauge; the right one is the left one moved 480 pixels.
void draw_one_gauge(bool stored, int shift) {
    for (int i = 135; i <= 139; ++i) {
        set_draw_color(32, 192, 32);
        draw_column(stored, i + shift, 707 - 2 * i, 437);
    }
    for (int i = 135; i <= 139; ++i) {
        set_draw_color(227, 250, 227);
        draw_column(stored, 319 - i + shift, 707 - 2 * i, 437);
    }
    for (int i = 140; i <= 179; ++i) {
        const int k = i - 140;
        set_draw_color(32 + 5 * k, 192 + 3 * k / 2, 32 + 5 * k);
        const int x = i + shift;
        // Below an empty tank the lower chamber runs on down, clipped to
        // the frame.
        draw_column(stored, x, fuel >= 20 ? 410 : 430 - fuel, 437);
        if (fuel > 20 && fuel < full_tank) {
            draw_column(stored, x, 422 - fuel, 402);
        } else if (fuel >= full_tank) {
            draw_column(stored, x, 362, 402);
        }
    }
}

// Whether the scenery can be copied row by row around the cockpit's opaque
// runs: both pictures of back_buffer's format with two bytes a pixel (15 or
// 16 bits, as the game runs), the runs the cockpit's, and nothing clipped
// but the rows the bobbing view moves out of the frame.
bool scenery_by_rows(BITMAP* scenery) {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    get_clip_rect(back_buffer, &left, &top, &right, &bottom);
    return draw_target == back_buffer && cockpit_runs.picture == cockpit_overlay &&
           is_memory_bitmap(back_buffer) && is_memory_bitmap(scenery) &&
           (bitmap_color_depth(back_buffer) + 7) / 8 == 2 &&
           bitmap_color_depth(scenery) == bitmap_color_depth(back_buffer) &&
           bitmap_color_depth(cockpit_overlay) == bitmap_color_depth(back_buffer) &&
           scenery->w == back_buffer->w && cockpit_overlay->w == back_buffer->w &&
           cockpit_top + cockpit_overlay->h <= back_buffer->h && left == 0 && top == 0 &&
           right == back_buffer->w - 1 && bottom == back_buffer->h - 1;
}

// The cockpit is drawn over every frame, and where it is opaque it hides
// whatever the rails and the canister put on the scenery there. So the
// scenery is copied only where the cockpit lets it show: two fifths of its
// pixels are never read. The frame comes out the same as a whole blit.
void draw_scenery() {
    BITMAP* scenery = level_background[level];
    if (!scenery_by_rows(scenery)) {
        draw_image(scenery, 0, view_offset_y);
        return;
    }
    const int first = std::max(0, view_offset_y);
    const int end = std::min(back_buffer->h, view_offset_y + scenery->h);
    for (int y = first; y < end; ++y) {
        const auto* from = reinterpret_cast<const std::uint16_t*>(scenery->line[y - view_offset_y]);
        auto* to = reinterpret_cast<std::uint16_t*>(back_buffer->line[y]);
        const auto copy = [from, to](int x0, int x1) {
            if (x1 > x0) {
                std::memcpy(to + x0, from + x0, 2 * static_cast<std::size_t>(x1 - x0));
            }
        };
        const int row = y - cockpit_top;
        if (row < 0 || row >= cockpit_overlay->h) {
            copy(0, scenery->w);
            continue;
        }
        // The gaps before, between and after the row's opaque runs.
        int x = 0;
        for (int i = cockpit_runs.first_run[row]; i < cockpit_runs.first_run[row + 1]; ++i) {
            copy(x, cockpit_runs.runs[i].start);
            x = cockpit_runs.runs[i].end;
        }
        copy(x, scenery->w);
    }
}

}  // namespace

void draw_canister() {
    const double s = canister_scale;
    const int x = static_cast<int>(400 + canister_x_offset - 1.4 * s);
    const int w = static_cast<int>(2.8 * s);
    const int h = static_cast<int>(s + s);
    // Before the first tick of a game the canister has no size yet.
    if (w <= 0 || h <= 0) {
        return;
    }
    masked_stretch_blit(label_bitmap, back_buffer, 0, 0, 280, 200, x, canister_y, w, h);
}

void draw_cockpit() {
    set_draw_color(255, 255, 255);
    masked_blit_by_runs(cockpit_runs, cockpit_overlay, 0, 0, 0, cockpit_top, cockpit_overlay->w,
                        cockpit_overlay->h);
    set_draw_font(font_readout);
    draw_text(160, 576, number_text(problem.operand_a), 1, 1);
    draw_text(640, 576, number_text(problem.operand_b), 1, 1);
    set_draw_font(font_panel);

    set_lamp_color();
    draw_box(100, 463, 100, 30, 1);
    set_draw_color(255, 255, 255);
    draw_box(100, 463, 100, 30, 0);

    set_draw_color(0, 128, 64);
    draw_box(590, 463, 100, 30, 1);
    set_draw_color(255, 255, 255);
    draw_box(590, 463, 100, 30, 0);
    draw_text(640, 478, join_number("Level ", level), 1, 1);

    draw_fuel_gauge();
}

void draw_fuel_gauge() {
    const int depth = bitmap_color_depth(back_buffer);
    const bool stored =
        draw_target == back_buffer && is_memory_bitmap(back_buffer) && (depth == 15 || depth == 16);
    draw_one_gauge(stored, 0);
    draw_one_gauge(stored, 480);
}

void draw_score() {
    const int shown = std::min(score, shown_score_limit);
    const int digits[6] = {
        shown / 100000,     (shown / 10000) % 10, (shown / 1000) % 10,
        (shown / 100) % 10, (shown / 10) % 10,    shown % 10,
    };
    for (int i = 0; i < 6; ++i) {
        masked_blit_by_runs(digit_runs, score_digit_strip, 48 * digits[i] + 5, 0, 20 + 40 * i, 20,
                            48, 32);
    }
}

void draw_game_frame() {
    compose_game_frame();
    present_frame();
}

void compose_game_frame() {
    draw_scenery();
    // The rails tint the scenery itself, so they come before anything else.
    draw_rails();
    if (fuel + fuel_pending < full_tank) {
        draw_canister();
    }
    draw_cockpit();

    if (fuel == full_tank && phase % 140 < 70) {
        draw_shadowed(font_readout, "GREAT! PRESS \"SPACE\" TO NEXT LEVEL", 255, 255, 255);
    }

    draw_score();

    beam_x = 400 + canister_x_offset;
    beam_y = static_cast<int>(canister_y + 1.6 * canister_scale);
    if (answer_timer >= 221 && answer_timer <= 239) {
        set_draw_color(255, 192, 64);
        for (const int x0 : {400, 401, 399, 398, 402}) {
            draw_line(x0, 340, beam_x + 7, beam_y);
        }
    }

    if (answer_timer >= 220) {
        // After Space the timer holds 9999, which would make the grey negative.
        const int g = std::clamp(696 - 2 * answer_timer, 0, 255);
        set_draw_color(g, g, g);
    } else {
        set_draw_color(255, 255, 255);
    }
    if (answer_timer < 180) {
        set_draw_font(font_readout);
        draw_text(400, 576 - answer_timer, typed_answer, 1, 1);
    } else {
        set_draw_font(font_answer);
        draw_text(400, 396, typed_answer, 1, 1);
    }

    if (phase < 150) {
        // Each copy is built afresh: pool results are used at once.
        set_draw_font(font_banner);
        set_draw_color(0, 0, 0);
        draw_text(397, 197, join_number("Level ", level), 1, 1);
        set_draw_color(255, 96, 96);
        draw_text(400, 200, join_number("Level ", level), 1, 1);
    }
}

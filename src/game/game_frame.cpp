#include "game_frame.h"

#include <allegro.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "asset_catalogue.h"
#include "direct_pixels.h"
#include "drawing_kit.h"
#include "game_loop.h"
#include "kept_frame.h"
#include "opaque_runs.h"
#include "problem_generator.h"
#include "rail_effect.h"
#include "text_pool.h"
#include "text_stamps.h"

bool draw_frames_by_library = false;

namespace {

constexpr int shown_score_limit = 999999;  // six digits; more would leave the strip
constexpr int lowest_gauge_fuel = -7;      // the empty chamber's last row is 437

opaque_runs digit_runs;

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

bool composing = false;  // inside draw_game_frame

void marked_text(int x, int y, const char* text, int centre_h, int centre_v) {
    const text_area a = draw_stamped_text(x, y, text, centre_h, centre_v);
    mark_damage(a.left, a.top, a.w, a.h);
}

void marked_box(int x, int y, int w, int h, int filled) {
    mark_damage(x, y, w, h);
    draw_box(x, y, w, h, filled);
}

// The rails cover the same pixels in every frame: their spans down to the
// last row drawn, bounded a band of rows at a time.
void mark_rails(int last_row) {
    struct band_rect {
        int x, y, w, h;
    };
    static std::vector<band_rect> bands;
    static int bands_last_row = -1;
    if (bands_last_row != last_row) {
        constexpr int band = 20;
        bands.clear();
        for (int top = rail_first_row; top <= last_row; top += band) {
            const int bottom = std::min(top + band - 1, last_row);
            int left_lo = INT_MAX;
            int left_hi = INT_MIN;
            int right_lo = INT_MAX;
            int right_hi = INT_MIN;
            for (int y = top; y <= bottom; ++y) {
                const rail_spans s = rail_spans_at(y);
                left_lo = std::min(left_lo, s.left_start);
                left_hi = std::max(left_hi, s.left_end);
                right_lo = std::min(right_lo, s.right_start);
                right_hi = std::max(right_hi, s.right_end);
            }
            bands.push_back({left_lo, top, left_hi - left_lo + 1, bottom - top + 1});
            bands.push_back({right_lo, top, right_hi - right_lo + 1, bottom - top + 1});
        }
        bands_last_row = last_row;
    }
    for (const band_rect& r : bands) {
        mark_damage(r.x, r.y, r.w, r.h);
    }
}

void draw_shadowed(FONT* f, const char* text, int r, int g, int b) {
    set_draw_font(f);
    set_draw_color(0, 0, 0);
    marked_text(397, 197, text, 1, 1);
    set_draw_color(r, g, b);
    marked_text(400, 200, text, 1, 1);
}

// What the cockpit carries: the readouts, the lamp, the level and the gauges.
void draw_cockpit_panel() {
    set_draw_font(font_readout);
    marked_text(160, 576, number_text(problem.operand_a), 1, 1);
    marked_text(640, 576, number_text(problem.operand_b), 1, 1);
    set_draw_font(font_panel);

    set_lamp_color();
    marked_box(100, 463, 100, 30, 1);
    set_draw_color(255, 255, 255);
    marked_box(100, 463, 100, 30, 0);

    set_draw_color(0, 128, 64);
    marked_box(590, 463, 100, 30, 1);
    set_draw_color(255, 255, 255);
    marked_box(590, 463, 100, 30, 0);
    marked_text(640, 478, join_number("Level ", level), 1, 1);

    draw_fuel_gauge();
}

// The smallest rectangle around a gauge's columns.
struct column_bounds {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
};

// The gauges are 185 one-pixel columns a frame; written directly, a column
// is just the colour stored down the rows, both ends included, as the
// library's line draws it.
void draw_column(bool direct, column_bounds& bounds, int x, int y1, int y2) {
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2);
    bounds = {std::min(bounds.left, x), std::min(bounds.top, top), std::max(bounds.right, x),
              std::max(bounds.bottom, bottom)};
    if (!direct || x < 0 || x >= back_buffer->w || top < 0 || bottom >= back_buffer->h) {
        draw_line(x, y1, x, y2);
        return;
    }
    const auto c = static_cast<std::uint16_t>(draw_color);
    for (int y = top; y <= bottom; ++y) {
        reinterpret_cast<std::uint16_t*>(back_buffer->line[y])[x] = c;
    }
}

// One gauge; the right one is the left one moved 480 pixels.
void draw_one_gauge(int shift) {
    const bool direct = direct_pixel_writes();
    column_bounds bounds;
    for (int i = 135; i <= 139; ++i) {
        set_draw_color(32, 192, 32);
        draw_column(direct, bounds, i + shift, 707 - 2 * i, 437);
    }
    for (int i = 135; i <= 139; ++i) {
        set_draw_color(227, 250, 227);
        draw_column(direct, bounds, 319 - i + shift, 707 - 2 * i, 437);
    }
    // The last frame of a lost game may see fuel a few units below 0; the
    // lower chamber then shrinks to its bottom row instead of running down.
    const int gauge_fuel = std::max(fuel, lowest_gauge_fuel);
    for (int i = 140; i <= 179; ++i) {
        const int k = i - 140;
        set_draw_color(32 + 5 * k, 192 + 3 * k / 2, 32 + 5 * k);
        const int x = i + shift;
        if (gauge_fuel >= 20) {
            draw_column(direct, bounds, x, 410, 437);
        } else {
            draw_column(direct, bounds, x, 430 - gauge_fuel, 437);
        }
        if (gauge_fuel > 20 && gauge_fuel < full_tank) {
            draw_column(direct, bounds, x, 422 - gauge_fuel, 402);
        } else if (gauge_fuel >= full_tank) {
            draw_column(direct, bounds, x, 362, 402);
        }
    }
    mark_damage(bounds.left, bounds.top, bounds.right - bounds.left + 1,
                bounds.bottom - bounds.top + 1);
}

// A part of the frame drawn on its own may land on the kept frame.
void forget_unless_composing() {
    if (!composing) {
        forget_game_frame();
    }
}

}  // namespace

void draw_canister() {
    forget_unless_composing();
    const double s = canister_scale;
    const int x = static_cast<int>(400 + canister_x_offset - 1.4 * s);
    const int w = static_cast<int>(2.8 * s);
    const int h = static_cast<int>(s + s);
    // Before the first tick of a game the canister has no size yet.
    if (w <= 0 || h <= 0) {
        return;
    }
    mark_damage(x, canister_y, w, h);
    masked_stretch_blit(label_bitmap, back_buffer, 0, 0, 280, 200, x, canister_y, w, h);
}

void draw_cockpit() {
    forget_unless_composing();
    set_draw_color(255, 255, 255);
    masked_blit_fast(cockpit_runs, cockpit_overlay, 0, 0, 0, cockpit_top, cockpit_overlay->w,
                     cockpit_overlay->h);
    draw_cockpit_panel();
}

void draw_fuel_gauge() {
    forget_unless_composing();
    draw_one_gauge(0);
    draw_one_gauge(480);
}

void draw_score() {
    forget_unless_composing();
    const int shown = std::min(score, shown_score_limit);
    const int digits[6] = {
        shown / 100000,     (shown / 10000) % 10, (shown / 1000) % 10,
        (shown / 100) % 10, (shown / 10) % 10,    shown % 10,
    };
    for (int i = 0; i < 6; ++i) {
        mark_damage(20 + 40 * i, 20, 48, 32);
        masked_blit_fast(digit_runs, score_digit_strip, 48 * digits[i] + 5, 0, 20 + 40 * i, 20, 48,
                         32);
    }
}

void draw_game_frame() {
    composing = true;
    start_frame_damage();
    BITMAP* scenery = level_background[level];
    const bool by_copies = frame_by_copies(scenery);
    const bool cockpit_kept = draw_frame_background(scenery, by_copies);
    // The rails tint the scenery itself, so they come before anything else.
    const int last_rail_row = last_rail_row_in_sight(by_copies);
    mark_rails(last_rail_row);
    draw_rail_rows(rail_first_row, last_rail_row);

    if (fuel + fuel_pending < full_tank) {
        draw_canister();
    }
    // A kept cockpit needs putting back only where the rails and the
    // canister may have drawn on it.
    set_draw_color(255, 255, 255);
    draw_frame_cockpit(cockpit_kept);
    draw_cockpit_panel();

    if (fuel == full_tank && phase % 140 < 70) {
        draw_shadowed(font_readout, "GREAT! PRESS \"SPACE\" TO NEXT LEVEL", 255, 255, 255);
    }

    draw_score();

    beam_x = 400 + canister_x_offset;
    beam_y = static_cast<int>(canister_y + 1.6 * canister_scale);
    if (answer_timer >= 221 && answer_timer <= 239) {
        set_draw_color(255, 192, 64);
        // Five lines side by side, from x = 398 to 402: one rectangle holds them.
        const int left = std::min(398, beam_x + 7);
        const int right = std::max(402, beam_x + 7);
        mark_damage(left, std::min(340, beam_y), right - left + 1, std::abs(beam_y - 340) + 1);
        for (const int x0 : {400, 401, 399, 398, 402}) {
            draw_direct_line(x0, 340, beam_x + 7, beam_y);
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
        marked_text(400, 576 - answer_timer, typed_answer, 1, 1);
    } else {
        set_draw_font(font_answer);
        marked_text(400, 396, typed_answer, 1, 1);
    }

    if (phase < 150) {
        // Each copy is built afresh: pool results are used at once.
        set_draw_font(font_banner);
        set_draw_color(0, 0, 0);
        marked_text(397, 197, join_number("Level ", level), 1, 1);
        set_draw_color(255, 96, 96);
        marked_text(400, 200, join_number("Level ", level), 1, 1);
    }

    composing = false;
    // Showing the frame leaves back_buffer as it is: the next frame starts
    // from it.
    keep_frame(scenery, by_copies);
    present_frame();
}

#include "game_frame.h"

#include <allegro.h>

#include <allegro/internal/aintern.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "game_loop.h"
#include "problem_generator.h"
#include "rail_effect.h"
#include "text_pool.h"
#include "text_stamps.h"

bool draw_frames_by_library = false;

namespace {

constexpr int shown_score_limit = 999999;  // six digits; more would leave the strip
constexpr int lowest_gauge_fuel = -7;      // the empty chamber's last row is 437
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

// The opaque runs of a picture that is drawn with a masked blit, found once:
// copying them row by row gives the masked blit's pixels without testing
// each one against the mask colour on every frame. The catalogue's pictures
// never change once loaded, so a picture is known by its address within one
// load of the graphics.
struct opaque_runs {
    const BITMAP* picture = nullptr;
    int generation = -1;
    std::vector<int> first_run;      // per row, index of its first run; one more at the end
    std::vector<std::int16_t> runs;  // start and end (exclusive) of each run
};

opaque_runs cockpit_runs;
opaque_runs digit_runs;

bool two_byte_memory_bitmap(const BITMAP* b) {
    const int depth = bitmap_color_depth(const_cast<BITMAP*>(b));
    return is_memory_bitmap(const_cast<BITMAP*>(b)) && (depth == 15 || depth == 16);
}

// Runs only for 15- and 16-bit memory pictures of the back buffer's depth;
// false sends the caller to the library's own masked blit.
bool find_runs(opaque_runs& r, BITMAP* picture) {
    if (!two_byte_memory_bitmap(picture) || !two_byte_memory_bitmap(back_buffer) ||
        bitmap_color_depth(picture) != bitmap_color_depth(back_buffer)) {
        return false;
    }
    if (r.picture == picture && r.generation == catalogue_generation) {
        return true;
    }
    const unsigned mask = static_cast<unsigned>(bitmap_mask_color(picture));
    r.first_run.assign(1, 0);
    r.runs.clear();
    for (int y = 0; y < picture->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint16_t*>(picture->line[y]);
        int x = 0;
        while (x < picture->w) {
            while (x < picture->w && row[x] == mask) {
                ++x;
            }
            const int start = x;
            while (x < picture->w && row[x] != mask) {
                ++x;
            }
            if (x > start) {
                r.runs.push_back(static_cast<std::int16_t>(start));
                r.runs.push_back(static_cast<std::int16_t>(x));
            }
        }
        r.first_run.push_back(static_cast<int>(r.runs.size()) / 2);
    }
    r.picture = picture;
    r.generation = catalogue_generation;
    return true;
}

// masked_blit(picture, back_buffer, sx, sy, dx, dy, w, h) for a source and a
// destination rectangle that lie wholly inside their bitmaps.
void blit_runs(const opaque_runs& r, int sx, int sy, int dx, int dy, int w, int h) {
    const BITMAP* picture = r.picture;
    for (int y = 0; y < h; ++y) {
        const int source_row = sy + y;
        const auto* from = reinterpret_cast<const std::uint16_t*>(picture->line[source_row]);
        auto* to = reinterpret_cast<std::uint16_t*>(back_buffer->line[dy + y]) + (dx - sx);
        for (int i = r.first_run[source_row]; i < r.first_run[source_row + 1]; ++i) {
            const int start = std::max<int>(r.runs[2 * i], sx);
            const int end = std::min<int>(r.runs[2 * i + 1], sx + w);
            if (start < end) {
                std::memcpy(to + start, from + start, 2 * static_cast<std::size_t>(end - start));
            }
        }
    }
}

bool inside(const BITMAP* b, int x, int y, int w, int h) {
    return x >= 0 && y >= 0 && w >= 0 && h >= 0 && x + w <= b->w && y + h <= b->h;
}

void masked_blit_fast(opaque_runs& r, BITMAP* picture, int sx, int sy, int dx, int dy, int w,
                      int h) {
    if (!draw_frames_by_library && find_runs(r, picture) && inside(picture, sx, sy, w, h) &&
        inside(back_buffer, dx, dy, w, h)) {
        blit_runs(r, sx, sy, dx, dy, w, h);
    } else {
        masked_blit(picture, back_buffer, sx, sy, dx, dy, w, h);
    }
}

// The frame's background is the scenery, and the cockpit where it is
// opaque; everything else is drawn over it. Most of it is the same from one
// frame to the next, so the frame on back_buffer is kept: the next one puts
// the background back only where the last one drew over it, and copies the
// scenery again only when the view has moved.
struct damage_rect {
    int left, top, right, bottom;  // right and bottom exclusive
};

struct frame_damage {
    static constexpr int most_rects = 96;
    int count = 0;
    bool overflowed = false;  // more than it can hold: nothing may be kept
    damage_rect rects[most_rects];
};

struct kept_frame {
    bool valid = false;
    const BITMAP* buffer = nullptr;
    const BITMAP* scenery = nullptr;
    const BITMAP* cockpit = nullptr;
    int view_offset_y = 0;
    int generation = -1;
    frame_damage damage;  // what that frame drew over its background
};

kept_frame kept;
frame_damage damage;     // what the frame being composed has drawn so far
bool composing = false;  // inside draw_game_frame

void mark(int x, int y, int w, int h) {
    if (damage.count == frame_damage::most_rects) {
        damage.overflowed = true;
        return;
    }
    damage.rects[damage.count++] = {x, y, x + w, y + h};
}

// A rectangle cut to the bitmap; empty when it lies outside.
damage_rect clipped(damage_rect r, int w, int h) {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, w), std::min(r.bottom, h)};
}

void marked_text(int x, int y, const char* text, int centre_h, int centre_v) {
    const text_area a = draw_stamped_text(x, y, text, centre_h, centre_v);
    mark(a.left, a.top, a.w, a.h);
}

void marked_box(int x, int y, int w, int h, int filled) {
    mark(x, y, w, h);
    draw_box(x, y, w, h, filled);
}

// The rails cover the same pixels in every frame: their spans, bounded a
// band of rows at a time.
void mark_rails() {
    constexpr int band = 20;
    for (int top = rail_first_row; top <= rail_last_row; top += band) {
        const int bottom = std::min(top + band - 1, rail_last_row);
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
        mark(left_lo, top, left_hi - left_lo + 1, bottom - top + 1);
        mark(right_lo, top, right_hi - right_lo + 1, bottom - top + 1);
    }
}

// The scenery of row y, pixels lo to hi - 1, where the cockpit lets it show.
// The rails and the canister, drawn in between, only ever write under the
// cockpit's opaque runs, and the cockpit covers them there; so the scenery
// is not copied there at all and the frame comes out the same.
void copy_scenery_span(const BITMAP* scenery, int y, int lo, int hi) {
    const auto* from = reinterpret_cast<const std::uint16_t*>(scenery->line[y - view_offset_y]);
    auto* to = reinterpret_cast<std::uint16_t*>(back_buffer->line[y]);
    const auto copy = [&](int a, int b) {
        std::memcpy(to + a, from + a, 2 * static_cast<std::size_t>(b - a));
    };
    const int cockpit_row = y - cockpit_top;
    if (cockpit_row < 0 || cockpit_row >= cockpit_overlay->h) {
        copy(lo, hi);
        return;
    }
    int x = lo;
    for (int i = cockpit_runs.first_run[cockpit_row]; i < cockpit_runs.first_run[cockpit_row + 1];
         ++i) {
        const int start = cockpit_runs.runs[2 * i];
        const int end = cockpit_runs.runs[2 * i + 1];
        if (start >= hi) {
            break;
        }
        if (start > x) {
            copy(x, start);
        }
        x = std::max(x, end);
    }
    if (x < hi) {
        copy(x, hi);
    }
}

// The rows of the scenery that fall on back_buffer.
void copy_scenery(const BITMAP* scenery) {
    const int top = std::max(0, view_offset_y);
    const int bottom = std::min(back_buffer->h, view_offset_y + scenery->h);
    for (int y = top; y < bottom; ++y) {
        copy_scenery_span(scenery, y, 0, back_buffer->w);
    }
}

// The cockpit's opaque pixels inside each rectangle.
void copy_cockpit_in(const frame_damage& d) {
    for (int i = 0; i < d.count; ++i) {
        const damage_rect r = clipped({d.rects[i].left, d.rects[i].top - cockpit_top,
                                       d.rects[i].right, d.rects[i].bottom - cockpit_top},
                                      cockpit_overlay->w, cockpit_overlay->h);
        if (r.left < r.right && r.top < r.bottom) {
            blit_runs(cockpit_runs, r.left, r.top, r.left, r.top + cockpit_top, r.right - r.left,
                      r.bottom - r.top);
        }
    }
}

// The background inside each rectangle, scenery and cockpit both.
void restore_background(const BITMAP* scenery, const frame_damage& d) {
    for (int i = 0; i < d.count; ++i) {
        const damage_rect r = clipped(d.rects[i], back_buffer->w, back_buffer->h);
        for (int y = r.top; y < r.bottom; ++y) {
            if (r.left < r.right) {
                copy_scenery_span(scenery, y, r.left, r.right);
            }
        }
    }
    copy_cockpit_in(d);
}

// The frame can be composed by the copies above: 15- or 16-bit memory
// pictures of the back buffer's depth, the scenery as wide as the frame and
// the cockpit wholly on it.
bool frame_by_copies(const BITMAP* scenery) {
    return !draw_frames_by_library && draw_target == back_buffer &&
           find_runs(cockpit_runs, cockpit_overlay) &&
           inside(back_buffer, 0, cockpit_top, cockpit_overlay->w, cockpit_overlay->h) &&
           two_byte_memory_bitmap(scenery) &&
           bitmap_color_depth(const_cast<BITMAP*>(scenery)) == bitmap_color_depth(back_buffer) &&
           scenery->w == back_buffer->w;
}

// Draws the scenery and returns whether the cockpit on back_buffer is still
// whole outside the rectangles of the frame before.
bool draw_background(BITMAP* scenery, bool by_copies) {
    if (!by_copies) {
        draw_image(scenery, 0, view_offset_y);
        return false;
    }
    const bool cockpit_kept = kept.valid && kept.buffer == back_buffer &&
                              kept.cockpit == cockpit_overlay &&
                              kept.generation == catalogue_generation;
    if (cockpit_kept && kept.scenery == scenery && kept.view_offset_y == view_offset_y) {
        restore_background(scenery, kept.damage);
        return true;
    }
    copy_scenery(scenery);
    if (cockpit_kept) {
        copy_cockpit_in(kept.damage);
    }
    return cockpit_kept;
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

// The gauges are 185 one-pixel columns a frame; in solid mode on the whole
// of a 15- or 16-bit memory back buffer, a column is just the colour stored
// down the rows, both ends included, as the library's line draws it.
bool columns_direct() {
    const int depth = bitmap_color_depth(back_buffer);
    return !draw_frames_by_library && draw_target == back_buffer && is_memory_bitmap(back_buffer) &&
           (depth == 15 || depth == 16) && _drawing_mode == DRAW_MODE_SOLID &&
           back_buffer->clip != 0 && back_buffer->cl == 0 && back_buffer->ct == 0 &&
           back_buffer->cr == back_buffer->w && back_buffer->cb == back_buffer->h;
}

// The smallest rectangle around a gauge's columns.
struct column_bounds {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
};

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
    const bool direct = columns_direct();
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
    mark(bounds.left, bounds.top, bounds.right - bounds.left + 1, bounds.bottom - bounds.top + 1);
}

// A part of the frame drawn on its own may land on the kept frame.
void forget_unless_composing() {
    if (!composing) {
        kept.valid = false;
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
    mark(x, canister_y, w, h);
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
        mark(20 + 40 * i, 20, 48, 32);
        masked_blit_fast(digit_runs, score_digit_strip, 48 * digits[i] + 5, 0, 20 + 40 * i, 20, 48,
                         32);
    }
}

void forget_game_frame() {
    kept.valid = false;
}

void draw_game_frame() {
    composing = true;
    damage.count = 0;
    damage.overflowed = false;
    BITMAP* scenery = level_background[level];
    const bool by_copies = frame_by_copies(scenery);
    const bool cockpit_kept = draw_background(scenery, by_copies);
    // The rails tint the scenery itself, so they come before anything else.
    mark_rails();
    draw_rails();

    if (fuel + fuel_pending < full_tank) {
        draw_canister();
    }
    // A kept cockpit needs putting back only where the rails and the
    // canister may have drawn on it.
    set_draw_color(255, 255, 255);
    if (cockpit_kept) {
        copy_cockpit_in(damage);
    } else {
        masked_blit_fast(cockpit_runs, cockpit_overlay, 0, 0, 0, cockpit_top, cockpit_overlay->w,
                         cockpit_overlay->h);
    }
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
        mark(left, std::min(340, beam_y), right - left + 1, std::abs(beam_y - 340) + 1);
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

    present_frame();

    composing = false;
    if (!by_copies) {
        // Drawn by the library on another bitmap, the kept frame stays good.
        if (back_buffer == kept.buffer) {
            kept.valid = false;
        }
        return;
    }
    // Kept only when the next frame can put the whole background back,
    // with the scenery reaching every row.
    kept.valid =
        !damage.overflowed && view_offset_y <= 0 && view_offset_y + scenery->h >= back_buffer->h;
    kept.buffer = back_buffer;
    kept.scenery = scenery;
    kept.cockpit = cockpit_overlay;
    kept.view_offset_y = view_offset_y;
    kept.generation = catalogue_generation;
    kept.damage = damage;
}

#include "game_frame.h"

#include <allegro.h>

#include <allegro/internal/aintern.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "game_loop.h"
#include "problem_generator.h"
#include "rail_effect.h"
#include "text_pool.h"

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

void draw_column(bool direct, int x, int y1, int y2) {
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2);
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
    for (int i = 135; i <= 139; ++i) {
        set_draw_color(32, 192, 32);
        draw_column(direct, i + shift, 707 - 2 * i, 437);
    }
    for (int i = 135; i <= 139; ++i) {
        set_draw_color(227, 250, 227);
        draw_column(direct, 319 - i + shift, 707 - 2 * i, 437);
    }
    // The last frame of a lost game may see fuel a few units below 0; the
    // lower chamber then shrinks to its bottom row instead of running down.
    const int gauge_fuel = std::max(fuel, lowest_gauge_fuel);
    for (int i = 140; i <= 179; ++i) {
        const int k = i - 140;
        set_draw_color(32 + 5 * k, 192 + 3 * k / 2, 32 + 5 * k);
        const int x = i + shift;
        if (gauge_fuel >= 20) {
            draw_column(direct, x, 410, 437);
        } else {
            draw_column(direct, x, 430 - gauge_fuel, 437);
        }
        if (gauge_fuel > 20 && gauge_fuel < full_tank) {
            draw_column(direct, x, 422 - gauge_fuel, 402);
        } else if (gauge_fuel >= full_tank) {
            draw_column(direct, x, 362, 402);
        }
    }
}

// The opaque runs of a picture that is drawn with a masked blit, found once:
// copying them row by row gives the masked blit's pixels without testing
// each one against the mask colour on every frame. The catalogue's pictures
// never change after loading, so a picture is known by its address; as a
// reload may put another picture at the same address, the runs' edges are
// checked on every use and the runs found again if they no longer fit.
struct opaque_runs {
    const BITMAP* picture = nullptr;
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
// Each run must still start and end where it did, and each gap must still
// begin and end in the mask colour.
bool runs_still_fit(const opaque_runs& r, const BITMAP* picture) {
    const unsigned mask = static_cast<unsigned>(bitmap_mask_color(const_cast<BITMAP*>(picture)));
    if (static_cast<int>(r.first_run.size()) != picture->h + 1) {
        return false;
    }
    const int w = picture->w;
    for (int y = 0; y < picture->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint16_t*>(picture->line[y]);
        int x = 0;
        for (int i = r.first_run[y]; i < r.first_run[y + 1]; ++i) {
            const int start = r.runs[2 * i];
            const int end = r.runs[2 * i + 1];
            if (start > x && (row[x] != mask || row[start - 1] != mask)) {
                return false;
            }
            if (row[start] == mask || row[end - 1] == mask) {
                return false;
            }
            x = end;
        }
        if (x < w && (row[x] != mask || row[w - 1] != mask)) {
            return false;
        }
    }
    return true;
}

bool find_runs(opaque_runs& r, BITMAP* picture) {
    if (r.picture == picture && runs_still_fit(r, picture)) {
        return true;
    }
    if (!two_byte_memory_bitmap(picture) || !two_byte_memory_bitmap(back_buffer) ||
        bitmap_color_depth(picture) != bitmap_color_depth(back_buffer)) {
        return false;
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

// Where the cockpit is opaque it covers whatever lies below; the rails and
// the canister drawn between the two only ever write there. So the scenery
// is copied only where the cockpit lets it show, and the frame comes out
// the same.
void draw_scenery() {
    BITMAP* scenery = level_background[level];
    const bool fast = !draw_frames_by_library && draw_target == back_buffer &&
                      find_runs(cockpit_runs, cockpit_overlay) &&
                      inside(back_buffer, 0, cockpit_top, cockpit_overlay->w, cockpit_overlay->h) &&
                      two_byte_memory_bitmap(scenery) &&
                      bitmap_color_depth(scenery) == bitmap_color_depth(back_buffer) &&
                      scenery->w == back_buffer->w;
    if (!fast) {
        draw_image(scenery, 0, view_offset_y);
        return;
    }
    const int top = std::max(0, view_offset_y);
    const int bottom = std::min(back_buffer->h, view_offset_y + scenery->h);
    const std::size_t row_bytes = 2 * static_cast<std::size_t>(back_buffer->w);
    for (int y = top; y < bottom; ++y) {
        const auto* from = reinterpret_cast<const std::uint16_t*>(scenery->line[y - view_offset_y]);
        auto* to = reinterpret_cast<std::uint16_t*>(back_buffer->line[y]);
        const int cockpit_row = y - cockpit_top;
        if (cockpit_row < 0 || cockpit_row >= cockpit_overlay->h) {
            std::memcpy(to, from, row_bytes);
            continue;
        }
        // The gaps between the cockpit's opaque runs.
        int x = 0;
        for (int i = cockpit_runs.first_run[cockpit_row];
             i < cockpit_runs.first_run[cockpit_row + 1]; ++i) {
            const int start = cockpit_runs.runs[2 * i];
            if (start > x) {
                std::memcpy(to + x, from + x, 2 * static_cast<std::size_t>(start - x));
            }
            x = cockpit_runs.runs[2 * i + 1];
        }
        if (x < back_buffer->w) {
            std::memcpy(to + x, from + x, 2 * static_cast<std::size_t>(back_buffer->w - x));
        }
    }
}

void draw_shadowed(FONT* f, const char* text, int r, int g, int b) {
    set_draw_font(f);
    set_draw_color(0, 0, 0);
    draw_text(397, 197, text, 1, 1);
    set_draw_color(r, g, b);
    draw_text(400, 200, text, 1, 1);
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
    masked_blit_fast(cockpit_runs, cockpit_overlay, 0, 0, 0, cockpit_top, cockpit_overlay->w,
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
    draw_one_gauge(0);
    draw_one_gauge(480);
}

void draw_score() {
    const int shown = std::min(score, shown_score_limit);
    const int digits[6] = {
        shown / 100000,     (shown / 10000) % 10, (shown / 1000) % 10,
        (shown / 100) % 10, (shown / 10) % 10,    shown % 10,
    };
    for (int i = 0; i < 6; ++i) {
        masked_blit_fast(digit_runs, score_digit_strip, 48 * digits[i] + 5, 0, 20 + 40 * i, 20, 48,
                         32);
    }
}

void draw_game_frame() {
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

    present_frame();
}

#include "rail_effect.h"

#include <allegro.h>

#include <allegro/internal/aintern.h>

#include <algorithm>
#include <cstdint>

#include "drawing_kit.h"
#include "game_loop.h"

namespace {

constexpr int first_row = rail_first_row;
constexpr int last_row = rail_last_row;

struct rail_row {
    int weight;  // 400 - y: how much of the scenery's colour stays
    int stripe;  // the red the rail leans toward: bright or dark by depth
};

// Whether row y's stripe is the bright one, from 200000 / (y - 100).
bool bright_stripe(int depth_quotient) {
    const int t = (depth_quotient - canister_distance + 1000000) / 200;
    return t % 2 != 0;
}

rail_row row_values(int y) {
    return {400 - y, bright_stripe(200000 / (y - 100)) ? 255 : 127};
}

// Left rail from 500 - ceil(26y/25) to 500 - y, right rail from 300 + y to
// 300 + floor(26y/25); the left one rounds outward, so it is a pixel wider.
int left_start(int y) {
    return 500 - (26 * y + 24) / 25;
}
int left_end(int y) {
    return 500 - y;
}
int right_start(int y) {
    return 300 + y;
}
int right_end(int y) {
    return 300 + 26 * y / 25;
}

void recolour_by_pixel(int x, int y, rail_row row) {
    const int c = getpixel(back_buffer, x, y);
    const int red = (getr(c) * row.weight + row.stripe * (300 - row.weight)) / 300;
    const int green = (getg(c) * row.weight) / 300;
    const int blue = (getb(c) * row.weight) / 300;
    set_draw_color(red, green, blue);
    draw_line(x, y, x, y);
}

// The blend works on each colour field alone, and a row has one weight and
// one of two stripe values, so each output field is a lookup by row, stripe
// and input field: the same arithmetic as the pixel calls, made once.
struct rail_row_tables {
    int depth_quotient;        // 200000 / (y - 100): a division per row saved
    std::uint16_t red[2][32];  // [stripe is bright][5-bit red], shifted in place
    std::uint16_t green[64];   // 6 bits at 16 bpp, 5 at 15
    std::uint16_t blue[32];
};

rail_row_tables rail_tables[last_row - first_row + 1];
int tables_depth = 0;
int tables_shifts[3] = {-1, -1, -1};

struct pixel_format {
    int depth;
    int r_shift, g_shift, b_shift;
    int green_mask;
};

pixel_format current_format(int depth) {
    if (depth == 16) {
        return {16, _rgb_r_shift_16, _rgb_g_shift_16, _rgb_b_shift_16, 63};
    }
    return {15, _rgb_r_shift_15, _rgb_g_shift_15, _rgb_b_shift_15, 31};
}

void make_tables(const pixel_format& f) {
    const int* green_scale = f.depth == 16 ? _rgb_scale_6 : _rgb_scale_5;
    const int green_drop = f.depth == 16 ? 2 : 3;  // what makecol keeps of 8 bits
    for (int y = first_row; y <= last_row; ++y) {
        rail_row_tables& t = rail_tables[y - first_row];
        t.depth_quotient = 200000 / (y - 100);
        const int w = 400 - y;
        for (int bright = 0; bright <= 1; ++bright) {
            const int stripe = bright != 0 ? 255 : 127;
            for (int v = 0; v < 32; ++v) {
                const int red = (_rgb_scale_5[v] * w + stripe * (300 - w)) / 300;
                t.red[bright][v] = static_cast<std::uint16_t>((red >> 3) << f.r_shift);
            }
        }
        for (int v = 0; v <= f.green_mask; ++v) {
            const int green = (green_scale[v] * w) / 300;
            t.green[v] = static_cast<std::uint16_t>((green >> green_drop) << f.g_shift);
        }
        for (int v = 0; v < 32; ++v) {
            const int blue = (_rgb_scale_5[v] * w) / 300;
            t.blue[v] = static_cast<std::uint16_t>((blue >> 3) << f.b_shift);
        }
    }
    tables_depth = f.depth;
    tables_shifts[0] = f.r_shift;
    tables_shifts[1] = f.g_shift;
    tables_shifts[2] = f.b_shift;
}

// Recolours pixels from to to (both included) of a row; returns the last
// colour made. Scenery comes in runs of one colour: a repeat costs a compare.
unsigned recolour_run(std::uint16_t* line, int from, int to, const std::uint16_t* red,
                      const rail_row_tables& t, const pixel_format& f, unsigned last) {
    unsigned seen = ~0u;
    for (int x = from; x <= to; ++x) {
        const unsigned c = line[x];
        if (c != seen) {
            seen = c;
            last = red[(c >> f.r_shift) & 31] | t.green[(c >> f.g_shift) & f.green_mask] |
                   t.blue[(c >> f.b_shift) & 31];
        }
        line[x] = static_cast<std::uint16_t>(last);
    }
    return last;
}

// Returns the last colour made, which the pixel path leaves in draw_color.
int recolour_direct(int depth, int top, int bottom) {
    const pixel_format f = current_format(depth);
    if (f.depth != tables_depth || f.r_shift != tables_shifts[0] || f.g_shift != tables_shifts[1] ||
        f.b_shift != tables_shifts[2]) {
        make_tables(f);
    }
    unsigned last = 0;
    for (int y = top; y <= bottom; ++y) {
        const rail_row_tables& t = rail_tables[y - first_row];
        const std::uint16_t* red = t.red[bright_stripe(t.depth_quotient) ? 1 : 0];
        auto* line = reinterpret_cast<std::uint16_t*>(back_buffer->line[y]);
        last = recolour_run(line, left_start(y), left_end(y), red, t, f, last);
        last = recolour_run(line, right_start(y), right_end(y), red, t, f, last);
    }
    return static_cast<int>(last);
}

void recolour_rows_by_pixel(int top, int bottom) {
    for (int y = top; y <= bottom; ++y) {
        const rail_row row = row_values(y);
        for (int x = left_start(y); x <= left_end(y); ++x) {
            recolour_by_pixel(x, y, row);
        }
        for (int x = right_start(y); x <= right_end(y); ++x) {
            recolour_by_pixel(x, y, row);
        }
    }
}

}  // namespace

rail_spans rail_spans_at(int y) {
    return {left_start(y), left_end(y), right_start(y), right_end(y)};
}

void draw_rails_by_pixel() {
    recolour_rows_by_pixel(first_row, last_row);
}

void draw_rails() {
    draw_rail_rows(first_row, last_row);
}

void draw_rail_rows(int top, int bottom) {
    top = std::max(top, first_row);
    bottom = std::min(bottom, last_row);
    if (top > bottom) {
        return;
    }
    // The pixel calls split and make colours at the current depth, so the
    // direct path serves only a memory bitmap drawn in solid mode at that
    // depth.
    const int depth = bitmap_color_depth(back_buffer);
    const bool direct = draw_target == back_buffer && is_memory_bitmap(back_buffer) &&
                        depth == get_color_depth() && _drawing_mode == DRAW_MODE_SOLID;
    if (direct && (depth == 16 || depth == 15)) {
        draw_color = recolour_direct(depth, top, bottom);
    } else {
        recolour_rows_by_pixel(top, bottom);
    }
}

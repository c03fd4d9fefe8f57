#include "rail_effect.h"

#include <allegro.h>

#include <allegro/internal/aintern.h>

#include <cstdint>

#include "drawing_kit.h"
#include "game_loop.h"

namespace {

constexpr int first_row = 101;
constexpr int last_row = 399;

struct rail_row {
    int weight;  // 400 - y: how much of the scenery's colour stays
    int stripe;  // the red the rail leans toward: bright or dark by depth
};

rail_row row_values(int y) {
    const int t = (200000 / (y - 100) - canister_distance + 1000000) / 200;
    return {400 - y, t % 2 != 0 ? 255 : 127};
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

// The same arithmetic as the pixel calls, on the pixel words themselves;
// returns the last colour made, which the pixel path leaves in draw_color.
template <int (*get_r)(int), int (*get_g)(int), int (*get_b)(int), int (*make)(int, int, int)>
int recolour_direct() {
    int last = draw_color;
    for (int y = first_row; y <= last_row; ++y) {
        const rail_row row = row_values(y);
        const int red_base = row.stripe * (300 - row.weight);
        auto* line = reinterpret_cast<std::uint16_t*>(back_buffer->line[y]);
        auto recolour_span = [&](int from, int to) {
            for (int x = from; x <= to; ++x) {
                const int c = line[x];
                last = make((get_r(c) * row.weight + red_base) / 300, (get_g(c) * row.weight) / 300,
                            (get_b(c) * row.weight) / 300);
                line[x] = static_cast<std::uint16_t>(last);
            }
        };
        recolour_span(left_start(y), left_end(y));
        recolour_span(right_start(y), right_end(y));
    }
    return last;
}

}  // namespace

void draw_rails_by_pixel() {
    for (int y = first_row; y <= last_row; ++y) {
        const rail_row row = row_values(y);
        for (int x = left_start(y); x <= left_end(y); ++x) {
            recolour_by_pixel(x, y, row);
        }
        for (int x = right_start(y); x <= right_end(y); ++x) {
            recolour_by_pixel(x, y, row);
        }
    }
}

void draw_rails() {
    // The pixel calls split and make colours at the current depth, so the
    // direct path serves only a memory bitmap drawn in solid mode at that
    // depth.
    const int depth = bitmap_color_depth(back_buffer);
    const bool direct = draw_target == back_buffer && is_memory_bitmap(back_buffer) &&
                        depth == get_color_depth() && _drawing_mode == DRAW_MODE_SOLID;
    if (direct && depth == 16) {
        draw_color = recolour_direct<getr16, getg16, getb16, makecol16>();
    } else if (direct && depth == 15) {
        draw_color = recolour_direct<getr15, getg15, getb15, makecol15>();
    } else {
        draw_rails_by_pixel();
    }
}

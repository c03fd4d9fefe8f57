#include "rail_effect.h"

#include <allegro.h>

#include <cstdint>

#include "drawing_kit.h"
#include "game_loop.h"

namespace {

constexpr int first_row = 101;
constexpr int last_row = 399;

// Left rail from 500 - ceil(26y/25) to 500 - y, right rail from 300 + y to
// 300 + floor(26y/25); the left one rounds outward, so it is a pixel wider.
int left_start(int y) {
    return 500 - (26 * y + 24) / 25;
}
int right_end(int y) {
    return 300 + 26 * y / 25;
}

// Row y's stripe: bright (255) or dark (127) by the row's depth,
// 200000 / (y - 100), against the canister's.
bool bright_stripe(int depth) {
    return (depth - canister_distance + 1000000) / 200 % 2 != 0;
}

// What the library's pixel calls make of a pixel of row y.
int recoloured(int c, int y, int stripe) {
    const int w = 400 - y;
    return makecol((getr(c) * w + stripe * (300 - w)) / 300, getg(c) * w / 300, getb(c) * w / 300);
}

// The blend works on each colour field alone, and a row has one weight and
// one of two stripes, so each field of the result is a lookup by row,
// stripe and field: the pixel calls' own arithmetic (getr, makecol, ...),
// made once per pixel format. makecol of a 15- or 16-bit depth packs the
// three fields apart, so the three lookups are simply or-ed.
struct field {
    int shift = 0;
    int mask = 0;  // after the shift
};

// Small enough to stay in the cache: at 15 and 16 bits a pixel, red and
// blue have 5 bits, green 5 or 6.
struct rail_row {
    int depth;                 // 200000 / (y - 100)
    std::uint16_t red[2][32];  // [stripe is bright][red field]
    std::uint16_t green[64];
    std::uint16_t blue[32];
};

rail_row rows[last_row - first_row + 1];
int tables_format[3] = {};  // makecol of pure red, green and blue they were made for

field field_of(int pure) {
    field f;
    while (((pure >> f.shift) & 1) == 0) {
        ++f.shift;
    }
    f.mask = pure >> f.shift;
    return f;
}

void make_tables(const int format[3], const field fields[3]) {
    for (int y = first_row; y <= last_row; ++y) {
        rail_row& t = rows[y - first_row];
        t.depth = 200000 / (y - 100);
        for (int v = 0; v <= fields[0].mask; ++v) {
            const int c = v << fields[0].shift;
            t.red[0][v] = static_cast<std::uint16_t>(recoloured(c, y, 127));
            t.red[1][v] = static_cast<std::uint16_t>(recoloured(c, y, 255));
        }
        // With red and the stripe at 0 the red field is 0.
        for (int v = 0; v <= fields[1].mask; ++v) {
            t.green[v] = static_cast<std::uint16_t>(recoloured(v << fields[1].shift, y, 0));
        }
        for (int v = 0; v <= fields[2].mask; ++v) {
            t.blue[v] = static_cast<std::uint16_t>(recoloured(v << fields[2].shift, y, 0));
        }
    }
    for (int i = 0; i < 3; ++i) {
        tables_format[i] = format[i];
    }
}

// Recolours pixels from to to (both included) of a row. Scenery comes in
// runs of one colour: a repeat costs a compare.
void recolour_run(std::uint16_t* line, int from, int to, const std::uint16_t* red,
                  const rail_row& t, const field* f) {
    unsigned seen = ~0u;
    std::uint16_t made = 0;
    for (int x = from; x <= to; ++x) {
        const unsigned c = line[x];
        if (c != seen) {
            seen = c;
            made = static_cast<std::uint16_t>(red[(c >> f[0].shift) & f[0].mask] |
                                              t.green[(c >> f[1].shift) & f[1].mask] |
                                              t.blue[(c >> f[2].shift) & f[2].mask]);
        }
        line[x] = made;
    }
}

// The lookups serve a memory back_buffer of 15 or 16 bits, the current
// depth (the pixel calls split and make colours at that depth), whose clip
// rectangle holds the rails. The game draws its frames in the library's
// solid mode, in which a one-pixel line just stores its colour.
bool by_lookup() {
    const int depth = bitmap_color_depth(back_buffer);
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    get_clip_rect(back_buffer, &left, &top, &right, &bottom);
    return draw_target == back_buffer && is_memory_bitmap(back_buffer) &&
           (depth == 15 || depth == 16) && depth == get_color_depth() &&
           left <= left_start(last_row) && top <= first_row && right >= right_end(last_row) &&
           bottom >= last_row;
}

// Pixels x0 to x1 of row y, one at a time through the library.
void recolour_by_pixel(int x0, int x1, int y, int stripe) {
    for (int x = x0; x <= x1; ++x) {
        draw_color = recoloured(getpixel(back_buffer, x, y), y, stripe);
        draw_line(x, y, x, y);
    }
}

}  // namespace

void draw_rails() {
    if (!by_lookup()) {
        for (int y = first_row; y <= last_row; ++y) {
            const int stripe = bright_stripe(200000 / (y - 100)) ? 255 : 127;
            recolour_by_pixel(left_start(y), 500 - y, y, stripe);
            recolour_by_pixel(300 + y, right_end(y), y, stripe);
        }
        return;
    }
    const int format[3] = {makecol(255, 0, 0), makecol(0, 255, 0), makecol(0, 0, 255)};
    const field fields[3] = {field_of(format[0]), field_of(format[1]), field_of(format[2])};
    if (format[0] != tables_format[0] || format[1] != tables_format[1] ||
        format[2] != tables_format[2]) {
        make_tables(format, fields);
    }
    for (int y = first_row; y <= last_row; ++y) {
        const rail_row& t = rows[y - first_row];
        const std::uint16_t* red = t.red[bright_stripe(t.depth) ? 1 : 0];
        auto* line = reinterpret_cast<std::uint16_t*>(back_buffer->line[y]);
        recolour_run(line, left_start(y), 500 - y, red, t, fields);
        recolour_run(line, 300 + y, right_end(y), red, t, fields);
    }
    // As the pixel calls leave it: the last colour made.
    draw_color = reinterpret_cast<std::uint16_t*>(back_buffer->line[last_row])[right_end(last_row)];
}

#include "text_stamps.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "asset_catalogue.h"
#include "direct_pixels.h"
#include "drawing_kit.h"
#include "game_frame.h"

namespace {

// Room around the text's cell on the scratch bitmap, for glyphs that reach
// past it.
constexpr int overhang = 8;
// A frame draws at most seven texts; a few more cover a level's changes.
constexpr std::size_t most_stamps = 16;

struct ink_run {
    std::int16_t row, start, end;  // end exclusive
};

struct text_stamp {
    const FONT* font = nullptr;
    int generation = -1;
    int depth = 0;
    std::string text;
    bool usable = false;        // the text sets pixels in one colour only
    text_area area{};           // relative to where draw_text puts the cell's corner
    std::vector<ink_run> runs;  // relative, like area
    unsigned last_use = 0;
};

std::vector<text_stamp> stamps;
unsigned uses = 0;

void make_stamp(text_stamp& s, int depth) {
    const int cell_w = text_length(draw_font, s.text.c_str());
    const int cell_h = text_height(draw_font);
    BITMAP* scratch = create_bitmap_ex(depth, cell_w + 2 * overhang, cell_h + 2 * overhang);
    s.usable = false;
    s.runs.clear();
    s.area = {0, 0, 0, 0};
    if (scratch == nullptr) {
        return;
    }
    // Two colours that no text draws in: every pixel must come out as one
    // or the other, or the font paints colours of its own.
    const unsigned ground = 0x0000;
    const unsigned ink = 0x0001;
    clear_to_color(scratch, static_cast<int>(ground));
    textout_ex(scratch, draw_font, s.text.c_str(), overhang, overhang, static_cast<int>(ink), -1);
    int left = scratch->w;
    int top = scratch->h;
    int right = -1;
    int bottom = -1;
    bool one_colour = true;
    for (int y = 0; y < scratch->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint16_t*>(scratch->line[y]);
        int x = 0;
        while (x < scratch->w) {
            if (row[x] != ink) {
                one_colour = one_colour && row[x] == ground;
                ++x;
                continue;
            }
            const int start = x;
            while (x < scratch->w && row[x] == ink) {
                ++x;
            }
            s.runs.push_back({static_cast<std::int16_t>(y - overhang),
                              static_cast<std::int16_t>(start - overhang),
                              static_cast<std::int16_t>(x - overhang)});
            left = std::min(left, start);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y + 1);
        }
    }
    destroy_bitmap(scratch);
    s.usable = one_colour;
    if (right > left) {
        s.area = {left - overhang, top - overhang, right - left, bottom - top};
    }
}

const text_stamp& stamp_for(const char* text, int depth) {
    ++uses;
    const auto known = std::find_if(stamps.begin(), stamps.end(), [&](const text_stamp& s) {
        return s.font == draw_font && s.generation == catalogue_generation && s.depth == depth &&
               s.text == text;
    });
    if (known != stamps.end()) {
        known->last_use = uses;
        return *known;
    }
    if (stamps.size() < most_stamps) {
        stamps.emplace_back();
    }
    text_stamp& s = *std::min_element(
        stamps.begin(), stamps.end(),
        [](const text_stamp& a, const text_stamp& b) { return a.last_use < b.last_use; });
    s.font = draw_font;
    s.generation = catalogue_generation;
    s.depth = depth;
    s.text = text;
    s.last_use = uses;
    make_stamp(s, depth);
    return s;
}

}  // namespace

text_area draw_stamped_text(int x, int y, const char* text, int centre_h, int centre_v) {
    int cx = x;
    int cy = y;
    text_corner(text, cx, cy, centre_h, centre_v);
    if (direct_pixel_writes()) {
        const text_stamp& s = stamp_for(text, bitmap_color_depth(back_buffer));
        const text_area a{cx + s.area.left, cy + s.area.top, s.area.w, s.area.h};
        if (s.usable && inside(back_buffer, a.left, a.top, a.w, a.h)) {
            const auto colour = static_cast<std::uint16_t>(draw_color);
            for (const ink_run& run : s.runs) {
                auto* row = reinterpret_cast<std::uint16_t*>(back_buffer->line[cy + run.row]);
                std::fill(row + cx + run.start, row + cx + run.end, colour);
            }
            return a;
        }
    }
    draw_text(x, y, text, centre_h, centre_v);
    // Without a stamp, the cell and a margin for glyphs that reach past it.
    const int w = text_length(draw_font, text);
    const int h = text_height(draw_font);
    return {cx - overhang, cy - overhang, w + 2 * overhang, h + 2 * overhang};
}

#include "opaque_runs.h"

#include <allegro.h>

#include <algorithm>
#include <cstring>

#include "asset_catalogue.h"
#include "direct_pixels.h"
#include "drawing_kit.h"
#include "game_frame.h"

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
                r.runs.push_back({static_cast<std::int16_t>(start), static_cast<std::int16_t>(x)});
            }
        }
        r.first_run.push_back(static_cast<int>(r.runs.size()));
    }
    r.picture = picture;
    r.generation = catalogue_generation;
    return true;
}

void blit_runs(const opaque_runs& r, int sx, int sy, int dx, int dy, int w, int h) {
    const BITMAP* picture = r.picture;
    for (int y = 0; y < h; ++y) {
        const int source_row = sy + y;
        const auto* from = reinterpret_cast<const std::uint16_t*>(picture->line[source_row]);
        auto* to = reinterpret_cast<std::uint16_t*>(back_buffer->line[dy + y]) + (dx - sx);
        for (int i = r.first_run[source_row]; i < r.first_run[source_row + 1]; ++i) {
            const int start = std::max<int>(r.runs[i].start, sx);
            const int end = std::min<int>(r.runs[i].end, sx + w);
            if (start < end) {
                std::memcpy(to + start, from + start, 2 * static_cast<std::size_t>(end - start));
            }
        }
    }
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

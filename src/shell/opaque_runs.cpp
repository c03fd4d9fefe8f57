#include "opaque_runs.h"

#include <allegro.h>

#include <algorithm>
#include <cstring>

#include "drawing_kit.h"

opaque_runs cockpit_runs;
opaque_runs digit_runs;

namespace {

bool two_byte_memory_bitmap(BITMAP* b) {
    const int depth = bitmap_color_depth(b);
    return is_memory_bitmap(b) && (depth == 15 || depth == 16);
}

// Whether the library would copy the whole rectangles, clipping nothing.
bool unclipped(BITMAP* picture, int sx, int sy, int dx, int dy, int w, int h) {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    get_clip_rect(back_buffer, &left, &top, &right, &bottom);
    return w > 0 && h > 0 && sx >= 0 && sy >= 0 && sx + w <= picture->w && sy + h <= picture->h &&
           dx >= std::max(left, 0) && dy >= std::max(top, 0) &&
           dx + w <= std::min(right + 1, back_buffer->w) &&
           dy + h <= std::min(bottom + 1, back_buffer->h);
}

}  // namespace

void find_runs(opaque_runs& r, BITMAP* picture) {
    r.picture = nullptr;
    r.first_run.assign(1, 0);
    r.runs.clear();
    if (picture == nullptr || !two_byte_memory_bitmap(picture)) {
        return;
    }
    const unsigned mask = static_cast<unsigned>(bitmap_mask_color(picture));
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
}

void masked_blit_by_runs(const opaque_runs& r, BITMAP* picture, int sx, int sy, int dx, int dy,
                         int w, int h) {
    if (r.picture != picture || !two_byte_memory_bitmap(back_buffer) ||
        bitmap_color_depth(picture) != bitmap_color_depth(back_buffer) ||
        !unclipped(picture, sx, sy, dx, dy, w, h)) {
        masked_blit(picture, back_buffer, sx, sy, dx, dy, w, h);
        return;
    }
    for (int y = 0; y < h; ++y) {
        const int source_row = sy + y;
        const auto* from = reinterpret_cast<const std::uint16_t*>(picture->line[source_row]);
        auto* to = reinterpret_cast<std::uint16_t*>(back_buffer->line[dy + y]);
        for (int i = r.first_run[source_row]; i < r.first_run[source_row + 1]; ++i) {
            const int start = std::max<int>(r.runs[i].start, sx);
            const int end = std::min<int>(r.runs[i].end, sx + w);
            if (start < end) {
                std::memcpy(to + dx + (start - sx), from + start,
                            2 * static_cast<std::size_t>(end - start));
            }
        }
    }
}

#include "kept_frame.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "asset_catalogue.h"
#include "direct_pixels.h"
#include "drawing_kit.h"
#include "game_frame.h"
#include "game_loop.h"
#include "opaque_runs.h"
#include "rail_effect.h"

opaque_runs cockpit_runs;

namespace {

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
    unsigned drawings = 0;  // back_buffer_drawings when it was finished
    frame_damage damage;    // what that frame drew over its background
};

kept_frame kept;
frame_damage damage;  // what the frame being composed has drawn so far

// A rectangle cut to the bitmap; empty when it lies outside.
damage_rect clipped(damage_rect r, int w, int h) {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, w), std::min(r.bottom, h)};
}

// The scenery of row y, pixels lo to hi - 1, where the cockpit lets it show.
// Under the cockpit's opaque runs nothing of what lies below shows, whatever
// the rails and the canister drawn in between make of it; so the scenery is
// not copied there at all and the frame comes out the same.
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
        const int start = cockpit_runs.runs[i].start;
        const int end = cockpit_runs.runs[i].end;
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
        for (int y = r.top; r.left < r.right && y < r.bottom; ++y) {
            copy_scenery_span(scenery, y, r.left, r.right);
        }
    }
    copy_cockpit_in(d);
}

}  // namespace

bool frame_by_copies(const BITMAP* scenery) {
    return !draw_frames_by_library && draw_target == back_buffer &&
           find_runs(cockpit_runs, cockpit_overlay) &&
           inside(back_buffer, 0, cockpit_top, cockpit_overlay->w, cockpit_overlay->h) &&
           two_byte_memory_bitmap(scenery) &&
           bitmap_color_depth(const_cast<BITMAP*>(scenery)) == bitmap_color_depth(back_buffer) &&
           scenery->w == back_buffer->w;
}

bool draw_frame_background(BITMAP* scenery, bool by_copies) {
    if (!by_copies) {
        draw_image(scenery, 0, view_offset_y);
        return false;
    }
    const bool cockpit_kept =
        kept.valid && kept.buffer == back_buffer && kept.cockpit == cockpit_overlay &&
        kept.generation == catalogue_generation && kept.drawings == back_buffer_drawings;
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

void mark_damage(int x, int y, int w, int h) {
    if (damage.count == frame_damage::most_rects) {
        damage.overflowed = true;
        return;
    }
    damage.rects[damage.count++] = {x, y, x + w, y + h};
}

bool hidden_by_cockpit(int y, int x0, int x1) {
    const int row = y - cockpit_top;
    if (cockpit_runs.picture != cockpit_overlay || row < 0 || row >= cockpit_overlay->h) {
        return false;
    }
    for (int i = cockpit_runs.first_run[row]; i < cockpit_runs.first_run[row + 1]; ++i) {
        if (cockpit_runs.runs[i].start <= x0 && x1 < cockpit_runs.runs[i].end) {
            return true;
        }
    }
    return false;
}

int last_rail_row_in_sight(bool by_copies) {
    int last = rail_last_row;
    while (by_copies && last >= rail_first_row) {
        const rail_spans s = rail_spans_at(last);
        if (!hidden_by_cockpit(last, s.left_start, s.left_end) ||
            !hidden_by_cockpit(last, s.right_start, s.right_end)) {
            break;
        }
        --last;
    }
    return last;
}

void start_frame_damage() {
    damage.count = 0;
    damage.overflowed = false;
}

void draw_frame_cockpit(bool cockpit_kept) {
    if (cockpit_kept) {
        copy_cockpit_in(damage);
    } else {
        masked_blit_fast(cockpit_runs, cockpit_overlay, 0, 0, 0, cockpit_top, cockpit_overlay->w,
                         cockpit_overlay->h);
    }
}

void keep_frame(BITMAP* scenery, bool by_copies) {
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
    kept.drawings = back_buffer_drawings;
    kept.damage = damage;
}

void forget_game_frame() {
    kept.valid = false;
}

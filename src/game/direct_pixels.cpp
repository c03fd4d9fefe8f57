#include "direct_pixels.h"

#include <allegro.h>

#include <allegro/internal/aintern.h>

#include <algorithm>
#include <cstdint>

#include "drawing_kit.h"
#include "game_frame.h"

namespace {

void store_pixel(BITMAP* b, int x, int y, int colour) {
    reinterpret_cast<std::uint16_t*>(b->line[y])[x] = static_cast<std::uint16_t>(colour);
}

}  // namespace

bool two_byte_memory_bitmap(const BITMAP* b) {
    const int depth = bitmap_color_depth(const_cast<BITMAP*>(b));
    return is_memory_bitmap(const_cast<BITMAP*>(b)) && (depth == 15 || depth == 16);
}

bool inside(const BITMAP* b, int x, int y, int w, int h) {
    return x >= 0 && y >= 0 && w >= 0 && h >= 0 && x + w <= b->w && y + h <= b->h;
}

bool direct_pixel_writes() {
    return !draw_frames_by_library && draw_target == back_buffer &&
           two_byte_memory_bitmap(back_buffer) && _drawing_mode == DRAW_MODE_SOLID &&
           back_buffer->clip != 0 && back_buffer->cl == 0 && back_buffer->ct == 0 &&
           back_buffer->cr == back_buffer->w && back_buffer->cb == back_buffer->h;
}

void draw_direct_line(int x1, int y1, int x2, int y2) {
    const int left = std::min(x1, x2);
    const int top = std::min(y1, y2);
    // A line wholly on the bitmap is not cut short by the library: its
    // pixels are do_line's, however the library then stores them.
    if (direct_pixel_writes() &&
        inside(back_buffer, left, top, std::max(x1, x2) - left + 1, std::max(y1, y2) - top + 1)) {
        do_line(back_buffer, x1, y1, x2, y2, draw_color, store_pixel);
    } else {
        draw_line(x1, y1, x2, y2);
    }
}

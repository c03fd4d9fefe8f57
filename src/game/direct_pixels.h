#pragma once
// The game frame's faster ways of drawing write 15- and 16-bit pixels
// straight into memory bitmaps. These say when that gives the very pixels
// the library's own calls would.

struct BITMAP;

bool two_byte_memory_bitmap(const BITMAP* b);
// Whether the w by h rectangle at (x, y) lies wholly on b.
bool inside(const BITMAP* b, int x, int y, int w, int h);
// back_buffer is the drawing target, a 15- or 16-bit memory bitmap drawn
// on in solid mode and clipped to its whole self, and
// draw_frames_by_library is not set: a pixel on it may simply be stored.
bool direct_pixel_writes();
// The library's own line (do_line), each pixel stored straight: for a line
// wholly on back_buffer when direct_pixel_writes(); else draw_line.
void draw_direct_line(int x1, int y1, int x2, int y2);

#pragma once
// Tints the two rails of the track into the scenery on back_buffer, with
// stripes that slide toward the viewer as the canister closes in.

// Picks the direct path for 15- and 16-bit memory bitmaps, else the pixel calls.
void draw_rails();
// Only rows top to bottom of the rails, as draw_rails draws them: for a
// frame whose cockpit hides the rest.
void draw_rail_rows(int top, int bottom);
// Reads and writes each rail pixel through the library's pixel calls and the
// drawing kit; the direct path must give the very same picture.
void draw_rails_by_pixel();

// The rows the rails tint and, in each, the two spans they cover (both ends
// included): whoever keeps the frame between frames must know what the
// rails wrote.
constexpr int rail_first_row = 101;
constexpr int rail_last_row = 399;
struct rail_spans {
    int left_start, left_end, right_start, right_end;
};
rail_spans rail_spans_at(int y);

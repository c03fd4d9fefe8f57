#pragma once
// Tints the two rails of the track into the scenery on back_buffer, with
// stripes that slide toward the viewer as the canister closes in.

// Picks the direct path for 15- and 16-bit memory bitmaps, else the pixel calls.
void draw_rails();
// Reads and writes each rail pixel through the library's pixel calls and the
// drawing kit; the direct path must give the very same picture.
void draw_rails_by_pixel();

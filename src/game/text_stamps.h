#pragma once
// The game frame draws the same few texts frame after frame. Each is drawn
// once on a scratch bitmap and kept as the runs of pixels it sets; drawing
// it again is a fill of those runs in the current colour, with the very
// pixels the library's text drawing gives.

// Where a text drawn at (x, y) may have set pixels; empty when w or h is 0.
struct text_area {
    int left, top, w, h;
};

// draw_text(x, y, text, centre_h, centre_v) with the drawing kit's target,
// font and colour. Stamps serve a 15- or 16-bit memory back_buffer drawn on
// in solid mode, with the whole text on it; anything else, and every text
// while draw_frames_by_library is set, goes to draw_text. Returns the area
// the text may have drawn in.
text_area draw_stamped_text(int x, int y, const char* text, int centre_h, int centre_v);

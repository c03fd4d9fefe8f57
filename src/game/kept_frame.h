#pragma once
// The game frame's background is the scenery, and the cockpit where it is
// opaque; everything else is drawn over it. Most of it is the same from one
// frame to the next, so the frame on back_buffer is kept: the next one puts
// the background back only where the last one drew over it, and copies the
// scenery again only when the view has moved. What a frame draws over its
// background it marks here as it draws.

struct BITMAP;
struct opaque_runs;

constexpr int cockpit_top = 300;  // the cockpit's first row on the frame
extern opaque_runs cockpit_runs;

// A new frame: nothing drawn over its background yet.
void start_frame_damage();
// The frame has drawn, or may have drawn, in this rectangle.
void mark_damage(int x, int y, int w, int h);
// Whether the frame can be composed by copies: 15- or 16-bit memory
// pictures of back_buffer's depth, the scenery as wide as the frame and the
// cockpit wholly on it, and draw_frames_by_library not set.
bool frame_by_copies(const BITMAP* scenery);
// Lays the scenery at view_offset_y, and returns whether the cockpit on
// back_buffer is whole outside what the last frame drew (put back there).
bool draw_frame_background(BITMAP* scenery, bool by_copies);
// After the rails and the canister: the cockpit whole, or, when it was
// kept, where they drew on it.
void draw_frame_cockpit(bool cockpit_kept);
// Whether pixels x0 to x1 of row y lie under one opaque run of the cockpit,
// for a frame composed by copies: nothing drawn there before the cockpit
// can show.
bool hidden_by_cockpit(int y, int x0, int x1);
// The last row of the rails that the cockpit does not wholly hide: below
// it their tint would only be covered. The last rail row for a frame not
// composed by copies.
int last_rail_row_in_sight(bool by_copies);
// The frame is finished: the next one may start from it.
void keep_frame(BITMAP* scenery, bool by_copies);
// Whoever draws on back_buffer between two game frames other than through
// the drawing kit (which counts its drawings there) must call this;
// play_game does at its start.
void forget_game_frame();

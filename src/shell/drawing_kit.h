#pragma once
// Every screen draws through this kit: a current target, colour and font, so
// drawing calls take only coordinates and text. Screens compose on
// back_buffer and show it whole with present_frame.

struct BITMAP;
struct FONT;

extern BITMAP* draw_target;
extern int draw_color;
extern FONT* draw_font;
extern BITMAP* back_buffer;   // 800x600, the frame every screen composes
extern BITMAP* label_bitmap;  // 280x200, the current canister's label

void set_draw_target(BITMAP* bmp);
void set_draw_font(FONT* f);
void set_draw_color(int r, int g, int b);
// Centring halves the text's size with integer division, so 40 and 41 pixel
// wide texts centred on x = 400 both start at 380.
void draw_text(int x, int y, const char* text, int centre_h, int centre_v);
// A w by h box with its top-left corner at (x, y); filled when filled >= 1,
// a one-pixel outline otherwise.
void draw_box(int x, int y, int w, int h, int filled);
// The boxes that carry a message over another picture: dark grey with a
// white outline. Leaves draw_color white, for the message's text.
void draw_panel(int x, int y, int w, int h);
void draw_line(int x1, int y1, int x2, int y2);
// Copies the whole picture, every pixel, with no transparency.
void draw_image(BITMAP* bmp, int x, int y);
// Copies back_buffer to the visible screen; draw_target is left as it was.
void present_frame();

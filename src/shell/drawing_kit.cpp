#include "drawing_kit.h"

#include <allegro.h>

#include "platform.h"

BITMAP* draw_target = nullptr;
int draw_color = 0;
FONT* draw_font = nullptr;
BITMAP* back_buffer = nullptr;
BITMAP* label_bitmap = nullptr;

void set_draw_target(BITMAP* bmp) {
    draw_target = bmp;
}

void set_draw_font(FONT* f) {
    draw_font = f;
}

void set_draw_color(int r, int g, int b) {
    draw_color = makecol(r, g, b);
}

void draw_text(int x, int y, const char* text, int centre_h, int centre_v) {
    if (centre_h != 0) {
        x -= text_length(draw_font, text) / 2;
    }
    if (centre_v != 0) {
        y -= text_height(draw_font) / 2;
    }
    textout_ex(draw_target, draw_font, text, x, y, draw_color, -1);
}

void draw_box(int x, int y, int w, int h, int filled) {
    if (filled >= 1) {
        rectfill(draw_target, x, y, x + w - 1, y + h - 1, draw_color);
    } else {
        rect(draw_target, x, y, x + w - 1, y + h - 1, draw_color);
    }
}

void draw_panel(int x, int y, int w, int h) {
    set_draw_color(32, 32, 32);
    draw_box(x, y, w, h, 1);
    set_draw_color(255, 255, 255);
    draw_box(x, y, w, h, 0);
}

void draw_line(int x1, int y1, int x2, int y2) {
    line(draw_target, x1, y1, x2, y2, draw_color);
}

void draw_image(BITMAP* bmp, int x, int y) {
    blit(bmp, draw_target, 0, 0, x, y, bmp->w, bmp->h);
}

void present_frame() {
    // The backend copies the whole of back_buffer to the screen; draw_target
    // is not touched.
    platform_present(back_buffer);
}

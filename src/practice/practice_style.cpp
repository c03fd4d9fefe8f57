#include "practice_style.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "game_loop.h"

void use_colour(const practice_colour& c) {
    set_draw_color(c.r, c.g, c.b);
}

void draw_practice_panel(int x, int y, int w, int h) {
    use_colour(panel_fill);
    draw_box(x, y, w, h, 1);
    use_colour(panel_edge);
    draw_box(x, y, w, h, 0);
}

void draw_fitted(int x, int y, const char* text, int max_width, int align) {
    char shown[96];
    (void)std::snprintf(shown, sizeof shown, "%s", text);
    std::size_t length = std::strlen(shown);
    while (length > 0 && text_length(draw_font, shown) > max_width) {
        length -= 1;
        shown[length] = '\0';
        if (length >= 3) {
            shown[length - 2] = '.';
            shown[length - 1] = '.';
        }
    }
    if (length == 0) {
        return;
    }
    const int width = text_length(draw_font, shown);
    draw_text(align == align_right    ? x - width
              : align == align_centre ? x - width / 2
                                      : x,
              y, shown, 0, align == align_centre ? 1 : 0);
}

void draw_practice_background() {
    set_draw_target(back_buffer);
    const int scene = std::min(std::max(level, 1), level_count);
    draw_image(level_background[scene] != nullptr ? level_background[scene] : menu_background, 0,
               -40);
    set_trans_blender(0, 0, 0, 170);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    set_draw_color(6, 8, 20);
    draw_box(0, 0, 800, 600, 1);
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
}

#include "name_box.h"

#include <allegro.h>

#include <algorithm>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "platform.h"
#include "player_names.h"

namespace {

void draw_name_box(const name_box& box, const std::string& name) {
    set_draw_target(back_buffer);
    draw_panel(box.x, box.y, box.w, box.h);
    set_draw_font(font_text);
    draw_text(400, box.question_y, box.question, 1, 1);
    set_draw_font(font_readout);
    set_draw_color(255, 220, 64);
    // A cursor shows where the next letter goes while there is room.
    const bool room = name.size() < static_cast<std::size_t>(player_name_length);
    draw_text(400, box.name_y, (name + (room ? "_" : "")).c_str(), 1, 1);
    present_frame();
}

void wait_until_enter_is_up() {
    while (platform_key_held(KEY_ENTER) || platform_key_held(KEY_ENTER_PAD)) {
        platform_rest(10);
    }
}

}  // namespace

bool edit_name(const name_box& box, std::string& name) {
    wait_until_enter_is_up();
    // Drops what the held Enter queued, with any digits typed as answers.
    platform_clear_key_buffer();
    name.resize(std::min(name.size(), static_cast<std::size_t>(player_name_length)));
    for (;;) {
        draw_name_box(box, name);
        const int k = platform_read_key();
        const int scancode = k >> 8;
        const int ascii = k & 0xFF;
        const bool enter = scancode == KEY_ENTER || scancode == KEY_ENTER_PAD;
        if (scancode == KEY_ESC && box.escape_cancels) {
            return false;
        }
        if ((enter && (!box.escape_cancels || !name.empty())) || scancode == KEY_ESC) {
            break;
        }
        if (scancode == KEY_BACKSPACE && !name.empty()) {
            name.pop_back();
            continue;
        }
        const bool letter = (ascii >= 'a' && ascii <= 'z') || (ascii >= 'A' && ascii <= 'Z');
        const bool digit = ascii >= '0' && ascii <= '9';
        if ((letter || digit) && name.size() < static_cast<std::size_t>(player_name_length)) {
            name += static_cast<char>(ascii >= 'a' && ascii <= 'z' ? ascii - 32 : ascii);
        }
    }
    wait_until_enter_is_up();
    return true;
}

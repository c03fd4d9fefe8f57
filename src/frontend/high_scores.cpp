#include "high_scores.h"

#include <allegro.h>

#include <cstring>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "keyboard_random_clock.h"
#include "platform.h"

int marked_high_score = -1;
bool marked_score_unsaved = false;

namespace {

constexpr int row_y[high_score_count] = {160, 230, 300, 370, 440};

void score_text(int value, char out[7]) {
    if (value > 999999) {
        value = 999999;
    }
    for (int i = 5; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out[6] = '\0';
}

void draw_name_box(const char* name) {
    set_draw_target(back_buffer);
    draw_panel(200, 270, 400, 110);
    set_draw_font(font_text);
    draw_text(400, 300, "Type your name and press Enter:", 1, 1);
    set_draw_font(font_readout);
    set_draw_color(255, 220, 64);
    // A cursor shows where the next letter goes while there is room.
    char shown[high_score_name_length + 2];
    const std::size_t length = std::strlen(name);
    std::memcpy(shown, name, length);
    shown[length] = length < high_score_name_length ? '_' : '\0';
    shown[length + 1] = '\0';
    draw_text(400, 345, shown, 1, 1);
    present_frame();
}

void wait_until_enter_is_up() {
    while (platform_key_held(KEY_ENTER) || platform_key_held(KEY_ENTER_PAD)) {
        platform_rest(10);
    }
}

}  // namespace

int enter_high_score(int score) {
    if (!is_high_score(score)) {
        return -1;
    }
    // The Enter that ended the game may still be down, and its repeats would
    // confirm an empty name: let it go, then drop what it queued together
    // with the digits typed as answers.
    wait_until_enter_is_up();
    platform_clear_key_buffer();
    char name[high_score_name_length + 1] = "";
    int length = 0;
    for (;;) {
        draw_name_box(name);
        const int k = platform_read_key();
        const int scancode = k >> 8;
        const int ascii = k & 0xFF;
        if (scancode == KEY_ENTER || scancode == KEY_ENTER_PAD || scancode == KEY_ESC) {
            break;
        }
        if (scancode == KEY_BACKSPACE) {
            if (length > 0) {
                name[--length] = '\0';
            }
            continue;
        }
        const bool letter = (ascii >= 'a' && ascii <= 'z') || (ascii >= 'A' && ascii <= 'Z');
        const bool digit = ascii >= '0' && ascii <= '9';
        if ((letter || digit) && length < high_score_name_length) {
            name[length++] = static_cast<char>(ascii >= 'a' && ascii <= 'z' ? ascii - 32 : ascii);
            name[length] = '\0';
        }
    }
    // The table that follows closes on Enter: let go of the key that
    // confirmed the name first, or the new entry would flash by unseen.
    wait_until_enter_is_up();
    bool saved = true;
    const int rank = record_high_score(score, name, saved);
    marked_high_score = rank;
    marked_score_unsaved = !saved;
    return rank;
}

void show_high_scores() {
    set_draw_target(back_buffer);
    draw_image(highscore_background, 0, 0);
    set_draw_font(font_readout);
    for (int rank = 0; rank < high_score_count; ++rank) {
        // A new entry stands out in gold until the screen is closed.
        if (rank == marked_high_score) {
            set_draw_color(255, 220, 64);
        } else {
            set_draw_color(255, 255, 255);
        }
        draw_text(150, row_y[rank], high_score_names[rank], 0, 0);
        char text[7];
        score_text(high_scores[rank], text);
        draw_text(550, row_y[rank], text, 0, 0);
    }
    // Under the prompt, so the table and the prompt stay where they are.
    if (marked_score_unsaved) {
        set_draw_font(font_text);
        set_draw_color(255, 220, 64);
        draw_text(400, 578, "Your score could not be saved", 1, 1);
    }
    present_frame();
    // The picture stays as it is until Enter.
    wait_for_enter();
    marked_high_score = -1;
    marked_score_unsaved = false;
    platform_rest(500);
}

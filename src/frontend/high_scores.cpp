#include "high_scores.h"

#include <allegro.h>

#include <string>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "keyboard_random_clock.h"
#include "name_box.h"
#include "platform.h"
#include "players.h"

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

}  // namespace

int enter_high_score(int score) {
    if (!is_high_score(score)) {
        return -1;
    }
    // A chosen player's name is there already, to keep or change.
    std::string name = player_name_for_scores;
    const name_box box{200, 270, 400, 110, 300, 345, "Type your name and press Enter:", false};
    (void)edit_name(box, name);
    bool saved = true;
    const int rank = record_high_score(score, name.c_str(), saved);
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

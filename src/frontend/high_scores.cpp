#include "high_scores.h"

#include <cstdio>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "keyboard_random_clock.h"
#include "platform.h"

int high_scores[5] = {16000, 8000, 4000, 2000, 1000};

namespace {

constexpr int default_scores[5] = {16000, 8000, 4000, 2000, 1000};
constexpr int row_y[5] = {160, 230, 300, 370, 440};

void zero_padded(int value, char out[7]) {
    for (int i = 5; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out[6] = '\0';
}

}  // namespace

void load_high_scores() {
    // The file is read as five big-endian 16-bit scores; for now the table
    // then goes back to its defaults whatever the file held.
    if (std::FILE* f = std::fopen("hiscores.dat", "r")) {
        for (int rank = 0; rank < 5; ++rank) {
            const int hi = std::fgetc(f);
            const int lo = std::fgetc(f);
            if (hi == EOF || lo == EOF) {
                break;
            }
            high_scores[rank] = hi * 256 + lo;
        }
        std::fclose(f);
    }
    for (int rank = 0; rank < 5; ++rank) {
        high_scores[rank] = default_scores[rank];
    }
}

void show_high_scores() {
    set_draw_target(back_buffer);
    draw_image(highscore_background, 0, 0);
    set_draw_font(font_readout);
    set_draw_color(255, 255, 255);
    for (int rank = 0; rank < 5; ++rank) {
        draw_text(150, row_y[rank], "HALBREK", 0, 0);
    }
    for (int rank = 0; rank < 5; ++rank) {
        char text[7];
        zero_padded(high_scores[rank], text);
        draw_text(550, row_y[rank], text, 0, 0);
    }
    present_frame();
    while (read_key_code() != 13) {
    }
    platform_rest(500);
}

bool is_high_score(int score) { return score > high_scores[4]; }

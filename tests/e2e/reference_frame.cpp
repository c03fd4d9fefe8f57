// Renders what a screen of the game should look like, with the built
// datafiles, into a binary PPM, so end-to-end tests can compare the real
// program's screenshots with it.
//
//   refuel_reference_frame GAME_DIR OUT.ppm title|menu N|difficulty N|topic N|guide|highscores
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "fake_platform.h"
#include "guide_screen.h"
#include "high_scores.h"
#include "main_menu.h"
#include "settings_menus.h"

#undef main

namespace {

struct frame_taken {};

bool write_ppm(const char* path, BITMAP* b) {
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) {
        return false;
    }
    std::fprintf(f, "P6\n%d %d\n255\n", b->w, b->h);
    for (int y = 0; y < b->h; ++y) {
        for (int x = 0; x < b->w; ++x) {
            const int c = getpixel(b, x, y);
            const unsigned char rgb[3] = {static_cast<unsigned char>(getr(c)),
                                          static_cast<unsigned char>(getg(c)),
                                          static_cast<unsigned char>(getb(c))};
            std::fwrite(rgb, 1, 3, f);
        }
    }
    return std::fclose(f) == 0;
}

// Runs `screen` until it presents frame number `wanted`, with `key` held
// from the first present on, and leaves that frame on back_buffer.
void capture(void (*screen)(), int wanted, int key) {
    fake_platform& p = install_fake_platform();
    p.on_present = [wanted, key](int n) {
        if (n == wanted) {
            throw frame_taken{};
        }
        if (key != 0) {
            fake().held[key] = true;
        }
    };
    try {
        screen();
    } catch (const frame_taken&) {
    }
}

int usage() {
    std::fprintf(stderr,
                 "usage: refuel_reference_frame GAME_DIR OUT.ppm "
                 "title|menu N|difficulty N|topic N|guide|highscores\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        return usage();
    }
    const std::string what = argv[3];
    const int n = argc > 4 ? std::atoi(argv[4]) : 0;
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0 || chdir(argv[1]) != 0) {
        return 1;
    }
    set_color_depth(16);
    for (const char* error : {load_fonts(), load_graphics()}) {
        if (error != nullptr) {
            std::fprintf(stderr, "%s", error);
            return 1;
        }
    }
    back_buffer = create_bitmap(800, 600);
    set_draw_target(back_buffer);
    if (what == "title") {
        draw_image(title_image, 0, 0);
    } else if (what == "menu" && n >= 1 && n <= 5) {
        // The first pass draws choice 1; the digit read there shows on the next.
        capture([] { main_menu(); }, 2, KEY_0 + n);
    } else if (what == "difficulty" && n >= 1 && n <= 4) {
        difficulty = n;
        capture([] { difficulty_menu(); }, 1, 0);
    } else if (what == "topic" && n >= 1 && n <= 5) {
        topic = n;
        capture([] { topic_menu(); }, 1, 0);
    } else if (what == "guide") {
        capture(show_guide, 0, 0);
    } else if (what == "highscores") {
        capture(show_high_scores, 0, 0);
    } else {
        return usage();
    }
    return write_ppm(argv[2], back_buffer) ? 0 : 1;
}

// Renders what a screen of the game should look like, with the built
// datafiles, into a binary PPM, so end-to-end tests can compare the real
// program's screenshots with it.
//
//   refuel_reference_frame GAME_DIR OUT.ppm title|menu N|difficulty N|topic N|guide
//                          |highscores [MARKED_RANK]
//                          |cockpit LEVEL FUEL SCORE OPERAND_A OPERAND_B
//   refuel_reference_frame problems SEED TOPIC DIFFICULTY COUNT
//   refuel_reference_frame compare EXPECTED.ppm ACTUAL.ppm
//   refuel_reference_frame count ACTUAL.ppm R G B X Y W H
//
// "highscores" reads hiscores.dat from GAME_DIR as the game does. "cockpit"
// draws the cockpit and the score on a mask-colour field; "compare" counts
// the pixels that differ by more than a 16-bit colour step, looking only
// where the expected frame is not mask colour; "count" the pixels of one
// colour (within a step) inside a rectangle. "problems" prints the
// answers the game will ask for, one canister after another, from a seed.
#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "answer_input.h"
#include "asset_catalogue.h"
#include "game_frame.h"
#include "game_loop.h"
#include "problem_generator.h"
#include "simulation_tick.h"
#include "drawing_kit.h"
#include "fake_platform.h"
#include "guide_screen.h"
#include "high_scores.h"
#include "keyboard_random_clock.h"
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
// from the first present on, and leaves that frame on back_buffer. A screen
// presents only a changed picture: one that keeps waiting without
// presenting has its final picture up already.
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
    p.stall_polls = 100;
    p.on_stall = []() -> bool { throw frame_taken{}; };
    try {
        screen();
    } catch (const frame_taken&) {
    }
}

struct ppm {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
};

// One number of a PPM header, skipping white space and # comments.
bool header_number(std::FILE* f, int& value) {
    int c = std::fgetc(f);
    while (c == '#' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
        if (c == '#') {
            while (c != '\n' && c != EOF)
                c = std::fgetc(f);
        }
        c = std::fgetc(f);
    }
    value = 0;
    int digits = 0;
    while (c >= '0' && c <= '9' && digits < 6) {
        value = value * 10 + (c - '0');
        ++digits;
        c = std::fgetc(f);
    }
    return digits > 0;  // the one white space after the number is consumed
}

bool read_ppm(const char* path, ppm& out) {
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) {
        return false;
    }
    int maxval = 0;
    const bool header = std::fgetc(f) == 'P' && std::fgetc(f) == '6' && header_number(f, out.w) &&
                        header_number(f, out.h) && header_number(f, maxval) && maxval == 255 &&
                        out.w > 0 && out.h > 0 && out.w <= 4096 && out.h <= 4096;
    if (header) {
        out.rgb.resize(static_cast<std::size_t>(out.w) * static_cast<std::size_t>(out.h) * 3);
    }
    const bool body = header && std::fread(out.rgb.data(), 1, out.rgb.size(), f) == out.rgb.size();
    std::fclose(f);
    return body;
}

int compare(const char* expected_path, const char* actual_path) {
    ppm expected, actual;
    if (!read_ppm(expected_path, expected) || !read_ppm(actual_path, actual) ||
        expected.w != actual.w || expected.h != actual.h) {
        std::fprintf(stderr, "cannot compare %s with %s\n", expected_path, actual_path);
        return 2;
    }
    int differing = 0;
    for (std::size_t i = 0; i < expected.rgb.size(); i += 3) {
        const unsigned char* e = &expected.rgb[i];
        if (e[0] == 255 && e[1] == 0 && e[2] == 255) {
            continue;
        }
        for (int c = 0; c < 3; ++c) {
            if (std::abs(e[c] - actual.rgb[i + static_cast<std::size_t>(c)]) > 8) {
                ++differing;
                break;
            }
        }
    }
    std::printf("%d\n", differing);
    return 0;
}

int count_color(const char* path, char** args) {
    ppm frame;
    if (!read_ppm(path, frame)) {
        return 2;
    }
    int v[7];
    for (int i = 0; i < 7; ++i) {
        v[i] = std::atoi(args[i]);
    }
    int n = 0;
    for (int y = std::max(0, v[4]); y < std::min(frame.h, v[4] + v[6]); ++y) {
        for (int x = std::max(0, v[3]); x < std::min(frame.w, v[3] + v[5]); ++x) {
            const unsigned char* p =
                &frame.rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.w) +
                            static_cast<std::size_t>(x)) *
                           3];
            n += std::abs(p[0] - v[0]) <= 8 && std::abs(p[1] - v[1]) <= 8 &&
                         std::abs(p[2] - v[2]) <= 8
                     ? 1
                     : 0;
        }
    }
    std::printf("%d\n", n);
    return 0;
}

// The answers of the first COUNT canisters, as the game launches them:
// each launch makes a problem, then draws the canister's lane.
int predict_problems(unsigned seed, int chosen_topic, int chosen_difficulty, int count) {
    seed_rand15(seed);
    topic = chosen_topic;
    difficulty = chosen_difficulty;
    for (int i = 0; i < count; ++i) {
        new_problem();
        reset_canister();
        std::printf("%d %d %d\n", problem.operand_a, problem.operand_b, problem.problem_answer);
    }
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: refuel_reference_frame GAME_DIR OUT.ppm "
                 "title|menu N|difficulty N|topic N|guide|highscores\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "compare") {
        return compare(argv[2], argv[3]);
    }
    if (argc == 10 && std::string(argv[1]) == "count") {
        return count_color(argv[2], argv + 3);
    }
    if (argc == 6 && std::string(argv[1]) == "problems") {
        return predict_problems(static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)),
                                std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    }
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
        load_high_scores();
        marked_high_score = argc > 4 ? n : -1;
        capture(show_high_scores, 0, 0);
    } else if (what == "cockpit" && argc == 9) {
        clear_to_color(back_buffer, bitmap_mask_color(back_buffer));
        level = n;
        fuel = std::atoi(argv[5]);
        score = std::atoi(argv[6]);
        problem.operand_a = std::atoi(argv[7]);
        problem.operand_b = std::atoi(argv[8]);
        draw_cockpit();
        draw_score();
    } else {
        return usage();
    }
    return write_ppm(argv[2], back_buffer) ? 0 : 1;
}

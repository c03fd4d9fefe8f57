// The game as the benchmarks run it: Allegro with no devices, the built
// pictures and fonts, and a memory screen that a present copies the whole
// frame to, as the drawing kit specifies it.
#pragma once

#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "platform.h"

inline BITMAP* bench_shown_screen = nullptr;

inline BITMAP* bench_screen() {
    return bench_shown_screen;
}
inline void bench_present(BITMAP* frame) {
    blit(frame, bench_shown_screen, 0, 0, 0, 0, frame->w, frame->h);
}

// Loads the game's datafiles from REFUEL_BENCH_GAME_DIR (default: the
// build's game folder) at 16 bits; false, with a message, when it cannot.
inline bool start_bench_game() {
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        return false;
    }
    set_color_depth(16);
    const char* dir = std::getenv("REFUEL_BENCH_GAME_DIR");
    if (dir == nullptr) {
        dir = REFUEL_GAME_DIR;
    }
    const char* error = chdir(dir) != 0 ? "no game folder\n" : load_fonts();
    if (error == nullptr) {
        error = load_graphics();
    }
    if (error != nullptr) {
        std::fprintf(stderr, "%s: %s", dir, error);
        return false;
    }
    static platform_backend backend{};
    backend.screen = bench_screen;
    backend.present = bench_present;
    use_platform_backend(&backend);
    bench_shown_screen = create_bitmap(800, 600);
    back_buffer = create_bitmap(800, 600);
    return true;
}

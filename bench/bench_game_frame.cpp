// The cost of one game frame and of its rails, against the yardstick of one
// plain 800x600 blit, all on memory bitmaps at 16 bits per pixel.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "game_frame.h"
#include "game_loop.h"
#include "platform.h"
#include "problem_generator.h"
#include "rail_effect.h"

namespace {

BITMAP* shown_screen = nullptr;

BITMAP* bench_screen() {
    return shown_screen;
}
void bench_frame_presented() {}

// Scenery with detail in every pixel, so that nothing is cheaper than in play.
BITMAP* noisy(int w, int h, unsigned seed) {
    BITMAP* b = create_bitmap(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            putpixel(b, x, y, makecol((seed >> 8) & 255, (seed >> 16) & 255, (seed >> 24) & 255));
        }
    }
    return b;
}

void make_scene() {
    static bool made = false;
    if (made) {
        return;
    }
    made = true;
    static platform_backend backend{};
    backend.screen = bench_screen;
    backend.frame_presented = bench_frame_presented;
    use_platform_backend(&backend);
    shown_screen = create_bitmap(800, 600);
    back_buffer = create_bitmap(800, 600);
    label_bitmap = noisy(280, 200, 3);
    rectfill(label_bitmap, 0, 0, 279, 20, bitmap_mask_color(label_bitmap));
    for (int level = 1; level <= 10; ++level) {
        level_background[level] = noisy(800, 680, static_cast<unsigned>(level));
    }
    // The cockpit is open above, like a windscreen.
    cockpit_overlay = noisy(800, 300, 11);
    rectfill(cockpit_overlay, 80, 0, 719, 150, bitmap_mask_color(cockpit_overlay));
    score_digit_strip = noisy(490, 32, 12);
    font_answer = font_readout = font_panel = font_banner = font;

    // A busy frame: level banner, beam, fading answer, canister half way.
    level = 3;
    fuel = 42;
    fuel_pending = 0;
    phase = 100;
    view_offset_y = -25;
    score = 123450;
    problem.operand_a = 144;
    problem.operand_b = 12;
    canister_distance = 3000;
    canister_lane = 180000;
    canister_x_offset = 60;
    canister_y = 166;
    canister_scale = 100000.0 / 3000;
    answer_state = 2;
    answer_timer = 230;
    std::strcpy(typed_answer, "12");
    set_draw_target(back_buffer);
}

void bm_plain_blit_800x600(benchmark::State& state) {
    make_scene();
    BITMAP* source = level_background[1];
    for (auto _ : state) {
        blit(source, back_buffer, 0, 0, 0, 0, 800, 600);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_plain_blit_800x600);

void bm_draw_rails(benchmark::State& state) {
    make_scene();
    draw_image(level_background[level], 0, view_offset_y);
    for (auto _ : state) {
        draw_rails();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_draw_rails);

void bm_draw_rails_by_pixel(benchmark::State& state) {
    make_scene();
    draw_image(level_background[level], 0, view_offset_y);
    for (auto _ : state) {
        draw_rails_by_pixel();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_draw_rails_by_pixel);

void bm_draw_game_frame(benchmark::State& state) {
    make_scene();
    for (auto _ : state) {
        draw_game_frame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_draw_game_frame);

}  // namespace

#undef main

int main(int argc, char** argv) {
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        return 2;
    }
    set_color_depth(16);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

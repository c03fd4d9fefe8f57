// The cost of a game frame and of its parts, against the yardstick of one
// plain 800x600 blit between 16-bit memory bitmaps measured in the same run.
// The pictures and fonts are the game's own, loaded from the built
// datafiles, so the cockpit's transparent windscreen and the real glyphs are
// what is measured.
#include <allegro.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "asset_catalogue.h"
#include "canister_label.h"
#include "drawing_kit.h"
#include "frame_scaling.h"
#include "game_frame.h"
#include "game_loop.h"
#include "keyboard_random_clock.h"
#include "bench_game_setup.h"
#include "platform.h"
#include "problem_generator.h"
#include "rail_effect.h"
#include "settings_menus.h"
#include "simulation_tick.h"

namespace {

// Mid-flight at level 3, the level banner gone: the canister half way,
// 144 / 12 in the cockpit, the score at six digits.
void set_flight(int timer) {
    level = 3;
    fuel = 42;
    fuel_pending = 0;
    phase = 300;
    view_offset_y = -25;
    score = 123450;
    problem = {144, 12, 4, 12};
    canister_variant = 1;
    render_label();
    canister_distance = 3000;
    canister_lane = 180000;
    canister_x_offset = 60;
    canister_y = 166;
    canister_scale = 100000.0 / 3000;
    answer_state = 2;
    answer_timer = timer;
    std::strcpy(typed_answer, "12");
    canister_speed = speed_table[level];
    set_draw_target(back_buffer);
}

// One tick of flight before each frame, as in play: the canister closes in
// and the view bobs. The answer is held where the benchmark put it, and the
// canister goes back to the horizon before it can reach the ship.
void fly_one_tick(int timer) {
    update_flight();
    answer_timer = timer;
    if (canister_distance < 2 * hit_distance) {
        canister_distance = launch_distance;
    }
}

void bm_yardstick_blit_800x600(benchmark::State& state) {
    BITMAP* source = create_bitmap(800, 600);
    blit(level_background[1], source, 0, 0, 0, 0, 800, 600);
    for (auto _ : state) {
        blit(source, back_buffer, 0, 0, 0, 0, 800, 600);
        benchmark::ClobberMemory();
    }
    destroy_bitmap(source);
}
BENCHMARK(bm_yardstick_blit_800x600);

// The same blit with sources that are not in the cache, as in a frame: each
// time another of the ten level pictures. Not the yardstick; shown beside it.
void bm_blit_800x600_cold_source(benchmark::State& state) {
    int next = 1;
    for (auto _ : state) {
        blit(level_background[next], back_buffer, 0, 0, 0, 0, 800, 600);
        next = next % 10 + 1;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_blit_800x600_cold_source);

// The beam on and the answer at rest, fading.
void bm_draw_game_frame(benchmark::State& state) {
    set_flight(230);
    for (auto _ : state) {
        fly_one_tick(230);
        draw_game_frame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_draw_game_frame);

// The answer on its way up.
void bm_draw_game_frame_answer_rising(benchmark::State& state) {
    set_flight(100);
    for (auto _ : state) {
        fly_one_tick(100);
        draw_game_frame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_draw_game_frame_answer_rising);

void bm_draw_rails(benchmark::State& state) {
    set_flight(230);
    draw_image(level_background[level], 0, view_offset_y);
    for (auto _ : state) {
        draw_rails();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_draw_rails);

// The two gauges' 185 columns.
void bm_draw_fuel_gauge(benchmark::State& state) {
    set_flight(230);
    for (auto _ : state) {
        draw_fuel_gauge();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_draw_fuel_gauge);

void bm_present_frame(benchmark::State& state) {
    set_flight(230);
    for (auto _ : state) {
        present_frame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_present_frame);

// A whole game frame shown full screen on 1920x1080: smoothly scaled to
// 1440x1080 on a 32-bit display, as the platform module presents it when
// every row changed. Beside the yardstick, not judged against it.
void bm_scale_frame_1440x1080_32_bits(benchmark::State& state) {
    set_flight(230);
    draw_game_frame();
    BITMAP* display = create_bitmap_ex(32, 1440, 1080);
    const scaling_plan plan = plan_scaling(800, 600, 1440, 1080);
    for (auto _ : state) {
        scale_picture(back_buffer, display, plan, {0, 0, 800, 600});
        benchmark::ClobberMemory();
    }
    destroy_bitmap(display);
}
BENCHMARK(bm_scale_frame_1440x1080_32_bits);

void bm_render_label(benchmark::State& state) {
    set_flight(230);
    for (auto _ : state) {
        render_label();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_render_label);

// Addition at difficulty 1 refuses more draws than any other setting.
void bm_new_problem_addition_1(benchmark::State& state) {
    topic = 1;
    difficulty = 1;
    seed_rand15(1);
    for (auto _ : state) {
        new_problem();
        benchmark::DoNotOptimize(problem.problem_answer);
    }
}
BENCHMARK(bm_new_problem_addition_1);

}  // namespace

#undef main

int main(int argc, char** argv) {
    if (!start_bench_game()) {
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

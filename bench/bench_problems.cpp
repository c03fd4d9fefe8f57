// The cost of making a problem in its slowest setting and of painting a
// canister label; both happen once per canister.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>

#include "asset_catalogue.h"
#include "canister_label.h"
#include "drawing_kit.h"
#include "keyboard_random_clock.h"
#include "problem_generator.h"
#include "settings_menus.h"

namespace {

// Addition at difficulty 1 refuses more attempts than any other setting.
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

void bm_render_label(benchmark::State& state) {
    back_buffer = create_bitmap(800, 600);
    label_bitmap = create_bitmap(280, 200);
    canister_picture_1 = create_bitmap(320, 200);
    canister_picture_2 = create_bitmap(320, 200);
    clear_to_color(canister_picture_1, makecol(90, 90, 90));
    clear_to_color(canister_picture_2, makecol(120, 60, 60));
    font_label = font;
    problem = {144, 12, 4, 12};
    canister_variant = 2;
    for (auto _ : state) {
        render_label();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_render_label);

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

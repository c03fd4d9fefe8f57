// What practice costs with a long history: a practice.csv of 4 MiB (the
// most the game reads, about seven years of a game a day) read and worked
// out when a round starts, when its report appears and when the fact map
// and refuel --report are drawn. The target is 100 ms for a round to start
// and for its report to appear.
#include <allegro.h>
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "fact_map_screen.h"
#include "known_by_week.h"
#include "high_score_table.h"
#include "bench_game_setup.h"
#include "platform.h"
#include "practice_csv.h"
#include "keyboard_random_clock.h"
#include "players.h"
#include "practice_file.h"
#include "practice_report_text.h"
#include "report_command.h"
#include "practice_screen.h"
#include "round_engine.h"

namespace {

const std::time_t now = std::time(nullptr);

// Games of 20 canisters of every topic at difficulty 2, one a day back from
// today, until the file holds 4 MiB.
void write_history(const char* path) {
    std::remove(path);
    practice_entry game[20];
    for (int day = 0;; ++day) {
        const int topic = 1 + day % 5;
        for (int i = 0; i < 20; ++i) {
            const int op = topic == 5 ? 1 + i % 4 : topic;
            const int a = (day * 7 + i * 3) % 11;
            const int b = 1 + (day + i) % 10;
            const int first = op == 2 ? a + b : op == 4 ? a * b : a;
            const int answer = op == 1 ? a + b : op == 2 ? a : op == 3 ? a * b : a;
            const int result = (day + i) % 9 == 0 ? practice_wrong : practice_right;
            game[i] = {1 + i / 5, first, op, b, answer, "", result, 120 + (day * i) % 400};
            (void)std::snprintf(game[i].entered, sizeof game[i].entered, "%d", answer + result);
        }
        const practice_game g{now - (5000 - day) * 86400L, 2, topic, day % 3 == 0};
        if (!append_practice_game(path, game, 20, g)) {
            std::abort();
        }
        struct stat st {};
        if (stat(path, &st) != 0 || st.st_size >= practice_read_limit) {
            return;
        }
    }
}

std::vector<fact_fluency> read_fluency() {
    std::vector<practice_row> rows;
    (void)read_practice_history(practice_path(), rows);
    return fluency_of(rows, now);
}

// The history read and the next round planned by the round engine.
void bm_round_start_4mib(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<practice_row> rows;
        (void)read_practice_history(practice_path(), rows);
        benchmark::DoNotOptimize(plan_next_round(rows, {3, 2, {}, "", {}}, now, rand15));
    }
}
BENCHMARK(bm_round_start_4mib)->Unit(benchmark::kMillisecond);

// The history read again with the round appended, and the report drawn.
void bm_round_report_4mib(benchmark::State& state) {
    practice_entry round[20] = {};
    for (practice_entry& e : round) {
        e = {1, 7, 3, 8, 56, "56", practice_right, 250};
    }
    for (auto _ : state) {
        (void)append_practice_game(practice_path(), round, 20, {now, 2, 3, true});
        const std::vector<fact_fluency> fluency = read_fluency();
        draw_practice_report({round,
                              20,
                              {now, 2, 3, true},
                              "",
                              1,
                              facts_to_practise(fluency, practice_next_rows),
                              true});
    }
}
BENCHMARK(bm_round_report_4mib)->Unit(benchmark::kMillisecond);

void bm_fact_map_4mib(benchmark::State& state) {
    const std::vector<fact_fluency> fluency = read_fluency();
    for (auto _ : state) {
        draw_fact_map(make_fact_map(1, 4, fluency, now));
    }
}
BENCHMARK(bm_fact_map_4mib)->Unit(benchmark::kMillisecond);

// PRACTISE NEXT ranked from the memory model, never-met facts of a set
// among them (each judged by its table).
void bm_practise_next_4mib(benchmark::State& state) {
    const std::vector<fact_fluency> fluency = read_fluency();
    const std::vector<arithmetic_fact> unmet = facts_of_set(3, 2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(facts_to_practise(fluency, practice_next_rows, unmet));
    }
}
BENCHMARK(bm_practise_next_4mib)->Unit(benchmark::kMillisecond);

// The week chart: every fact's memory judged at each week's end.
void bm_week_chart_4mib(benchmark::State& state) {
    std::vector<practice_row> rows;
    (void)read_practice_history(practice_path(), rows);
    for (auto _ : state) {
        benchmark::DoNotOptimize(facts_known_by_week(rows, now, 12));
    }
}
BENCHMARK(bm_week_chart_4mib)->Unit(benchmark::kMillisecond);

void bm_text_report_4mib(benchmark::State& state) {
    std::FILE* out = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        benchmark::DoNotOptimize(print_practice_report(out, out, now));
    }
    std::fclose(out);
}
BENCHMARK(bm_text_report_4mib)->Unit(benchmark::kMillisecond);

}  // namespace

#undef main

int main(int argc, char** argv) {
    if (!start_bench_game()) {
        return 2;
    }
    char scratch[] = "/tmp/refuel-bench-XXXXXX";
    if (mkdtemp(scratch) == nullptr) {
        return 2;
    }
    high_score_path = std::string(scratch) + "/hiscores.dat";
    write_history(practice_path().c_str());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(practice_path().c_str());
    rmdir(scratch);
    return 0;
}

// A class's report: 40 players with a year of history each, read and
// reported as text and as the progress page.
// bench_class_report --make-class FOLDER writes such a class (players.txt and
// a practice file each) for bench/class_report.sh to time the real binary on.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "data_file.h"
#include "fact_sets.h"
#include "known_by_week.h"
#include "player_histories.h"
#include "player_report.h"
#include "report_command.h"
#include "players.h"
#include "progress_page.h"

namespace {

constexpr int class_size = 40;
constexpr int days = 365;
constexpr std::time_t now = 1796644800;  // 2026-12-07, around noon

unsigned int seed = 12345;
int draw(int n) {
    seed = seed * 1103515245U + 12345U;
    return static_cast<int>((seed >> 16) % static_cast<unsigned int>(n));
}

// A child who plays four days a week: a game of 30 canisters and a round of
// 12, of multiplication, division or addition, getting better over the year.
std::string year_of(int child) {
    std::string text =
        "date,difficulty,topic,level,problem,first,operation,second,answer,"
        "entered,result,seconds,canister,canisters,kind\n";
    for (int day = days; day > 0; --day) {
        if (draw(7) >= 4) {
            continue;
        }
        for (const bool round : {false, true}) {
            const int count = round ? 12 : 30;
            constexpr int topics[] = {1, 3, 4};
            const int topic = topics[(child + day) % 3];
            std::vector<practice_entry> entries(static_cast<std::size_t>(count));
            for (int i = 0; i < count; ++i) {
                practice_entry& e = entries[static_cast<std::size_t>(i)];
                e.level = 1 + i / 10;
                e.operation = topic;
                e.operand_a = 1 + draw(10);
                e.operand_b = 1 + draw(10);
                if (topic == 4) {
                    e.operand_a *= e.operand_b;
                }
                e.answer = fact_answer(e.operation, e.operand_a, e.operand_b);
                const int skill = 40 + 55 * (days - day) / days;  // % right, over the year
                e.result = draw(100) < skill ? practice_right
                           : draw(3) == 0    ? practice_missed
                                             : practice_wrong;
                e.ticks = 80 + draw(e.result == practice_right ? 400 : 700);
                (void)std::snprintf(e.entered, sizeof e.entered, "%d",
                                    e.result == practice_right ? e.answer : e.answer + 1);
                e.entered[0] = e.result == practice_missed ? '\0' : e.entered[0];
            }
            const practice_game game{
                now - static_cast<std::time_t>(day) * 86400 + (round ? 600 : 0), 1 + child % 3,
                topic, round};
            text += practice_csv_rows(entries.data(), count, game);
        }
    }
    return text;
}

void make_class(const std::string& folder) {
    std::string list;
    for (int child = 0; child < class_size; ++child) {
        char name[16];
        (void)std::snprintf(name, sizeof name, "PUPIL%02d", child + 1);
        list += std::string(name) + "\n";
    }
    if (!replace_data_file(folder + "/players.txt", {list.begin(), list.end()})) {
        std::perror(folder.c_str());
        std::exit(1);
    }
    player_list players;
    (void)read_player_entries(folder + "/players.txt", players);
    for (int child = 0; child < class_size; ++child) {
        const std::string year = year_of(child);
        (void)replace_data_file(
            folder + "/" + players.players[static_cast<std::size_t>(child)].file,
            {year.begin(), year.end()});
    }
}

std::string class_folder;

void bm_class_report_text(benchmark::State& state) {
    std::FILE* none = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        const std::vector<player_history> players = gathered_histories({class_folder}, now);
        benchmark::DoNotOptimize(print_player_report(none, none, players, class_folder, now));
    }
    std::fclose(none);
}
BENCHMARK(bm_class_report_text)->Unit(benchmark::kMillisecond);

void bm_class_report_page(benchmark::State& state) {
    for (auto _ : state) {
        const std::vector<player_history> players = gathered_histories({class_folder}, now);
        benchmark::DoNotOptimize(progress_page(players, class_folder, now).size());
    }
}
BENCHMARK(bm_class_report_page)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--make-class") == 0) {
        make_class(argv[2]);
        return 0;
    }
    char folder[] = "/tmp/refuel-class-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return 1;
    }
    class_folder = folder;
    make_class(class_folder);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    (void)std::system(("rm -rf '" + class_folder + "'").c_str());
    return 0;
}

// The reader of practice.csv on the most the game reads, its last 4 MiB
// (about seven years of a game a day): as the game writes the file, and as
// a German spreadsheet saves it back (';' between fields, decimal commas, a
// note in a column after ours, every game's rows in reverse). The target is
// 100 ms for either.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "practice_csv.h"
#include "practice_file.h"

namespace {

std::string scratch;

// Games of 20 canisters, one a day back from today, until there are 4 MiB.
std::vector<std::string> game_lines() {
    const std::time_t now = std::time(nullptr);
    std::vector<std::string> games;
    practice_entry game[20];
    std::size_t size = 0;
    for (int day = 0; size < static_cast<std::size_t>(practice_read_limit); ++day) {
        for (int i = 0; i < 20; ++i) {
            const int a = (day * 7 + i * 3) % 11;
            const int b = 1 + (day + i) % 10;
            const bool wrong = (day + i) % 9 == 0;
            game[i] = {1 + i / 5,
                       a,
                       3,
                       b,
                       a * b,
                       "",
                       wrong ? practice_wrong : practice_right,
                       120 + (day * i) % 400};
            (void)std::snprintf(game[i].entered, sizeof game[i].entered, "%d", a * b + wrong);
        }
        games.push_back(practice_csv_rows(game, 20, {now - (5000 - day) * 86400L, 2, 3, false}));
        size += games.back().size();
    }
    return games;
}

std::string as_saved_in_german(const std::string& game) {
    std::vector<std::string> rows;
    for (std::size_t at = 0, end; at < game.size(); at = end + 1) {
        end = game.find('\n', at);
        std::string row = game.substr(at, end - at);
        std::replace(row.begin(), row.end(), ',', ';');
        std::replace(row.begin(), row.end(), '.', ',');
        rows.push_back(row + ";\"a note\"\n");
    }
    std::string out;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        out += *row;
    }
    return out;
}

void bm_read_4mib(benchmark::State& state) {
    const std::string path = scratch + (state.range(0) == 0 ? "/written.csv" : "/saved.csv");
    std::size_t rows = 0;
    for (auto _ : state) {
        std::vector<practice_row> read;
        (void)read_practice_history(path, read);
        rows = read.size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
// 0: as written; 1: as a German spreadsheet saves it.
BENCHMARK(bm_read_4mib)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    char folder[] = "/tmp/refuel-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return 2;
    }
    scratch = folder;
    {
        std::ofstream written(scratch + "/written.csv", std::ios::binary);
        std::ofstream saved(scratch + "/saved.csv", std::ios::binary);
        written << practice_csv_header;
        saved << "date;difficulty;topic;level;problem;first;operation;second;answer;entered;"
                 "result;seconds;canister;canisters;kind;note\n";
        for (const std::string& game : game_lines()) {
            written << game;
            saved << as_saved_in_german(game);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    (void)std::remove((scratch + "/written.csv").c_str());
    (void)std::remove((scratch + "/saved.csv").c_str());
    rmdir(folder);
    return 0;
}

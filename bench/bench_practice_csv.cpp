// The reader of practice.csv on the most the game reads, its last 4 MiB
// (about seven years of a game a day): as the game writes the file, and as
// a German spreadsheet saves it back (';' between fields, decimal commas, a
// note in a column after ours, every game's rows in reverse). The target is
// 100 ms for either, and for each hostile shape a file of 4 MiB can take:
// one date throughout with every row the first canister of a game of a
// different count, one game of every row, every canister count of one
// date, every column full to the longest line, and the first of these as a
// spreadsheet saves it (';', reversed).
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

// One row of canister `canister` of `count`, all of one date.
std::string hostile_row(int canister, int count, int i) {
    practice_entry e{1, i % 11, 3, 1 + i % 10, (i % 11) * (1 + i % 10), "", practice_right, 150};
    (void)std::snprintf(e.entered, sizeof e.entered, "%d", e.answer);
    std::string row = practice_csv_rows(&e, 1, {1796000000, 2, 3, false});
    row.resize(row.rfind(",1,1,"));
    return row + "," + std::to_string(canister) + "," + std::to_string(count) + ",game\n";
}

// The hostile shapes, as many rows as fit in 4 MiB.
std::string hostile_file(int shape) {
    std::string out = practice_csv_header;
    const std::size_t limit = static_cast<std::size_t>(practice_read_limit) - 600;
    const std::string full(practice_longest_line - 120, 'x');
    int count_of = 1;
    int canister = 1;
    for (int i = 0; out.size() < limit; ++i) {
        switch (shape) {
            case 0:  // a game started by every row, each of its own count
                out += hostile_row(1, i + 2, i);
                break;
            case 1:  // one game of every row
                out += hostile_row(i + 1, 80000, i);
                break;
            case 2:  // games of every count, each whole
                out += hostile_row(canister, count_of, i);
                if (canister++ == count_of) {
                    canister = 1;
                    ++count_of;
                }
                break;
            default: {  // every column full: the longest line, quoted
                std::string row = hostile_row(1, i + 2, i);
                row.insert(row.size() - 1, ",\"" + full + "\"");
                out += row;
            }
        }
    }
    return out;
}

const char* const hostile_names[] = {"one_date_every_count", "one_huge_game",
                                     "every_canister_count", "all_columns_full",
                                     "one_date_as_saved"};

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

void bm_read_hostile_4mib(benchmark::State& state) {
    const std::string path = scratch + "/" + hostile_names[state.range(0)] + ".csv";
    std::size_t rows = 0;
    for (auto _ : state) {
        std::vector<practice_row> read;
        int unread = 0;
        (void)read_practice_history(path, read, &unread);
        rows = read.size() + static_cast<std::size_t>(unread);
    }
    state.SetLabel(hostile_names[state.range(0)]);
    state.counters["lines"] = static_cast<double>(rows);
}
BENCHMARK(bm_read_hostile_4mib)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

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
    for (int shape = 0; shape < 4; ++shape) {
        std::ofstream(scratch + "/" + hostile_names[shape] + ".csv", std::ios::binary)
            << hostile_file(shape);
    }
    {
        // As a spreadsheet saves the first: ';' between fields, rows reversed.
        std::string file = hostile_file(0);
        std::replace(file.begin(), file.end(), ',', ';');
        std::vector<std::string> lines;
        for (std::size_t at = 0, end; at < file.size(); at = end + 1) {
            end = file.find('\n', at);
            lines.push_back(file.substr(at, end - at + 1));
        }
        std::ofstream saved(scratch + "/" + hostile_names[4] + ".csv", std::ios::binary);
        saved << lines.front();
        for (auto line = lines.rbegin(); line + 1 != lines.rend(); ++line) {
            saved << *line;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    (void)std::remove((scratch + "/written.csv").c_str());
    (void)std::remove((scratch + "/saved.csv").c_str());
    for (const char* name : hostile_names) {
        (void)std::remove((scratch + "/" + name + ".csv").c_str());
    }
    rmdir(folder);
    return 0;
}

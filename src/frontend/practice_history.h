#pragma once
// practice.csv, beside hiscores.dat: one row per canister of every finished
// game, for a parent or teacher to open in a spreadsheet, and for the game to
// pick the facts to practise. A game goes in with one append of all its rows;
// the file is read back defensively and never rewritten.

#include <cstddef>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "practice_record.h"

struct practice_row {
    std::time_t when;  // the end of its game, the same on all the game's rows
    int difficulty;    // 1..4
    int topic;         // 1..5
    int canister;      // 1-based within its game
    int canisters;     // rows of its game: the reader keeps only whole games
    practice_entry entry;
};

// A problem without its order for + and x (3x7 is 7x3), as it stands for -
// and /; for + and x the smaller operand is operand_a.
struct practice_fact {
    int operation;
    int operand_a;
    int operand_b;
    int answer;
    int misses;        // wrong or missed in the window
    int median_ticks;  // of its answers in the window; -1 when it was only missed
};

constexpr int practice_window_days = 30;
constexpr long practice_read_limit = 4L << 20;  // only the file's last 4 MiB are read

// practice.csv in the folder of high_score_path.
std::string practice_path();

// The CSV rows of one game ended at `when`, each ended by a newline.
std::string practice_csv_rows(const practice_entry* entries, int count, std::time_t when,
                              int difficulty, int topic);
extern const char* const practice_csv_header;

// Appends the game to the file in one write (with the header when the file
// is new or empty). False when it could not be written whole.
bool append_practice_game(const std::string& path, const practice_entry* entries, int count,
                          std::time_t when, int difficulty, int topic);

// The rows of the whole games in the bytes, in file order. Rows that do not
// read back exactly as this program writes them are skipped, and so are the
// rows of a game whose last row is not there (an append cut short).
std::vector<practice_row> parse_practice_csv(const char* bytes, std::size_t size);
// The same for the last practice_read_limit bytes of the file; nothing when
// it is missing or cannot be read.
std::vector<practice_row> read_practice_history(const std::string& path);

// The facts with the most wrong or missed answers in the window before now,
// then the slowest; a fact answered right three times in a row since its last
// miss is left out. At most `most`.
std::vector<practice_fact> facts_to_practise(const std::vector<practice_row>& rows, std::time_t now,
                                             int most);
// -1 for none; the mean of the middle two for an even count.
int median_ticks(std::vector<int> ticks);
// Texts into out: "7x8", "7x8 = 56", "2.35" (the file's seconds) and "2.3 s"
// (a median as shown, "-" for none).
void problem_text(char* out, std::size_t size, int operand_a, int operation, int operand_b);
void fact_text(char* out, std::size_t size, const practice_fact& fact);
void seconds_text(char* out, std::size_t size, int ticks);
void median_text(char* out, std::size_t size, int ticks);

// The report for a parent or teacher, from practice.csv: games and
// canisters in the window, each operation's share right and median time,
// then the ten facts to practise.
void print_practice_report(std::FILE* out, std::time_t now);

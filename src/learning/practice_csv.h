#pragma once
// practice.csv, beside hiscores.dat: one row per canister of every finished
// game and practice round, for a parent or teacher to open in a spreadsheet,
// and for the game to work out which facts the player knows: the text of
// its rows, and the rows read back from its bytes. The file itself is
// appended to and read by practice_file.

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "practice_entry.h"

// What the rows of one game or round share.
struct practice_game {
    std::time_t when;  // its end
    int difficulty;    // 1..4
    int topic;         // 1..5
    bool round;        // a practice round rather than a game
};

struct practice_row {
    practice_game game;
    int canister;   // 1-based within its game
    int canisters;  // rows of its game: the reader keeps only whole games
    practice_entry entry;
};

constexpr int practice_longest_line = 512;  // well above any row this program writes
extern const char* const practice_csv_header;

// The CSV rows of one game, each ended by a newline.
std::string practice_csv_rows(const practice_entry* entries, int count, const practice_game& game);

// What goes before a game's rows appended to a file that ends in `tail`
// (its last practice_longest_line + 2 bytes, or fewer): the header when the
// file is empty or its last whole line is of the first version's layout (so
// that a spreadsheet labels the columns that follow), and a newline first
// when the file ends in the middle of a row (an append cut short).
std::string practice_block_start(const char* tail, std::size_t size, bool file_empty);

// The rows of the whole games in the bytes, in file order (the file is only
// ever appended to: its order is the true one, whatever the clock said),
// each game's rows in canister order: rows as this program writes them, as
// a spreadsheet saves them back (',' or ';' between fields, decimal commas,
// columns added after ours, rows sorted), or in the layout of the first
// version. Other lines are skipped, and so is every row of a game that lacks
// one of its rows (an append cut short, a damaged line); a first-version
// fact a spreadsheet turned into a date is mended when it can be, else
// only that row is lost. `unread`, when given, gets the number of lines
// that were neither headers, blank nor rows kept.
std::vector<practice_row> parse_practice_csv(const char* bytes, std::size_t size,
                                             int* unread = nullptr);

// Whether two rows are of games alike in all they share (end, kind,
// difficulty, topic, canisters).
bool same_game(const practice_row& a, const practice_row& b);
// Whether the row begins a game of the rows parse_practice_csv gave, after
// `previous` (nullptr for the first row). A game is counted by this, not by
// its canister 1, which may be the row a damaged fact took away.
bool starts_game(const practice_row* previous, const practice_row& row);

#pragma once
// practice.csv, beside hiscores.dat: one row per canister of every finished
// game and practice round, for a parent or teacher to open in a spreadsheet,
// and for the game to work out which facts the player knows. A game goes in
// with one append of all its rows; the file is read back defensively and
// never rewritten.

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "practice_record.h"

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

constexpr long practice_read_limit = 4L << 20;  // only the file's last 4 MiB are read

extern const char* const practice_csv_header;

// practice.csv in the folder of high_score_path.
std::string practice_path();

// The CSV rows of one game, each ended by a newline.
std::string practice_csv_rows(const practice_entry* entries, int count, const practice_game& game);

// Appends the game to the file in one write, making its folder first; the
// header goes before it when the file is new, empty or ends in rows of the
// older layout. A link in the file's place is followed only as far as the
// player's own links lead (data_file_target). False when the
// game could not be written whole.
bool append_practice_game(const std::string& path, const practice_entry* entries, int count,
                          const practice_game& game);

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

enum practice_file_state { practice_file_read, practice_file_missing, practice_file_unreadable };
// The same for the last practice_read_limit bytes of the file. A file that
// is not there reads as no rows; one that is there but cannot be read (a
// link, a folder, a FIFO, an error) reads as no rows and says so.
practice_file_state read_practice_history(const std::string& path, std::vector<practice_row>& rows,
                                          int* unread = nullptr);

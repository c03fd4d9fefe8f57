#pragma once
// A player's practice.csv on disk: a game goes in with one append of all
// its rows; the file is read back defensively and never rewritten.

#include <string>
#include <vector>

#include "practice_csv.h"

constexpr long practice_read_limit = 4L << 20;  // only the file's last 4 MiB are read

// Appends the game to the file in one write, making its folder first; the
// header goes before it when the file is new, empty or ends in rows of the
// older layout. A link in the file's place is followed only as far as the
// player's own links lead (data_file_target). False when the
// game could not be written whole.
bool append_practice_game(const std::string& path, const practice_entry* entries, int count,
                          const practice_game& game);

enum practice_file_state { practice_file_read, practice_file_missing, practice_file_unreadable };
// The rows of the last practice_read_limit bytes of the file. A file that
// is not there reads as no rows; one that is there but cannot be read (a
// link, a folder, a FIFO, an error) reads as no rows and says so.
practice_file_state read_practice_history(const std::string& path, std::vector<practice_row>& rows,
                                          int* unread = nullptr);

#pragma once
// Who plays: each child a name and a practice history of their own.
// players.txt beside hiscores.dat lists the names, one a line, the first
// player's first; that line is empty while the first player has no name.
// The first player keeps practice.csv (so a history from before there were
// players stays theirs, read in full, never moved); every other player has
// practice-NAME.csv, the name encoded so that it can never be a path.
// Names are data: printable ASCII, letters in capitals as the name box
// shows them, at most high_score_name_length characters.

#include <string>
#include <vector>

#include "high_score_table.h"

constexpr int player_name_length = high_score_name_length;
extern const char* const players_file_name;    // "players.txt"
extern const char* const first_practice_file;  // "practice.csv"

// The name that text stands for: spaces around it dropped, letters in
// capitals. False (with why) when it is empty, too long or holds a
// character that is not printable ASCII.
bool player_name_of(const std::string& text, std::string& name, std::string& why);

// Letters and digits as they are; every other character as %XX.
std::string encode_player_name(const std::string& name);
// practice.csv for the first player (list[0], or any player while the
// list is empty), else practice-ENCODED.csv.
std::string practice_file_of(const std::vector<std::string>& players, const std::string& name);
// The player a practice-ENCODED.csv file name stands for; false for any
// other file name or an encoding this program would not write.
bool player_of_practice_file(const std::string& file_name, std::string& name);

// The list in a players.txt: lines that are not names are skipped, and so
// is a name met before. Empty when the file is missing or unreadable.
std::vector<std::string> read_player_list(const std::string& path);
// Puts name in the list under a lock (saved through a new file and a
// rename). A new list starts with an unnamed first player when
// first_has_history (practice.csv already holds games). False when the
// list could not be saved.
bool add_player(const std::string& path, const std::string& name, bool first_has_history);
// Gives the unnamed first player a name; false when it is taken or the
// list could not be saved.
bool name_first_player(const std::string& path, const std::string& name);

// The folder of hiscores.dat as a prefix ("" for the working folder), and
// the files of the players there.
std::string game_data_folder();
std::string players_path();

// The player playing now: their name ("" for the first player without
// one), and the practice file their games go to. player_name_for_scores is
// what the high-score name box starts with: set only once a player has been
// chosen, by the player screen or --player.
extern std::string current_player;
extern std::string current_practice_file;  // empty: practice.csv
extern std::string player_name_for_scores;
// Makes name (one player_name_of gave) the current player (adding it to the list when new). False
// with a message when the list could not be saved; the player still plays.
bool choose_player(const std::string& name, std::string& message);
// The current player's practice file in the folder of hiscores.dat.
std::string current_practice_path();
// The shown name of a list entry: "first player" while unnamed.
std::string shown_player_name(const std::string& name);

#pragma once
// The players of this computer: players.txt beside hiscores.dat, changed
// under its lock, and the player playing now.

#include <string>
#include <vector>

#include "high_score_table.h"
#include "player_names.h"

static_assert(player_name_length == high_score_name_length,
              "a player's name goes into the high-score name box whole");

// The list in a players.txt (player_list_of its text). Empty when the file
// is missing or unreadable.
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
std::string practice_path();

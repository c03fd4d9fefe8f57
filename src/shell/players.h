#pragma once
// The players of this computer: players.txt beside hiscores.dat, changed
// under its lock, and the player playing now.

#include <string>
#include <vector>

#include "high_score_table.h"
#include "player_names.h"

static_assert(player_name_length == high_score_name_length,
              "a player's name goes into the high-score name box whole");

enum player_list_state {
    player_list_read,        // (or there is none yet)
    player_list_unreadable,  // there, but not read whole: never written over
};
// The list in a players.txt (player_list_of its text); empty when missing.
player_list_state read_player_entries(const std::string& path, player_list& list);
// The names only: empty when the list is missing or unreadable.
std::vector<std::string> read_player_list(const std::string& path);

// How a change to the list went.
enum player_list_change {
    list_changed,     // saved (or nothing needed saving)
    list_refused,     // the change cannot be made (a name taken)
    list_busy,        // another copy held the lock all along: nothing written
    list_unreadable,  // the list could not be read whole: nothing written
    list_not_saved,   // the place refused, or the new list could not be written
};
// How long a change waits for another copy holding the list's lock; the
// list is never changed without it.
extern int player_list_lock_patience_ms;
// Puts name in the list under its lock (saved through a new file and a
// rename). A new list starts with an unnamed first player when
// first_has_history (practice.csv already holds games).
player_list_change add_player(const std::string& path, const std::string& name,
                              bool first_has_history);
// Gives the unnamed first player a name; list_refused when the name is
// taken or the first player has one.
player_list_change name_first_player(const std::string& path, const std::string& name);
// What the game says when a change went otherwise than list_changed.
std::string player_list_message(player_list_change change, const std::string& path,
                                const std::string& name);

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
// Makes name (one player_name_of gave) the current player (adding it to the
// list when new). False with a message when they could not be listed; the
// player still plays, into the file the list would give them, or, when the
// list could not be read, into none that another child's could be.
bool choose_player(const std::string& name, std::string& message);
// The current player's practice file in the folder of hiscores.dat.
std::string practice_path();

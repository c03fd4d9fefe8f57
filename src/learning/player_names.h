#pragma once
// The children who play, as names and as the text of players.txt: the
// first player's line first, empty while the first player has no name. The
// first player keeps practice.csv (so a history from before there were
// players stays theirs, read in full, never moved); every other player has
// practice-NAME.csv, the name encoded so that it can never be a path.
// Names are data: printable ASCII, letters in capitals as the name box
// shows them, at most player_name_length characters.

#include <string>
#include <vector>

constexpr int player_name_length = 7;          // as long as a high-score name
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

// The list in the text of a players.txt: lines that are not names are
// skipped, and so is a name met before.
std::vector<std::string> player_list_of(const std::string& text);
// The text of a players.txt that lists the players.
std::string player_list_text(const std::vector<std::string>& players);

// The shown name of a list entry: "first player" while unnamed.
std::string shown_player_name(const std::string& name);

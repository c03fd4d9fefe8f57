#pragma once
// The children who play, as names and as the text of players.txt. Each
// line names a player and then the practice file that is theirs
// ("ANNA practice.csv", "BOB practice-BOB.csv"; a file alone is the first
// player, who has no name yet), so no edit of its order, case, blank lines
// or line ends hands one child's file to another. The first player keeps
// practice.csv (so a history from before there were players stays theirs,
// read in full, never moved); every other player has practice-NAME.csv, the
// name encoded so that it can never be a path. A list of the older kind, a
// name a line, is read as it was meant: its first line owns practice.csv
// (empty while that player had no name).
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
struct player_entry {
    std::string name;  // "" for the first player while unnamed
    std::string file;  // practice.csv or practice-ENCODED.csv, in the list's folder
};
struct player_list {
    std::vector<player_entry> players;
    // Lines that are no entry (nor blank, nor the heading): never read as a
    // player, kept as they are when the list is written again.
    std::vector<std::string> other_lines;
};

// The file the list gives the player; a player not listed gets the file a
// new entry would: practice.csv while nobody has it and the list is empty,
// else practice-ENCODED.csv (with -2, -3... while that one is taken).
std::string practice_file_of(const player_list& list, const std::string& name);
// Names only, in list order.
std::vector<std::string> player_names_of(const player_list& list);
// Whether a file name is one a list entry may name.
bool is_practice_file_name(const std::string& file_name);
// The player a practice-ENCODED.csv file name stands for; false for any
// other file name or an encoding this program would not write.
bool player_of_practice_file(const std::string& file_name, std::string& name);

// The list in the text of a players.txt, either kind, '\r' before a
// newline and a last line without one read too. A name met before, or a
// file another entry has, is kept among the other lines.
player_list player_list_of(const std::string& text);
// The text of a players.txt: the heading, each entry, then the other lines.
std::string player_list_text(const player_list& list);

// The shown name of a list entry: "first player" while unnamed.
std::string shown_player_name(const std::string& name);

#pragma once
// Where the game reads its datafiles and keeps hiscores.dat. The datafiles
// are looked for in the working folder (as the game has always done) when it
// holds all three, then beside the binary (the run/ layout), then in
// ../share/games/refuel/ from the binary (an installed game, whatever its
// prefix). The table stays beside the datafiles in a folder of the game's
// own that the player can write; otherwise each player has one in
// $XDG_DATA_HOME/refuel/ (~/.local/share/refuel/).

#include <functional>
#include <string>

// What a folder holds, as bits.
enum folder_fact {
    holds_datafiles = 1,  // any of the three
    writable_folder = 2,
    holds_scores = 4,
    holds_all_datafiles = 8
};

// Everything the choice depends on, so it can be made without a file system.
// Folders are prefixes: empty for the working folder, else ending in '/'.
struct path_facts {
    std::string binary_folder;  // empty when the binary cannot be found
    std::string home;
    std::string xdg_data_home;
    std::function<int(const std::string& folder)> probe;  // folder_fact bits
};

struct game_paths {
    std::string data_folder;  // empty when no folder holds any datafile
    std::string score_file;
    // The table shown until the first save: one in the datafiles' folder
    // when that cannot be written. Empty when there is none.
    std::string seed_score_file;
};

game_paths find_game_paths(const path_facts& facts);
// The facts of this process: /proc/self/exe, HOME (else the password
// database), XDG_DATA_HOME and the real folders.
path_facts machine_path_facts();

// The folder the datafiles are read from, as a prefix (set at start-up).
extern std::string data_folder;
std::string datafile_path(const char* name);

// Makes the missing folders above a file (mode 0700), so the first save of
// a table makes its folder; one that cannot be made fails the save itself.
void make_folders_for(const std::string& file);

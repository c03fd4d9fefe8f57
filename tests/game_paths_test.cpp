// Where the datafiles and the scores are looked for; the player's folder made by a save only.

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <map>
#include <string>

#include "game_paths.h"
#include "high_score_table.h"
#include "scratch_folder.h"

namespace {

// A folder holds datafiles (some, all three), can be written, holds a table.
constexpr int dat = holds_datafiles, all = dat | holds_all_datafiles, wr = writable_folder,
              tab = holds_scores;
const std::string bin = "/g/bin/", share = "/g/share/games/refuel/";
const std::string player = "/home/ann/.local/share/refuel/hiscores.dat";
const std::string by_xdg = "/x/refuel/hiscores.dat", in_bin = bin + "hiscores.dat";

struct path_case {
    const char* name;
    std::map<std::string, int> folders;  // "" is the working folder
    const char* xdg;
    std::string data_folder, score_file, shown_until_saved = "";
} const cases[] = {
    {"working folder first", {{"", all | wr}, {bin, dat | wr}}, "", "", "hiscores.dat"},
    {"a stray datafile in the working folder", {{"", dat | wr}, {bin, dat | wr}}, "", bin, in_bin},
    {"run layout", {{bin, dat | wr}, {share, dat}}, "/x", bin, in_bin},
    {"installed, XDG unset", {{share, dat | wr | tab}}, "", share, player},
    {"installed, XDG set", {{share, dat}}, "/x", share, by_xdg},
    {"unwritable, XDG relative", {{bin, dat}}, "x", bin, player},
    {"unwritable, a table there", {{bin, dat | tab}}, "", bin, player, in_bin},
    {"nothing found", {{"", wr}, {bin, wr}}, "/x", "", by_xdg},
};

TEST(game_paths, data_and_scores_are_looked_for_in_order) {
    for (const path_case& c : cases) {
        const auto probe = [&c](auto& f) { return c.folders.count(f) ? c.folders.at(f) : 0; };
        const game_paths found = find_game_paths({bin, "/home/ann", c.xdg, probe});
        EXPECT_EQ(found.data_folder, c.data_folder) << c.name;
        EXPECT_EQ(found.score_file, c.score_file) << c.name;
        EXPECT_EQ(found.seed_score_file, c.shown_until_saved) << c.name;
    }
}

TEST(game_paths, the_players_folder_is_made_by_the_first_save_from_the_table_in_view) {
    scratch_folder folder;
    std::ofstream("sounds.dat");  // a stray file: not the game's folder
    path_facts facts = machine_path_facts();
    EXPECT_EQ(facts.probe(""), holds_datafiles | writable_folder);
    facts.xdg_data_home = folder.path() + "/xdg";
    high_score_path = find_game_paths(facts).score_file;
    EXPECT_EQ(high_score_path, folder.path() + "/xdg/refuel/hiscores.dat");
    std::ofstream("unwritable.dat") << "\x30\x39" << std::string(8, '\0');  // best 12345
    high_score_seed_path = "unwritable.dat";
    load_high_scores();
    EXPECT_EQ(high_scores[0], 12345);
    EXPECT_NE(access((folder.path() + "/xdg").c_str(), F_OK), 0) << "made before a save";
    EXPECT_TRUE(save_high_scores());
    high_score_seed_path = "";
    high_score_path = "hiscores.dat";
    decode_high_scores(nullptr, 0);
}

}  // namespace

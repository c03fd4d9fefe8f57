// Players: names as data, the list, a history each, and the report over them.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "known_by_week.h"
#include "player_histories.h"
#include "player_report.h"
#include "report_command.h"
#include "high_scores.h"
#include "menu_test_support.h"
#include "player_menu.h"
#include "players.h"
#include "progress_page.h"
#include "practice_test_support.h"
#include "scratch_folder.h"

namespace {

std::string file_text(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

void append_game(const std::string& path, std::time_t when, const std::string& fact, int result) {
    const practice_row row = answer_row(when, fact, result, 150);
    ASSERT_TRUE(append_practice_game(path, &row.entry, 1, row.game));
}

// The tests after a test that chooses a player play as nobody in particular.
struct forget_player {
    ~forget_player() {
        current_player.clear();
        current_practice_file.clear();
        player_name_for_scores.clear();
    }
};

std::string report_of(const std::vector<player_history>& players, int expected_status) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    std::FILE* none = std::fopen("/dev/null", "w");
    EXPECT_EQ(print_player_report(out, none, players, "here", at(0)), expected_status);
    std::fclose(out);
    std::fclose(none);
    std::string report(text, size);
    std::free(text);
    return report;
}

// Names that look like paths or markup are names like any other: their file
// is inside the folder, one of its own, and reads back as the same name.
TEST(players, names_that_look_like_paths_or_markup) {
    struct name_case {
        const char* typed;
        const char* name;  // "" when refused
        const char* file;
        const char* html;
    } const cases[] = {
        {"ann", "ANN", "practice-ANN.csv", "ANN"},
        {" Bo 2 ", "BO 2", "practice-BO%202.csv", "BO 2"},
        {"../..", "../..", "practice-%2E%2E%2F%2E%2E.csv", "../.."},
        {"/etc", "/ETC", "practice-%2FETC.csv", "/ETC"},
        {"<b>&amp", "<B>&AMP", "practice-%3CB%3E%26AMP.csv", "&lt;B&gt;&amp;AMP"},
        {"a,\"b'", "A,\"B'", "practice-A%2C%22B%27.csv", "A,&quot;B&#39;"},
        {"100%", "100%", "practice-100%25.csv", "100%"},
        {"12345678", "", "", ""},
        {"", "", "", ""},
        {"a\nb", "", "", ""},
    };
    const std::vector<std::string> players = {"FIRST", "OTHER"};
    for (const name_case& c : cases) {
        std::string name;
        std::string why;
        const bool taken = player_name_of(c.typed, name, why);
        EXPECT_EQ(taken ? name : "", c.name) << c.typed;
        if (!taken) {
            EXPECT_FALSE(why.empty());
            continue;
        }
        EXPECT_EQ(practice_file_of(players, name), c.file);
        EXPECT_EQ(html_escaped(name), c.html);
        std::string back;
        EXPECT_TRUE(player_of_practice_file(c.file, back));
        EXPECT_EQ(back, name);
    }
    // Only the spelling this program writes names a player.
    std::string name;
    for (const char* other : {"practice.csv", "practice-.csv", "practice-ann.csv",
                              "practice-%2e.csv", "practice-%41.csv", "practice-%4.csv",
                              "practice-%0A.csv", "notes-ANN.csv", "practice-ANN.csv~"}) {
        EXPECT_FALSE(player_of_practice_file(other, name)) << other;
    }
    EXPECT_EQ(practice_file_of(players, "FIRST"), "practice.csv");
    EXPECT_EQ(practice_file_of({}, "ANY"), "practice.csv");
}

TEST(players, the_list_keeps_the_first_player_and_skips_what_is_not_a_name) {
    scratch_folder folder;
    // A history from before there were players stays the first player's.
    EXPECT_TRUE(add_player("players.txt", "ANN", true));
    EXPECT_TRUE(add_player("players.txt", "BO", true));
    EXPECT_TRUE(add_player("players.txt", "ANN", true));
    EXPECT_EQ(file_text("players.txt"), "\nANN\nBO\n");
    EXPECT_FALSE(name_first_player("players.txt", "BO"));
    EXPECT_TRUE(name_first_player("players.txt", "<&>"));
    EXPECT_FALSE(name_first_player("players.txt", "CY"));
    EXPECT_EQ(file_text("players.txt"), "<&>\nANN\nBO\n");
    write_file("players.txt", "ANN\nann\n\nTOO LONG\nBO\nANN\n BO\nCY");
    EXPECT_EQ(read_player_list("players.txt"), (std::vector<std::string>{"ANN", "BO"}));
    // With no history yet, the first player named is the first player.
    EXPECT_TRUE(add_player("new/players.txt", "DI", false));
    EXPECT_EQ(read_player_list("new/players.txt"), std::vector<std::string>{"DI"});
    EXPECT_TRUE(read_player_list("none.txt").empty());
    ASSERT_EQ(mkdir("dir.txt", 0700), 0);
    EXPECT_FALSE(add_player("dir.txt", "ANN", false));
}

// Two copies playing at once, as two players or as the same one: every game
// is there afterwards, each in its player's file.
TEST(players, two_copies_at_once_lose_nothing) {
    scratch_folder folder;
    const forget_player forget;
    high_score_path = "hiscores.dat";
    constexpr int games = 40;
    const char* const facts[] = {"2x3", "4x5"};
    std::string message;
    ASSERT_TRUE(choose_player("ANN", message));  // the first, before either copy starts
    for (const bool same : {false, true}) {
        pid_t children[2];
        for (int copy = 0; copy < 2; ++copy) {
            children[copy] = fork();
            if (children[copy] == 0) {
                std::string message;
                choose_player(same ? "ANN" : copy == 0 ? "ANN" : "BO", message);
                for (int g = 0; g < games; ++g) {
                    const practice_row row = answer_row(at(1, g), facts[copy], R, 100);
                    if (!append_practice_game(practice_path(), &row.entry, 1, row.game)) {
                        _exit(1);
                    }
                }
                _exit(0);
            }
        }
        for (const pid_t child : children) {
            int status = -1;
            waitpid(child, &status, 0);
            EXPECT_EQ(status, 0);
        }
        const std::vector<player_history> players = folder_histories("", "", true, at(0));
        ASSERT_EQ(players.size(), 2U);
        EXPECT_EQ(players[0].name, "ANN");
        EXPECT_EQ(players[0].rows.size(), same ? 3U * games : 1U * games);
        EXPECT_EQ(players[1].rows.size(), 1U * games);
    }
}

TEST(player_report, every_player_with_what_went_wrong) {
    scratch_folder folder;
    const forget_player forget;
    high_score_path = "game/hiscores.dat";
    std::string message;
    append_game("game/practice.csv", at(40), "2+3", R);  // from before there were players
    ASSERT_TRUE(choose_player("ANN", message));
    EXPECT_EQ(practice_path(), "game/practice-ANN.csv");
    EXPECT_EQ(player_name_for_scores, "ANN");
    append_game(practice_path(), at(2), "2x3", R);
    append_game(practice_path(), at(1), "2x3", W);
    ASSERT_TRUE(choose_player("</A>", message));
    append_game(practice_path(), at(0), "6/3", R);
    ASSERT_TRUE(choose_player("CY", message));
    write_file("game/practice-CY.csv", "date,difficulty\nnot a row\n");
    ASSERT_TRUE(choose_player("DI", message));
    ASSERT_EQ(mkdir("game/practice-DI.csv", 0700), 0);
    ASSERT_TRUE(choose_player("EVE", message));  // no games yet
    const std::string report = report_of(folder_histories("game/", "", true, at(0)), 1);
    EXPECT_EQ(
        report.substr(0, report.find("\n== ")),
        "Refuel practice report: the 30 days to 2026-12-07\n"
        "From here\n\n"
        "player         games rounds     +     -     x     / to learn  last played\n"
        "                                 (facts known)\n"
        "first player       0      0     1     0     0     0        0  2026-10-28\n"
        "ANN                2      0     0     0     0     0        1  2026-12-06\n"
        "</A>               1      0     0     0     0     1        0  2026-12-07\n"
        "CY             game/practice-CY.csv holds no game that can be read; lines not read: 1\n"
        "DI             game/practice-DI.csv cannot be read\n"
        "EVE                0      0     0     0     0     0        0  never\n");
    for (const char* part : {"\n== first player (game/practice.csv) ==\n\nGames: 0",
                             "\n== ANN (game/practice-ANN.csv) ==\n\nGames: 2",
                             "\n== </A> (game/practice-%3C%2FA%3E.csv) ==\n\nGames: 1",
                             "\n== EVE (game/practice-EVE.csv) ==\n\nGames: 0"}) {
        EXPECT_NE(report.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(report.find("== CY"), std::string::npos);
    // One player alone; a teacher's gathered files and folders, named by
    // their players, a missing one named too.
    const std::vector<player_history> ann = folder_histories("game/", "ANN", true, at(0));
    ASSERT_EQ(ann.size(), 1U);
    EXPECT_EQ(ann[0].rows.size(), 2U);
    EXPECT_EQ(folder_histories("game/", "ZED", true, at(0))[0].fault, "does not list them");
    ASSERT_EQ(std::rename("game/practice-ANN.csv", "ANNA 2B.csv"), 0);
    const std::vector<player_history> gathered = gathered_histories(
        {"ANNA 2B.csv", "game/practice-%3C%2FA%3E.csv", "gone\033[2J.csv", "game"}, at(0));
    std::string names;
    for (const player_history& p : gathered) {
        names += p.name + ":" + std::to_string(p.rows.size()) + ":" + p.fault + "|";
    }
    EXPECT_EQ(names,
              "ANNA 2B:2:|</A>:1:|gone?[2J:0:is missing|first player:1:|ANN:0:is missing|"
              "</A>:1:|CY:0:holds no game that can be read; lines not read: 1|DI:0:cannot be read|"
              "EVE:0:is missing|");
}

// Each week's count is what the map would have said at the week's end: the
// facts fluent by the memory model from the rows played by then.
TEST(progress_page, facts_known_week_by_week) {
    std::vector<practice_row> rows = {
        answer_row(at(20), "2x3", R, 100), answer_row(at(19), "2x4", R, 400),
        answer_row(at(13), "2x4", R, 100), answer_row(at(12), "2x5", R, 200),
        answer_row(at(6), "2x3", M, 600),  answer_row(at(0.5), "2x3", R, 301),
        answer_row(at(3), "2x6", M, 600),  answer_row(at(3, 60), "2x6", R, 100),
        answer_row(at(30), "9x9", W, 100), answer_row(at(-3), "9x8", R, 100)};
    for (int day = 40; day >= 2; day -= 2) {
        rows.push_back(answer_row(at(day), "7x7", R, 100));
        rows.push_back(answer_row(at(day, 60), day > 20 ? "6x6" : "6x7", R, 100));
    }
    std::sort(rows.begin(), rows.end(), [](const practice_row& x, const practice_row& y) {
        return x.game.when < y.game.when;
    });
    const std::vector<int> by_week = facts_known_by_week(rows, at(0), 4);
    ASSERT_EQ(by_week.size(), 4u);
    for (int week = 0; week < 4; ++week) {
        const std::time_t end = at(7.0 * (3 - week));
        std::vector<practice_row> by_then;
        std::copy_if(rows.begin(), rows.end(), std::back_inserter(by_then),
                     [&](const practice_row& r) { return r.game.when <= end; });
        const std::vector<fact_fluency> fluency = fluency_of(by_then, end);
        EXPECT_EQ(by_week[static_cast<std::size_t>(week)],
                  std::count_if(fluency.begin(), fluency.end(),
                                [](const fact_fluency& f) { return f.state == fact_known; }))
            << week;
    }
    EXPECT_GT(by_week[3], 0);
}

using player_screen = screen_test;

// By keys: a player picked by digit, one added from the screen, the first
// player naming themselves; the name box then starts with the name.
TEST_F(player_screen, picks_adds_and_names_players) {
    scratch_folder folder;
    const forget_player forget;
    high_score_path = "hiscores.dat";
    const int enter = KEY_ENTER << 8 | 13;
    write_file("players.txt", "ANN\n");
    choose_who_is_playing();  // one player: no screen
    EXPECT_EQ(fake().presents, 0);
    write_file("players.txt", "\nANN\nBO\n");
    struct step {
        std::vector<std::set<int>> keys;  // held on the screen, one set a pass
        std::vector<int> typed;
        const char* player;
        const char* file;
    } const steps[] = {
        {{{KEY_DOWN}, {}, {KEY_DOWN}, {}, {KEY_ENTER}}, {}, "BO", "practice-BO.csv"},
        {{{KEY_0}, {KEY_ENTER}},
         {'c', KEY_BACKSPACE << 8 | 8, 'c', 'y', '/', enter},
         "CY",
         "practice-CY.csv"},
        {{{KEY_1}, {KEY_ENTER}}, {'d', 'i', enter}, "DI", "practice.csv"},
    };
    for (const step& s : steps) {
        fake().looks = 0;
        fake().script_per_look(s.keys);
        fake().readkey_queue.clear();
        fake().typed_after_clear = s.typed;
        choose_who_is_playing();
        EXPECT_EQ(current_player, s.player);
        EXPECT_EQ(current_practice_file, s.file);
    }
    EXPECT_EQ(file_text("players.txt"), "DI\nANN\nBO\nCY\n");
    decode_high_scores(nullptr, 0);
    fake().typed_after_clear = {'x', enter};
    EXPECT_EQ(enter_high_score(1001), 4);
    EXPECT_STREQ(high_score_names[4], "DIX");
    decode_high_scores(nullptr, 0);
}

}  // namespace

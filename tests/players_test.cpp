// Players: names as data, the list, a history each, and the report over them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data_file.h"
#include "fact_map.h"
#include "known_by_week.h"
#include "player_figures.h"
#include "practice_report_text.h"
#include "practice_texts.h"
#include "player_histories.h"
#include "player_report.h"
#include "report_command.h"
#include "high_scores.h"
#include "menu_test_support.h"
#include "player_menu.h"
#include "players.h"
#include "progress_page.h"
#include "practice_test_support.h"
#include "round_engine.h"
#include "keyboard_random_clock.h"
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
        {"zoe az", "ZOE AZ", "practice-ZOE%20AZ.csv", "ZOE AZ"},
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
    const player_list players = {{{"FIRST", "practice.csv"}, {"OTHER", "practice-OTHER.csv"}}, {}};
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

// Lists as a parent may leave them after an edit, of either kind: each
// child keeps the file that holds their own games.
TEST(players, hand_edited_lists_keep_every_file_its_child) {
    struct list_case {
        const char* what;
        const char* text;
        const char* files;  // NAME=file|... ("-" for the unnamed first player)
    } const cases[] = {
        {"as the game writes it", "# x\nANNA practice.csv\nBOB practice-BOB.csv\n",
         "ANNA=practice.csv|BOB=practice-BOB.csv|"},
        {"order changed", "BOB practice-BOB.csv\nANNA practice.csv\n",
         "BOB=practice-BOB.csv|ANNA=practice.csv|"},
        {"case", "Anna practice.csv\nbob practice-BOB.csv\n",
         "ANNA=practice.csv|BOB=practice-BOB.csv|"},
        {"CRLF", "ANNA practice.csv\r\nBOB practice-BOB.csv\r\n",
         "ANNA=practice.csv|BOB=practice-BOB.csv|"},
        {"blank lines", "\n\nBOB practice-BOB.csv\n\n  \nANNA practice.csv\n",
         "BOB=practice-BOB.csv|ANNA=practice.csv|"},
        {"no final newline", "ANNA practice.csv\nBOB practice-BOB.csv",
         "ANNA=practice.csv|BOB=practice-BOB.csv|"},
        {"duplicate", "ANNA practice.csv\nBOB practice-BOB.csv\nANNA practice.csv\nBOB\n",
         "ANNA=practice.csv|BOB=practice-BOB.csv|"},
        {"a file claimed twice", "ANNA practice.csv\nBOB practice.csv\n", "ANNA=practice.csv|"},
        {"unknown line", "what is this?\nANNA practice.csv\nBOB ../x.csv\n", "ANNA=practice.csv|"},
        {"unnamed first", "practice.csv\nBOB practice-BOB.csv\n",
         "-=practice.csv|BOB=practice-BOB.csv|"},
        {"old: as written", "\nANNA\nBOB\n",
         "-=practice.csv|ANNA=practice-ANNA.csv|BOB=practice-BOB.csv|"},
        {"old: case", "Anna\nBOB\n", "ANNA=practice.csv|BOB=practice-BOB.csv|"},
        {"old: CRLF", "ANNA\r\nBOB\r\n", "ANNA=practice.csv|BOB=practice-BOB.csv|"},
        {"old: blank lines", "ANNA\n\n\nBOB\n", "ANNA=practice.csv|BOB=practice-BOB.csv|"},
        {"old: no final newline", "ANNA\nBOB", "ANNA=practice.csv|BOB=practice-BOB.csv|"},
        {"old: duplicate", "ANNA\nBOB\n anna\n", "ANNA=practice.csv|BOB=practice-BOB.csv|"},
        {"old: unknown first line", "ALEXANDRA\nBOB\n", "BOB=practice-BOB.csv|"},
    };
    for (const list_case& c : cases) {
        const player_list list = player_list_of(c.text);
        std::string files;
        for (const player_entry& p : list.players) {
            files += (p.name.empty() ? "-" : p.name) + "=" + p.file + "|";
        }
        EXPECT_EQ(files, c.files) << c.what;
        // Written again, the list says the same, and keeps what it could not read.
        const player_list again = player_list_of(player_list_text(list));
        std::string files_again;
        for (const player_entry& p : again.players) {
            files_again += (p.name.empty() ? "-" : p.name) + "=" + p.file + "|";
        }
        EXPECT_EQ(files_again, c.files) << c.what;
        EXPECT_EQ(again.other_lines, list.other_lines) << c.what;
    }
    // A new player never gets a file another entry has.
    const player_list taken = player_list_of("ANNA practice-BOB.csv\n");
    EXPECT_EQ(practice_file_of(taken, "BOB"), "practice-BOB-2.csv");
}

// Nothing is written without the lock, nor over a list not read whole; the
// copy is told so.
TEST(players, no_change_without_the_lock_or_over_a_list_not_read) {
    scratch_folder folder;
    write_file("players.txt", "ANNA practice.csv\n");
    const int patience = player_list_lock_patience_ms;
    player_list_lock_patience_ms = 0;
    const int held = lock_data_file(data_file_target("players.txt"), 0);
    ASSERT_GE(held, 0);
    EXPECT_EQ(add_player("players.txt", "BOB", true), list_busy);
    EXPECT_EQ(name_first_player("players.txt", "BOB"), list_busy);
    close(held);
    EXPECT_EQ(file_text("players.txt"), "ANNA practice.csv\n");
    EXPECT_NE(player_list_message(list_busy, "players.txt", "BOB").find("BOB was not added"),
              std::string::npos);
    player_list_lock_patience_ms = patience;
    // Too long to be a list: read as unreadable, left as it is.
    const std::string huge(std::size_t{70} * 1024, 'A');
    write_file("players.txt", huge);
    player_list list;
    EXPECT_EQ(read_player_entries("players.txt", list), player_list_unreadable);
    EXPECT_EQ(add_player("players.txt", "BOB", true), list_unreadable);
    EXPECT_EQ(file_text("players.txt"), huge);
    ASSERT_EQ(mkdir("dir.txt", 0700), 0);
    EXPECT_NE(add_player("dir.txt", "ANN", false), list_changed);
}

// Two copies adding players at once, one of them slow: each is kept, or
// its copy was told it was not added.
TEST(players, two_copies_adding_players_lose_none_they_said_yes_to) {
    scratch_folder folder;
    const char* const names[2][3] = {{"BOB", "DI", "FAY"}, {"CY", "EVE", "GUS"}};
    pid_t children[2];
    int pipes[2][2];
    for (int copy = 0; copy < 2; ++copy) {
        ASSERT_EQ(pipe(pipes[copy]), 0);
        children[copy] = fork();
        if (children[copy] == 0) {
            close(pipes[copy][0]);
            // The slow copy holds the lock through a long write of its own.
            player_list_lock_patience_ms = copy == 0 ? 20000 : 50;
            for (const char* name : names[copy]) {
                const char said =
                    add_player("players.txt", name, false) == list_changed ? 'y' : 'n';
                if (write(pipes[copy][1], &said, 1) != 1) {
                    _exit(1);
                }
                if (copy == 0) {
                    const int lock = lock_data_file(data_file_target("players.txt"), 20000);
                    for (int i = 0; i < 200; ++i) {
                        (void)fsync(lock);
                    }
                    close(lock);
                }
            }
            _exit(0);
        }
        close(pipes[copy][1]);
    }
    std::string said[2];
    for (int copy = 0; copy < 2; ++copy) {
        char c = 0;
        while (read(pipes[copy][0], &c, 1) == 1) {
            said[copy] += c;
        }
        close(pipes[copy][0]);
        int status = -1;
        waitpid(children[copy], &status, 0);
        EXPECT_EQ(status, 0);
    }
    const std::vector<std::string> listed = read_player_list("players.txt");
    for (int copy = 0; copy < 2; ++copy) {
        ASSERT_EQ(said[copy].size(), 3U);
        for (int i = 0; i < 3; ++i) {
            const bool there =
                std::find(listed.begin(), listed.end(), names[copy][i]) != listed.end();
            EXPECT_EQ(there, said[copy][static_cast<std::size_t>(i)] == 'y') << names[copy][i];
        }
    }
    EXPECT_EQ(said[0], "yyy");  // the patient copy always gets its turn
}

TEST(players, the_list_keeps_the_first_player) {
    scratch_folder folder;
    // A history from before there were players stays the first player's.
    EXPECT_EQ(add_player("players.txt", "ANN", true), list_changed);
    EXPECT_EQ(add_player("players.txt", "BO", true), list_changed);
    EXPECT_EQ(add_player("players.txt", "ANN", true), list_changed);
    EXPECT_EQ(name_first_player("players.txt", "BO"), list_refused);
    EXPECT_EQ(name_first_player("players.txt", "<&>"), list_changed);
    EXPECT_EQ(name_first_player("players.txt", "CY"), list_refused);
    EXPECT_EQ(read_player_list("players.txt"), (std::vector<std::string>{"<&>", "ANN", "BO"}));
    EXPECT_NE(file_text("players.txt").find("\n<&> practice.csv\nANN practice-ANN.csv\n"),
              std::string::npos);
    // With no history yet, the first player named is the first player.
    EXPECT_EQ(add_player("new/players.txt", "DI", false), list_changed);
    player_list list;
    ASSERT_EQ(read_player_entries("new/players.txt", list), player_list_read);
    EXPECT_EQ(practice_file_of(list, "DI"), "practice.csv");
    EXPECT_TRUE(read_player_list("none.txt").empty());
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
        "first player       0      0     0     0     0     0        0  2026-10-28\n"
        "ANN                2      0     0     0     0     0        1  2026-12-06\n"
        "</A>               1      0     0     0     0     0        0  2026-12-07\n"
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
    EXPECT_EQ(file_text("players.txt").substr(file_text("players.txt").find('\n') + 1),
              "DI practice.csv\nANN practice-ANN.csv\nBO practice-BO.csv\nCY practice-CY.csv\n");
    decode_high_scores(nullptr, 0);
    fake().typed_after_clear = {'x', enter};
    EXPECT_EQ(enter_high_score(1001), 4);
    EXPECT_STREQ(high_score_names[4], "DIX");
    decode_high_scores(nullptr, 0);
}

// By keys, each start as a new process would make it: Enter alone picks
// the row the screen starts on, the child whose practice file was written
// last; arrows move from there.
TEST_F(player_screen, starts_on_the_child_who_played_last) {
    scratch_folder folder;
    high_score_path = "hiscores.dat";
    write_file("players.txt", "ANN\nBO\nCY\n");
    const std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now();
    struct start {
        std::vector<std::pair<const char*, int>> played;  // file, minutes ago
        std::vector<std::set<int>> keys;
        const char* player;
    } const starts[] = {
        {{}, {{}, {KEY_ENTER}}, "ANN"},  // nobody has played: the first row
        {{{"practice-CY.csv", 5}}, {{}, {KEY_ENTER}}, "CY"},
        {{{"practice.csv", 1}, {"practice-CY.csv", 5}}, {{}, {KEY_ENTER}}, "ANN"},
        {{{"practice-BO.csv", 0}}, {{}, {KEY_ENTER}}, "BO"},
        {{{"practice-CY.csv", 0}, {"practice-BO.csv", 2}}, {{}, {KEY_UP}, {}, {KEY_ENTER}}, "BO"},
    };
    for (const start& s : starts) {
        const forget_player forget;
        for (const auto& [file, minutes] : s.played) {
            write_file(file, "");
            std::filesystem::last_write_time(file, now - std::chrono::minutes(minutes));
        }
        fake().looks = 0;
        fake().script_per_look(s.keys);
        choose_who_is_playing();
        EXPECT_EQ(current_player, s.player) << s.played.size() << " files written";
    }
    EXPECT_EQ(file_text("players.txt"), "ANN\nBO\nCY\n");
}

}  // namespace

namespace {

// One history, the terminal's text, the page, the screens' map and the
// round P starts: each figure worked out once is the same in all of them.
TEST(player_figures, one_history_drawn_every_way_agrees) {
    std::string csv = practice_csv_header;
    // A first-version game whose canister 1 lost its fact to a spreadsheet:
    // still one game.
    csv +=
        "2026-12-06T15:04:05,2,mixed,3,2026/04/02,2,2,right,2.30,1,2\n"
        "2026-12-06T15:04:05,2,mixed,3,12/3,4,4,right,2.30,2,2\n";
    // 40 answers of 2.99 s, a quarter of them wrong.
    practice_entry game[40];
    for (int i = 0; i < 40; ++i) {
        const int b = 1 + i % 10;
        game[i] = {1, 2, 3, b, 2 * b, "", i % 4 == 0 ? W : R, 299};
        (void)std::snprintf(game[i].entered, sizeof game[i].entered, "%d", 2 * b + (i % 4 == 0));
    }
    csv += practice_csv_rows(game, 40, {at(3), 1, 3, false});
    const std::time_t now = at(0);
    const std::vector<practice_row> rows = parse_practice_csv(csv.data(), csv.size());
    const std::vector<fact_fluency> fluency = fluency_of(rows, now);
    const player_history p{
        "ANNA", "practice.csv", "", rows, fluency, 0, figures_of(rows, fluency, now)};
    const player_figures& f = p.figures;
    EXPECT_EQ(f.games, 2);
    EXPECT_EQ(f.ticks_in_all, 40 * 299 + 230);
    ASSERT_EQ(f.known_by_week.size(), 1U);  // from the week first played
    const std::string text = report_of({p}, 0);
    const std::string page = progress_page({p}, "here", now);
    EXPECT_NE(text.find("Games: 2 "), std::string::npos);
    EXPECT_NE(page.find("2 games, 0 practice rounds, 2 min on the canisters"), std::string::npos);
    EXPECT_NE(page.find("week to " + day_text(f.first_week_end)), std::string::npos);
    for (int op = 1; op <= 4; ++op) {
        const operation_figures& o = f.operations[static_cast<std::size_t>(op)];
        const operation_cells c = cells_of(o);
        if (o.canisters == 0) {
            EXPECT_STREQ(c.share, "-");
            EXPECT_STREQ(c.median, "-");
        }
        char line[96];
        (void)std::snprintf(line, sizeof line, "%-16s %7s %13s\n", topic_name(op), c.share,
                            c.median);
        EXPECT_NE(text.find(line), std::string::npos) << line;
        (void)std::snprintf(line, sizeof line, "<td>%s</td><td>%d</td><td>%s</td><td>%s</td>",
                            topic_name(op), o.canisters, c.share, c.median);
        EXPECT_NE(page.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(f.operations[3].right, 30);
    EXPECT_STREQ(cells_of(f.operations[3]).share, "75%");  // 30 of 40
    ASSERT_FALSE(f.to_practise.empty());
    std::vector<arithmetic_fact> listed;
    for (const fact_fluency& fact : f.to_practise) {
        char name[64];
        fact_text(name, sizeof name, fact.fact);
        EXPECT_NE(text.find(std::string(name) + " "), std::string::npos) << name;
        EXPECT_NE(page.find("<td>" + html_escaped(name) + "</td>"), std::string::npos) << name;
        listed.push_back(fact.fact);
    }
    // P on that list flies every fact it names, first and in its order.
    const practice_round round = plan_next_round(rows, {3, 1, {}, "", listed}, now, rand15);
    EXPECT_TRUE(std::equal(listed.begin(), listed.end(), round.queue.begin()));
    ASSERT_EQ(f.maps.size(), 2U);
    for (const map_figures& m : f.maps) {
        const fact_map screen = make_fact_map(m.map.operation, m.map.difficulty, fluency, now);
        EXPECT_EQ(screen.cells, m.map.cells);
        EXPECT_EQ(screen.known, m.known);  // the screen counts what the legend ticks
        int ticked = 0;
        for (const arithmetic_fact& fact : facts_of_set(m.map.operation, m.map.difficulty)) {
            ticked += state_of(fluency, fact) == fact_known ? 1 : 0;
        }
        EXPECT_EQ(m.known, ticked);  // what the legend calls known
        const std::string counts = map_counts_text(m);
        EXPECT_NE(text.find(": " + counts + "\n"), std::string::npos) << counts;
        EXPECT_NE(page.find(": " + counts + "</h3>"), std::string::npos) << counts;
    }
}

}  // namespace

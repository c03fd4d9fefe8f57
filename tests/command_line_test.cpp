// The options, read before anything starts.

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sstream>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "command_line.h"
#include "high_score_table.h"
#include "practice_test_support.h"
#include "report_command.h"
#include "scratch_folder.h"

namespace {

using action = command_action;

struct option_case {
    std::vector<const char*> args;
    action expected;
    bool windowed;
    std::string error;
    std::string families;     // "-" for no --practise
    std::string player = "";  // as read; then the paths and the page, each ended by ";"
} const cases[] = {
    {{"--window", "--fullscreen"}, action::play, false, "", "-"},
    {{"--help", "--version"}, action::help, false, "", "-"},
    {{"-w", "--version", "-h"}, action::version, true, "", "-"},
    {{"--report", "--help"}, action::report, false, "", "-"},
    {{"--help", "--bogus"}, action::refuse, false, "refuel: unknown option '--bogus'", "-"},
    {{"--window", "level5"},
     action::refuse,
     true,
     "refuel: 'level5' needs --report",
     "-",
     ";level5;"},
    {{"--html", "p.html"}, action::refuse, false, "refuel: --html needs --report", "-", ";p.html;"},
    {{"--report", "--html", ""}, action::refuse, false, "refuel: --html needs a file name", "-"},
    {{"--report", "--html="}, action::refuse, false, "refuel: --html needs a file name", "-"},
    {{"--player", "  ann b ", "--practise"}, action::play, false, "", "", "ANN B"},
    {{"--report", "a/b", "--player=../<&\"", "--html=p.html", "c"},
     action::report,
     false,
     "",
     "-",
     "../<&\";a/b;c;p.html;"},
    {{"--player", "toolongname"},
     action::refuse,
     false,
     "refuel: 'toolongname': a player's name has at most 7 characters",
     "-"},
    {{"--player", "   "},
     action::refuse,
     false,
     "refuel: '   ': a player's name cannot be empty",
     "-"},
    {{"--player", "tab\t"},
     action::refuse,
     false,
     "refuel: 'tab\t': a player's name takes letters, digits, spaces and punctuation only",
     "-"},
    {{"--report", "--player"}, action::refuse, false, "refuel: --player needs a value", "-"},
    {{"--practise", "x5", "--practise", "-4,x2", "-w"}, action::play, true, "", "-4,x2"},
    {{"--practise", "x5", "--practise", "-w"}, action::play, true, "", ""},
    {{"--practise=/3"}, action::play, false, "", "/3"},
    {{"--practise", "x11", "-w"}, action::refuse, false, "refuel: 'x11' is not a fact family", ""},
};

TEST(command_line, options_are_read_in_order) {
    for (const option_case& c : cases) {
        std::vector<const char*> argv = {"refuel"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const command_line got = parse_command_line(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(got.action, c.expected) << "case " << &c - cases;
        EXPECT_EQ(got.windowed, c.windowed) << "case " << &c - cases;
        EXPECT_EQ(got.error, c.error) << "case " << &c - cases;
        EXPECT_EQ(got.practise ? got.named_families : "-", c.families) << "case " << &c - cases;
        std::string player = got.player;
        for (const std::string& path : got.report_paths) {
            player += ";" + path;
        }
        player += got.html_file.empty() ? "" : ";" + got.html_file;
        EXPECT_EQ(player + (player.size() > got.player.size() ? ";" : ""), c.player)
            << "case " << &c - cases;
        EXPECT_EQ(got.families.size(),
                  c.families.empty() || c.families == "-"
                      ? 0
                      : std::count(c.families.begin(), c.families.end(), ',') + 1);
        if (c.expected == action::refuse || c.expected == action::play) {  // the others print
            EXPECT_EQ(answer_command_line(got), c.expected == action::refuse ? 2 : 0);
        }
    }
}

// --report's failures: each an exit status and a line on stderr that
// names what failed, the page written whole before the report's text.
TEST(command_line, report_failures_exit_with_a_status_and_say_so) {
    scratch_folder folder;
    high_score_path = "game/hiscores.dat";
    ASSERT_EQ(mkdir("empty", 0700), 0);
    ASSERT_EQ(mkdir("pc1", 0700), 0);
    std::ofstream("pc1/players.txt") << "ANNA practice.csv\nBOB practice-BOB.csv\n";
    const practice_row row = answer_row(at(1), "2x3", R, 150);
    ASSERT_TRUE(append_practice_game("pc1/practice.csv", &row.entry, 1, row.game));
    ASSERT_TRUE(append_practice_game("pc1/practice-BOB.csv", &row.entry, 1, row.game));
    std::ofstream("a file") << "x";
    struct report_case {
        const char* player;
        std::vector<std::string> paths;
        const char* page;
        int status;
        const char* said;    // on stderr
        const char* shown;   // on stdout ("" for anything)
        const char* hidden;  // nowhere on stdout
    } const cases[] = {
        {"", {"empty"}, "", 1, "refuel: no practice history in empty\n", "", ""},
        {"", {"/nonexistent/"}, "", 1, "refuel: /nonexistent/: /nonexistent/ is missing", "", ""},
        {"ZED", {"pc1/"}, "", 1, "refuel: no player ZED in pc1/\n", "", ""},
        {"ANNA", {"pc1/"}, "anna.html", 0, "", "== ANNA (pc1/practice.csv) ==", "BOB"},
        {"", {"pc1", "anna\033]0;X\a.csv"}, "", 1, "anna\\x1B]0;X\\x07.csv is missing", "", "\033"},
        {"",
         {"pc1"},
         "a file/p.html",
         1,
         "refuel: a file/p.html could not be written\n",
         "== BOB",
         ""},
        {"ZED", {}, "", 1, "refuel: no player ZED in game/players.txt\n", "", ""},
    };
    for (const report_case& c : cases) {
        char* out_text = nullptr;
        char* err_text = nullptr;
        std::size_t out_size = 0;
        std::size_t err_size = 0;
        std::FILE* out = open_memstream(&out_text, &out_size);
        std::FILE* err = open_memstream(&err_text, &err_size);
        EXPECT_EQ(report_on_players(out, err, c.player, c.paths, c.page, at(0)), c.status)
            << c.said;
        std::fclose(out);
        std::fclose(err);
        const std::string shown(out_text, out_size);
        const std::string said(err_text, err_size);
        std::free(out_text);
        std::free(err_text);
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_NE(shown.find(c.shown), std::string::npos) << c.said;
        EXPECT_TRUE(*c.hidden == '\0' || shown.find(c.hidden) == std::string::npos) << c.said;
    }
    // A reader gone (| head): the page is there whole all the same, and the
    // failure to write the text is a status, not a signal.
    void (*before)(int) = std::signal(SIGPIPE, SIG_IGN);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    std::FILE* gone = fdopen(ends[1], "w");
    std::FILE* none = std::fopen("/dev/null", "w");
    EXPECT_EQ(report_on_players(gone, none, "", {"pc1"}, "both.html", at(0)), 1);
    std::fclose(gone);
    std::fclose(none);
    std::signal(SIGPIPE, before);
    std::stringstream page;
    page << std::ifstream("both.html").rdbuf();
    EXPECT_NE(page.str().find("</html>"), std::string::npos);
    EXPECT_NE(page.str().find("<h2>BOB</h2>"), std::string::npos);
}

}  // namespace

namespace {

// --scale asks for a window of a multiple; --sharp keeps full screen sharp.
TEST(command_line, scale_and_sharp_choose_how_the_picture_is_shown) {
    const struct {
        std::vector<const char*> args;
        bool windowed, sharp;
        int scale;
        std::string error;
    } cases[] = {
        {{"--scale", "3"}, true, false, 3, ""},
        {{"--scale=2", "--sharp"}, true, true, 2, ""},
        {{"--sharp", "--fullscreen"}, false, true, 0, ""},
        {{"--scale", "9"},
         true,
         false,
         0,
         "refuel: --scale takes a whole number from 1 to 8, not '9'"},
        {{"--scale=0"},
         true,
         false,
         0,
         "refuel: --scale takes a whole number from 1 to 8, not '0'"},
        {{"--scale", "2x"},
         true,
         false,
         0,
         "refuel: --scale takes a whole number from 1 to 8, not '2x'"},
        {{"--scale"}, true, false, 0, "refuel: --scale needs a value"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"refuel"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const command_line got = parse_command_line(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(got.action, c.error.empty() ? action::play : action::refuse) << c.args[0];
        EXPECT_EQ(got.windowed, c.windowed) << c.args[0];
        EXPECT_EQ(got.sharp, c.sharp) << c.args[0];
        EXPECT_EQ(got.scale, c.scale) << c.args[0];
        EXPECT_EQ(got.error, c.error) << c.args[0];
    }
}

}  // namespace

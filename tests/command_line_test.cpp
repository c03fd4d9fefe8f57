// The options, read before anything starts.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "command_line.h"

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

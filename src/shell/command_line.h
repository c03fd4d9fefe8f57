#pragma once
// The options the game takes, read before anything is started:
// -w/--window, --fullscreen (the default), --sharp, --scale N,
// --practise [FAMILIES],
// --player NAME, --report [PATH...] [--html FILE], -h/--help and --version.

#include <string>
#include <vector>

#include "fact_sets.h"

enum class command_action { play, report, help, version, refuse };

struct command_line {
    command_action action = command_action::play;
    bool windowed = false;
    bool sharp = false;     // full screen in whole multiples of 800x600 only
    int scale = 0;          // the window's multiple of 800x600; 0: the largest that fits
    bool practise = false;  // start with a practice round
    std::vector<fact_family> families;      // of the round; none: the latest game's topic
    std::string named_families;             // as given
    std::string player;                     // --player, as a player's name; empty: none given
    std::vector<std::string> report_paths;  // gathered practice files or folders
    std::string html_file;                  // --report --html: the page to write
    std::string error;                      // for refuse: the line naming what was not understood
};

command_line parse_command_line(int argc, const char* const* argv);
// Prints what a non-play action asks for (the usage or the version on
// stdout; the error and the usage on stderr) and returns the exit status.
int answer_command_line(const command_line& options);

#include "command_line.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const usage =
    "Usage: refuel [OPTION]...\n"
    "Refuel your ship by answering the sums on the fuel canisters.\n"
    "\n"
    "  -w, --window      play in an 800x600 window\n"
    "      --fullscreen  play full screen (the default)\n"
    "      --report      print what to practise, from the games played, and exit\n"
    "  -h, --help        show this help and exit\n"
    "      --version     show the version and exit\n";

}  // namespace

command_line parse_command_line(int argc, const char* const* argv) {
    command_line options;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "-w") == 0 || std::strcmp(arg, "--window") == 0) {
            options.windowed = true;
        } else if (std::strcmp(arg, "--fullscreen") == 0) {
            options.windowed = false;
        } else if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
            if (options.action == command_action::play) {
                options.action = command_action::help;
            }
        } else if (std::strcmp(arg, "--version") == 0) {
            if (options.action == command_action::play) {
                options.action = command_action::version;
            }
        } else if (std::strcmp(arg, "--report") == 0) {
            if (options.action == command_action::play) {
                options.action = command_action::report;
            }
        } else {
            options.action = command_action::refuse;
            options.error = std::string("refuel: ") +
                            (arg[0] == '-' ? "unknown option '" : "unexpected argument '") + arg +
                            "'";
            break;
        }
    }
    return options;
}

int answer_command_line(const command_line& options) {
    switch (options.action) {
        case command_action::help:
            (void)std::fputs(usage, stdout);
            return 0;
        case command_action::version:
            std::puts("refuel " REFUEL_VERSION);
            return 0;
        case command_action::refuse:
            (void)std::fprintf(stderr, "%s\n%s", options.error.c_str(), usage);
            return 2;
        case command_action::play:
        case command_action::report:
            break;
    }
    return 0;
}

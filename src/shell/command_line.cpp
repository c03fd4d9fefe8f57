#include "command_line.h"

#include <cstdio>
#include <cstring>

#include "players.h"

namespace {

const char* const usage =
    "Usage: refuel [OPTION]...\n"
    "Refuel your ship by answering the sums on the fuel canisters.\n"
    "\n"
    "  -w, --window      play in a window, the largest whole multiple of 800x600\n"
    "                    that fits the monitor's work area\n"
    "      --scale N     play in a window N times 800x600 (1 to 8); when it does\n"
    "                    not fit, the largest that does\n"
    "      --fullscreen  play full screen on one monitor at its own size, the\n"
    "                    picture as large as fits, smoothly scaled (the default)\n"
    "      --sharp       full screen in whole multiples of 800x600 only: sharp\n"
    "                    pixels, a smaller picture\n"
    "      --practise [FAMILIES]\n"
    "                    start with a practice round of the facts to practise: of\n"
    "                    FAMILIES, a comma-separated list such as x2,x5,x10 (times\n"
    "                    tables), /3 (dividing by 3), +7 or -4, each number from 0\n"
    "                    to 10 (1 to 10 for x and /); else of the latest game's\n"
    "                    topic and difficulty\n"
    "      --player NAME play as NAME (a new player is added), or report on NAME\n"
    "      --report [PATH]...\n"
    "                    print what to practise, from the games played, for every\n"
    "                    player, and exit; PATHs are practice files or folders\n"
    "                    gathered from other computers\n"
    "      --html FILE   with --report, also write the report as a web page\n"
    "  -h, --help        show this help and exit\n"
    "      --version     show the version and exit\n";

// --practise, its families next or after "=".
bool read_practise(const char* arg, const char* next, command_line& options, bool& took_next) {
    took_next = false;
    const char* families = nullptr;
    if (std::strcmp(arg, "--practise") == 0) {
        // -4 (taking 4 away) is a family; -w and -h are options.
        const bool option_next =
            next != nullptr && next[0] == '-' &&
            (next[1] == '-' || std::strcmp(next, "-w") == 0 || std::strcmp(next, "-h") == 0);
        if (next != nullptr && !option_next) {
            families = next;
            took_next = true;
        }
    } else if (std::strncmp(arg, "--practise=", 11) == 0) {
        families = arg + 11;
    } else {
        return false;
    }
    options.practise = true;
    options.families.clear();
    options.named_families.clear();
    std::string bad;
    if (families != nullptr && !parse_fact_families(families, options.families, bad)) {
        options.action = command_action::refuse;
        options.error = "refuel: '" + bad + "' is not a fact family";
    } else if (families != nullptr) {
        options.named_families = families;
    }
    return true;
}

// An option's value: next, or after "=". False when arg is not the option.
bool read_value(const char* arg, const char* next, const char* option, std::string& value,
                bool& took_next, command_line& options) {
    const std::size_t length = std::strlen(option);
    if (std::strncmp(arg, option, length) != 0 || (arg[length] != '\0' && arg[length] != '=')) {
        return false;
    }
    took_next = arg[length] == '\0';
    if (took_next && next == nullptr) {
        options.action = command_action::refuse;
        options.error = std::string("refuel: ") + option + " needs a value";
        return true;
    }
    value = took_next ? next : arg + length + 1;
    return true;
}

// --scale's multiple, 1 to 8; it asks for a window.
void take_scale(const std::string& value, command_line& options) {
    options.windowed = true;
    const bool digit = value.size() == 1 && value[0] >= '1' && value[0] <= '8';
    if (options.action != command_action::refuse && !digit) {
        options.action = command_action::refuse;
        options.error = "refuel: --scale takes a whole number from 1 to 8, not '" + value + "'";
    }
    options.scale = digit ? value[0] - '0' : 0;
}

// --player's name, as a player's name goes.
void take_player(const std::string& value, command_line& options) {
    std::string name;
    std::string why;
    if (options.action != command_action::refuse && !player_name_of(value, name, why)) {
        options.action = command_action::refuse;
        options.error = "refuel: '" + value + "': " + why;
    }
    options.player = options.action == command_action::refuse ? "" : name;
}

// 0 once what was printed reached stdout; a full disk or a closed pipe is
// a failure to say, as for --report.
int written_out() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        (void)std::fprintf(stderr, "refuel: the text could not be written\n");
        return 1;
    }
    return 0;
}

}  // namespace

command_line parse_command_line(int argc, const char* const* argv) {
    command_line options;
    for (int i = 1; i < argc && options.action != command_action::refuse; ++i) {
        const char* arg = argv[i];
        bool took_next = false;
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        std::string value;
        if (read_practise(arg, next, options, took_next)) {
            i += took_next ? 1 : 0;
        } else if (read_value(arg, next, "--html", options.html_file, took_next, options)) {
            i += took_next ? 1 : 0;
            if (options.action != command_action::refuse && options.html_file.empty()) {
                options.action = command_action::refuse;  // a page written nowhere
                options.error = "refuel: --html needs a file name";
            }
        } else if (read_value(arg, next, "--player", value, took_next, options)) {
            i += took_next ? 1 : 0;
            take_player(value, options);
        } else if (read_value(arg, next, "--scale", value, took_next, options)) {
            i += took_next ? 1 : 0;
            take_scale(value, options);
        } else if (std::strcmp(arg, "--sharp") == 0) {
            options.sharp = true;
        } else if (std::strcmp(arg, "-w") == 0 || std::strcmp(arg, "--window") == 0) {
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
        } else if (arg[0] != '-') {
            options.report_paths.emplace_back(arg);
        } else {
            options.action = command_action::refuse;
            options.error = std::string("refuel: unknown option '") + arg + "'";
            break;
        }
    }
    // Paths and a page belong to a report alone.
    const bool report_only = !options.report_paths.empty() || !options.html_file.empty();
    if (options.action == command_action::play && report_only) {
        options.action = command_action::refuse;
        options.error = "refuel: " +
                        (options.html_file.empty() ? "'" + options.report_paths[0] + "'"
                                                   : std::string("--html")) +
                        " needs --report";
    }
    return options;
}

int answer_command_line(const command_line& options) {
    switch (options.action) {
        case command_action::help:
            (void)std::fputs(usage, stdout);
            return written_out();
        case command_action::version:
            (void)std::puts("refuel " REFUEL_VERSION);
            return written_out();
        case command_action::refuse:
            (void)std::fprintf(stderr, "%s\n%s", options.error.c_str(), usage);
            return 2;
        case command_action::play:
        case command_action::report:
            break;
    }
    return 0;
}

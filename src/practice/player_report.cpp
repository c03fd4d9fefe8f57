#include "player_report.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include <sys/stat.h>

#include "data_file.h"
#include "players.h"
#include "practice_report_text.h"
#include "progress_page.h"

namespace {

constexpr std::time_t seconds_per_day = std::time_t{24} * 60 * 60;

player_history read_history(const std::string& name, const std::string& path, bool missing_is_fault,
                            std::time_t now) {
    player_history h{name, path, "", {}, {}, 0};
    switch (read_practice_history(path, h.rows, &h.unread)) {
        case practice_file_unreadable:
            h.fault = "cannot be read";
            break;
        case practice_file_missing:
            h.fault = missing_is_fault ? "is missing" : "";
            break;
        case practice_file_read:
            // Lines and not one game among them: a file this version
            // cannot read, never a child who has not played.
            if (h.rows.empty() && h.unread > 0) {
                h.fault =
                    "holds no game that can be read; lines not read: " + std::to_string(h.unread);
            }
            break;
    }
    h.fluency = fluency_of(h.rows, now);
    return h;
}

// The players' files in a folder that no list names, by name.
std::vector<std::string> unlisted_players(const std::string& folder,
                                          const std::vector<std::string>& listed) {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(folder.empty() ? "." : folder, error)) {
        std::string name;
        if (player_of_practice_file(entry.path().filename().string(), name) &&
            std::find(listed.begin(), listed.end(), name) == listed.end()) {
            found.push_back(name);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The page replaces whatever was at its path in one rename; a link there is
// followed only as far as the player's own links go.
bool write_page(const std::string& path, const std::string& page) {
    return replace_data_file(data_file_target(path),
                             std::vector<unsigned char>(page.begin(), page.end()));
}

bool is_folder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string base_name(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<player_history> folder_histories(const std::string& folder, const std::string& only,
                                             bool own_folder, std::time_t now) {
    std::vector<std::string> players = read_player_list(folder + players_file_name);
    struct stat st;
    if (players.empty() &&
        (own_folder || lstat((folder + first_practice_file).c_str(), &st) == 0)) {
        players.emplace_back();  // practice.csv, the first player's
    }
    // With no first player, every file is named by its own player.
    const std::vector<std::string> owners =
        players.empty() ? std::vector<std::string>{""} : players;
    const std::vector<std::string> unlisted = unlisted_players(folder, players);
    players.insert(players.end(), unlisted.begin(), unlisted.end());
    std::vector<player_history> histories;
    for (const std::string& name : players) {
        if (only.empty() || name == only) {
            const std::string path = folder + practice_file_of(owners, name);
            histories.push_back(read_history(shown_player_name(name), path, !own_folder, now));
        }
    }
    if (histories.empty() && !only.empty()) {
        histories.push_back({only, folder + players_file_name, "does not list them", {}, {}, 0});
    }
    return histories;
}

std::vector<player_history> gathered_histories(const std::vector<std::string>& paths,
                                               std::time_t now) {
    std::vector<player_history> histories;
    for (const std::string& path : paths) {
        if (is_folder(path)) {
            const std::string folder = path.back() == '/' ? path : path + "/";
            std::vector<player_history> more = folder_histories(folder, "", false, now);
            histories.insert(histories.end(), std::make_move_iterator(more.begin()),
                             std::make_move_iterator(more.end()));
            continue;
        }
        // A file is named by the player it was written for; one a teacher
        // renamed, by its name.
        const std::string file = base_name(path);
        std::string name;
        if (!player_of_practice_file(file, name)) {
            const std::vector<std::string> list =
                read_player_list(path.substr(0, path.size() - file.size()) + players_file_name);
            const bool first = file == first_practice_file;
            name = first && !list.empty() && !list[0].empty() ? list[0]
                   : first                                    ? path
                   : file.size() > 4 && file.compare(file.size() - 4, 4, ".csv") == 0
                       ? file.substr(0, file.size() - 4)
                       : file;
            // A file's name may hold anything: nothing of it that a terminal
            // would take for a command is printed.
            std::replace_if(
                name.begin(), name.end(), [](char c) { return c < ' ' || c > '~'; }, '?');
        }
        histories.push_back(read_history(name, path, true, now));
    }
    return histories;
}

player_summary summarise_player(const std::vector<practice_row>& rows,
                                const std::vector<fact_fluency>& fluency, std::time_t now) {
    player_summary s{0, 0, {}, 0, 0};
    const std::time_t window_start = now - practice_window_days * seconds_per_day;
    const long last_day = calendar_day(now) + 1;
    game_day_cache days;
    for (const practice_row& row : rows) {
        const long day = game_day(row, days);
        if (day > last_day) {
            continue;  // a clock set wrong
        }
        s.last_played = std::max(s.last_played, row.game.when);
        if (row.canister == 1 && row.game.when >= window_start) {
            (row.game.round ? s.rounds : s.games) += 1;
        }
    }
    for (const fact_fluency& f : fluency) {
        const int op = f.fact.operation;
        if (op >= 1 && op <= 4 && (f.state == fact_known || f.state == fact_due)) {
            s.known[op] += 1;
        }
        s.to_learn += f.state == fact_to_learn ? 1 : 0;
    }
    return s;
}

std::string day_text(std::time_t when) {
    char day[32] = "never";
    std::tm local{};
    if (when != 0 && localtime_r(&when, &local) != nullptr) {
        (void)std::strftime(day, sizeof day, "%Y-%m-%d", &local);
    }
    return day;
}

int print_player_report(std::FILE* out, std::FILE* err, const std::vector<player_history>& players,
                        const std::string& from, std::time_t now) {
    (void)std::fprintf(out, "Refuel practice report: the %d days to %s\n", practice_window_days,
                       day_text(now).c_str());
    (void)std::fprintf(out, "From %s\n\n", from.c_str());
    (void)std::fprintf(out, "%-14s %5s %6s %5s %5s %5s %5s %8s  %s\n", "player", "games", "rounds",
                       "+", "-", "x", "/", "to learn", "last played");
    (void)std::fprintf(out, "%46s\n", "(facts known)");  // over + - x /
    int status = 0;
    for (const player_history& p : players) {
        if (!p.fault.empty()) {
            (void)std::fprintf(out, "%-14s %s %s\n", p.name.c_str(), p.path.c_str(),
                               p.fault.c_str());
            (void)std::fprintf(err, "refuel: %s: %s %s\n", p.name.c_str(), p.path.c_str(),
                               p.fault.c_str());
            status = 1;
            continue;
        }
        const player_summary s = summarise_player(p.rows, p.fluency, now);
        (void)std::fprintf(out, "%-14s %5d %6d %5d %5d %5d %5d %8d  %s\n", p.name.c_str(), s.games,
                           s.rounds, s.known[1], s.known[2], s.known[3], s.known[4], s.to_learn,
                           day_text(s.last_played).c_str());
    }
    for (std::size_t i = 0; i < players.size(); ++i) {
        if (players[i].fault.empty()) {
            (void)std::fprintf(out, "\n== %s (%s) ==\n", players[i].name.c_str(),
                               players[i].path.c_str());
            if (players[i].unread > 0) {
                (void)std::fprintf(out, "Lines that could not be read: %d\n", players[i].unread);
            }
            (void)std::fprintf(out, "\n");
            print_practice_part(out, players[i].rows, now);
        }
    }
    if (std::fflush(out) != 0 || std::ferror(out) != 0) {
        (void)std::fprintf(err, "refuel: the report could not be written\n");
        return 1;
    }
    return status;
}

int report_on_players(const std::string& player, const std::vector<std::string>& paths,
                      const std::string& html_file, std::time_t now) {
    const std::string folder = game_data_folder();
    std::string from = folder.empty() ? "the working folder" : folder;
    std::vector<player_history> players;
    if (!paths.empty()) {
        players = gathered_histories(paths, now);
        from.clear();
        for (const std::string& path : paths) {
            from += (from.empty() ? "" : ", ") + path;
        }
    } else {
        players = folder_histories(folder, player, true, now);
        if (players.size() == 1 && player.empty() && html_file.empty() &&
            read_player_list(folder + players_file_name).empty()) {
            return print_practice_report(stdout, stderr, now);  // one player, as ever
        }
    }
    int status = print_player_report(stdout, stderr, players, from, now);
    if (!html_file.empty() && !write_page(html_file, progress_page(players, from, now))) {
        (void)std::fprintf(stderr, "refuel: %s could not be written\n", html_file.c_str());
        status = 1;
    }
    return status;
}

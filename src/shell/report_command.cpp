#include "report_command.h"

#include <algorithm>
#include <csignal>
#include <cstdio>

#include "data_file.h"
#include "player_histories.h"
#include "player_report.h"
#include "players.h"
#include "practice_file.h"
#include "practice_report_text.h"
#include "progress_page.h"

namespace {

// The page replaces whatever was at its path in one rename; a link there is
// followed only as far as the player's own links go.
bool write_page(const std::string& path, const std::string& page) {
    return replace_data_file(data_file_target(path),
                             std::vector<unsigned char>(page.begin(), page.end()));
}

}  // namespace

int print_practice_report(std::FILE* out, std::FILE* err, std::time_t now) {
    const std::string path = practice_path();
    std::vector<practice_row> rows;
    int unread = 0;
    if (read_practice_history(path, rows, &unread) == practice_file_unreadable) {
        (void)std::fprintf(err, "refuel: %s cannot be read\n", shown_path(path).c_str());
        return 1;
    }
    // Lines and not one game among them: a file this version cannot read,
    // never a child who has not played.
    if (rows.empty() && unread > 0) {
        (void)std::fprintf(err, "refuel: %s holds no game that can be read; lines not read: %d\n",
                           shown_path(path).c_str(), unread);
        return 1;
    }
    print_practice_report_of(out, path, figures_of(rows, fluency_of(rows, now), now), unread, now);
    if (std::fflush(out) != 0 || std::ferror(out) != 0) {
        (void)std::fprintf(err, "refuel: the report could not be written\n");
        return 1;
    }
    return 0;
}

int report_on_players(std::FILE* out, std::FILE* err, const std::string& player,
                      const std::vector<std::string>& paths, const std::string& html_file,
                      std::time_t now) {
    const std::string folder = game_data_folder();
    std::string from = folder.empty() ? "the working folder" : folder;
    std::vector<player_history> players;
    if (!paths.empty()) {
        players = gathered_histories(paths, now);
        from.clear();
        for (const std::string& path : paths) {
            from += (from.empty() ? "" : ", ") + path;
        }
        if (players.empty()) {
            (void)std::fprintf(err, "refuel: no practice history in %s\n",
                               shown_path(from).c_str());
            return 1;
        }
        if (!player.empty()) {
            players.erase(
                std::remove_if(players.begin(), players.end(),
                               [&player](const player_history& p) { return p.name != player; }),
                players.end());
            if (players.empty()) {
                (void)std::fprintf(err, "refuel: no player %s in %s\n", player.c_str(),
                                   shown_path(from).c_str());
                return 1;
            }
        }
    } else {
        players = folder_histories(folder, player, true, now);
        if (!player.empty() && players.size() == 1 && players[0].fault == "does not list them") {
            (void)std::fprintf(err, "refuel: no player %s in %s\n", player.c_str(),
                               shown_path(folder + players_file_name).c_str());
            return 1;
        }
        player_list list;
        if (players.size() == 1 && player.empty() && html_file.empty() &&
            read_player_entries(folder + players_file_name, list) == player_list_read &&
            list.players.empty()) {
            return print_practice_report(out, err, now);  // one player, as ever
        }
    }
    int status = 0;
    if (!html_file.empty() && !write_page(html_file, progress_page(players, from, now))) {
        (void)std::fprintf(err, "refuel: %s could not be written\n", shown_path(html_file).c_str());
        status = 1;
    }
    return std::max(status, print_player_report(out, err, players, from, now));
}

int report_on_players(const std::string& player, const std::vector<std::string>& paths,
                      const std::string& html_file, std::time_t now) {
    (void)std::signal(SIGPIPE, SIG_IGN);
    return report_on_players(stdout, stderr, player, paths, html_file, now);
}

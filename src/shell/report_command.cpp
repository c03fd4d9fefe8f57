#include "report_command.h"

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
        (void)std::fprintf(err, "refuel: %s cannot be read\n", path.c_str());
        return 1;
    }
    // Lines and not one game among them: a file this version cannot read,
    // never a child who has not played.
    if (rows.empty() && unread > 0) {
        (void)std::fprintf(err, "refuel: %s holds no game that can be read; lines not read: %d\n",
                           path.c_str(), unread);
        return 1;
    }
    print_practice_report_of(out, path, rows, unread, now);
    if (std::fflush(out) != 0 || std::ferror(out) != 0) {
        (void)std::fprintf(err, "refuel: the report could not be written\n");
        return 1;
    }
    return 0;
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

#include "player_histories.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include <sys/stat.h>

#include "players.h"
#include "practice_file.h"

namespace {

player_history read_history(const std::string& name, const std::string& path, bool missing_is_fault,
                            std::time_t now) {
    player_history h{name, path, "", {}, {}, 0, {}};
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
    h.figures = figures_of(h.rows, h.fluency, now);
    return h;
}

// The players' files in a folder that no list entry has, by name.
std::vector<std::string> unlisted_players(const std::string& folder, const player_list& list) {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(folder.empty() ? "." : folder, error)) {
        std::string name;
        const std::string file = entry.path().filename().string();
        const auto has = [&](const player_entry& p) { return p.name == name || p.file == file; };
        if (player_of_practice_file(file, name) &&
            std::none_of(list.players.begin(), list.players.end(), has)) {
            found.push_back(name);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
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
    player_list list;
    std::vector<player_history> histories;
    if (read_player_entries(folder + players_file_name, list) != player_list_read) {
        // Whose file is whose is not known: nothing is guessed.
        histories.push_back(
            {"players list", folder + players_file_name, "cannot be read", {}, {}, 0, {}});
        return histories;
    }
    struct stat st;
    if (list.players.empty() &&
        (own_folder || lstat((folder + first_practice_file).c_str(), &st) == 0)) {
        list.players.push_back({"", first_practice_file});  // the first player's
    }
    std::vector<player_entry> players = list.players;
    const std::vector<std::string> unlisted = unlisted_players(folder, list);
    std::transform(unlisted.begin(), unlisted.end(), std::back_inserter(players),
                   [](const std::string& name) {
                       return player_entry{name, "practice-" + encode_player_name(name) + ".csv"};
                   });
    for (const player_entry& p : players) {
        if (only.empty() || p.name == only) {
            histories.push_back(
                read_history(shown_player_name(p.name), folder + p.file, !own_folder, now));
        }
    }
    if (histories.empty() && !only.empty()) {
        histories.push_back(
            {only, folder + players_file_name, "does not list them", {}, {}, 0, {}});
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
        player_list list;
        (void)read_player_entries(path.substr(0, path.size() - file.size()) + players_file_name,
                                  list);
        const auto owner = std::find_if(list.players.begin(), list.players.end(),
                                        [&file](const player_entry& p) { return p.file == file; });
        if (owner != list.players.end() && !owner->name.empty()) {
            name = owner->name;  // the list beside it says whose it is
        } else if (!player_of_practice_file(file, name)) {
            name = file.empty() || file == first_practice_file ? path
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

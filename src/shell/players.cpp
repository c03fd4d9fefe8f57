#include "players.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "data_file.h"
#include "game_paths.h"
#include "player_names.h"

std::string current_player;
std::string current_practice_file;
std::string player_name_for_scores;

namespace {

constexpr std::size_t largest_list = std::size_t{64} * 1024;  // far above any class

// Two copies adding players take turns under the list's lock. Without the
// lock within two seconds the change is made regardless rather than keep a
// child waiting; a list in a place refused (another's link, a FIFO) is not.
bool change_list(const std::string& path,
                 const std::function<bool(std::vector<std::string>&)>& change) {
    const std::string target = data_file_target(path);
    const int lock = lock_data_file(target, 2000);
    std::vector<std::string> players = read_player_list(path);
    const std::vector<std::string> before = players;
    bool ok = !target.empty() && change(players);
    if (ok && players != before) {
        const std::string text = player_list_text(players);
        ok = replace_data_file(target, std::vector<unsigned char>(text.begin(), text.end()));
    }
    if (lock >= 0) {
        (void)close(lock);
    }
    return ok;
}

bool has_games(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

}  // namespace

std::vector<std::string> read_player_list(const std::string& path) {
    std::vector<unsigned char> bytes;
    bool cut = false;
    if (read_data_file(data_file_target(path), largest_list, bytes, cut) != data_file_read || cut) {
        return {};
    }
    return player_list_of(std::string(bytes.begin(), bytes.end()));
}

bool add_player(const std::string& path, const std::string& name, bool first_has_history) {
    return change_list(path, [&](std::vector<std::string>& players) {
        if (std::find(players.begin(), players.end(), name) != players.end()) {
            return true;
        }
        if (players.empty() && first_has_history) {
            players.emplace_back();
        }
        players.push_back(name);
        return true;
    });
}

bool name_first_player(const std::string& path, const std::string& name) {
    return change_list(path, [&](std::vector<std::string>& players) {
        if (std::find(players.begin(), players.end(), name) != players.end()) {
            return false;
        }
        if (players.empty()) {
            players.push_back(name);
        } else if (players[0].empty()) {
            players[0] = name;
        } else {
            return false;
        }
        return true;
    });
}

std::string game_data_folder() {
    const std::size_t slash = high_score_path.rfind('/');
    return slash == std::string::npos ? "" : high_score_path.substr(0, slash + 1);
}

std::string players_path() {
    return game_data_folder() + players_file_name;
}

bool choose_player(const std::string& name, std::string& message) {
    const std::string list = players_path();
    const bool saved = add_player(list, name, has_games(game_data_folder() + first_practice_file));
    std::vector<std::string> players = read_player_list(list);
    if (!saved && std::find(players.begin(), players.end(), name) == players.end()) {
        message =
            "refuel: " + list + " could not be saved; " + name + " plays without being listed";
        if (has_games(game_data_folder() + first_practice_file)) {
            players.insert(players.begin(), "");
        }
    }
    current_player = name;
    current_practice_file = practice_file_of(players, name);
    player_name_for_scores = name;
    return saved;
}

std::string practice_path() {
    return game_data_folder() +
           (current_practice_file.empty() ? first_practice_file : current_practice_file);
}

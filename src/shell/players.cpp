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

int player_list_lock_patience_ms = 5000;

namespace {

constexpr std::size_t largest_list = std::size_t{64} * 1024;  // far above any class

// Two copies adding players take turns under the list's lock; a copy that
// cannot have it changes nothing (rather than write over the other's
// change), and nor does one that could not read the list whole.
player_list_change change_list(const std::string& path,
                               const std::function<bool(player_list&)>& change) {
    const std::string target = data_file_target(path);
    if (target.empty()) {
        return list_not_saved;
    }
    const int lock = lock_data_file(target, player_list_lock_patience_ms);
    if (lock < 0) {
        return list_busy;
    }
    player_list list;
    player_list_change result = list_changed;
    if (read_player_entries(path, list) != player_list_read) {
        result = list_unreadable;
    } else {
        const std::string before = player_list_text(list);
        if (!change(list)) {
            result = list_refused;
        } else if (player_list_text(list) != before) {
            const std::string text = player_list_text(list);
            result = replace_data_file(target, std::vector<unsigned char>(text.begin(), text.end()))
                         ? list_changed
                         : list_not_saved;
        }
    }
    (void)close(lock);
    return result;
}

bool has_games(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

bool listed(const player_list& list, const std::string& name) {
    return std::any_of(list.players.begin(), list.players.end(),
                       [&name](const player_entry& p) { return p.name == name; });
}

}  // namespace

player_list_state read_player_entries(const std::string& path, player_list& list) {
    list = {};
    std::vector<unsigned char> bytes;
    bool cut = false;
    switch (read_data_file(data_file_target(path), largest_list, bytes, cut)) {
        case data_file_missing:
            return player_list_read;
        case data_file_unreadable:
            return player_list_unreadable;
        case data_file_read:
            break;
    }
    if (cut) {
        return player_list_unreadable;
    }
    list = player_list_of(std::string(bytes.begin(), bytes.end()));
    return player_list_read;
}

std::vector<std::string> read_player_list(const std::string& path) {
    player_list list;
    (void)read_player_entries(path, list);
    return player_names_of(list);
}

player_list_change add_player(const std::string& path, const std::string& name,
                              bool first_has_history) {
    return change_list(path, [&](player_list& list) {
        if (listed(list, name)) {
            return true;
        }
        if (list.players.empty() && first_has_history) {
            list.players.push_back({"", first_practice_file});
        }
        list.players.push_back({name, practice_file_of(list, name)});
        return true;
    });
}

player_list_change name_first_player(const std::string& path, const std::string& name) {
    return change_list(path, [&](player_list& list) {
        if (listed(list, name)) {
            return false;
        }
        for (player_entry& p : list.players) {
            if (p.name.empty()) {
                p.name = name;
                return true;
            }
        }
        if (!list.players.empty()) {
            return false;
        }
        list.players.push_back({name, first_practice_file});
        return true;
    });
}

std::string player_list_message(player_list_change change, const std::string& path,
                                const std::string& name) {
    switch (change) {
        case list_changed:
            return "";
        case list_refused:
            return "refuel: " + name + " is already a player in " + path;
        case list_busy:
            return "refuel: " + path + " is in use by another copy of the game; " + name +
                   " was not added";
        case list_unreadable:
            return "refuel: " + path + " cannot be read; it was left as it is and " + name +
                   " was not added";
        case list_not_saved:
            break;
    }
    return "refuel: " + path + " could not be saved; " + name + " was not added";
}

std::string game_data_folder() {
    const std::size_t slash = high_score_path.rfind('/');
    return slash == std::string::npos ? "" : high_score_path.substr(0, slash + 1);
}

std::string players_path() {
    return game_data_folder() + players_file_name;
}

bool choose_player(const std::string& name, std::string& message) {
    const std::string list_path = players_path();
    const player_list_change change =
        add_player(list_path, name, has_games(game_data_folder() + first_practice_file));
    player_list list;
    const player_list_state state = read_player_entries(list_path, list);
    current_player = name;
    player_name_for_scores = name;
    if (state == player_list_read && (listed(list, name) || change == list_changed)) {
        current_practice_file = practice_file_of(list, name);
        return true;
    }
    message =
        player_list_message(change == list_changed ? list_unreadable : change, list_path, name) +
        "; playing without being listed";
    if (state == player_list_read && list.players.empty() &&
        has_games(game_data_folder() + first_practice_file)) {
        list.players.push_back({"", first_practice_file});
    }
    // Never practice.csv, which may be a child's the list could not say.
    current_practice_file = state == player_list_read
                                ? practice_file_of(list, name)
                                : "practice-" + encode_player_name(name) + ".csv";
    if (current_practice_file == first_practice_file) {
        current_practice_file = "practice-" + encode_player_name(name) + ".csv";
    }
    return false;
}

std::string practice_path() {
    return game_data_folder() +
           (current_practice_file.empty() ? first_practice_file : current_practice_file);
}

#include "player_names.h"

#include <algorithm>

const char* const players_file_name = "players.txt";
const char* const first_practice_file = "practice.csv";

namespace {

constexpr const char* practice_prefix = "practice-";
constexpr const char* practice_suffix = ".csv";

bool kept_as_is(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

}  // namespace

bool player_name_of(const std::string& text, std::string& name, std::string& why) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    name = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    if (name.empty()) {
        why = "a player's name cannot be empty";
        return false;
    }
    if (name.size() > static_cast<std::size_t>(player_name_length)) {
        why = "a player's name has at most " + std::to_string(player_name_length) + " characters";
        return false;
    }
    for (char& c : name) {
        if (c < ' ' || c > '~') {
            why = "a player's name takes letters, digits, spaces and punctuation only";
            return false;
        }
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return true;
}

std::string encode_player_name(const std::string& name) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : name) {
        if (kept_as_is(c)) {
            out += c;
        } else {
            const auto u = static_cast<unsigned char>(c);
            out += '%';
            out += digits[u >> 4];
            out += digits[u & 15];
        }
    }
    return out;
}

std::string practice_file_of(const std::vector<std::string>& players, const std::string& name) {
    if (players.empty() || players[0] == name) {
        return first_practice_file;
    }
    return practice_prefix + encode_player_name(name) + practice_suffix;
}

bool player_of_practice_file(const std::string& file_name, std::string& name) {
    const std::size_t prefix = std::char_traits<char>::length(practice_prefix);
    const std::size_t suffix = std::char_traits<char>::length(practice_suffix);
    if (file_name.size() <= prefix + suffix || file_name.compare(0, prefix, practice_prefix) != 0 ||
        file_name.compare(file_name.size() - suffix, suffix, practice_suffix) != 0) {
        return false;
    }
    const std::string encoded = file_name.substr(prefix, file_name.size() - prefix - suffix);
    std::string decoded;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            decoded += encoded[i];
        } else if (i + 2 < encoded.size() && hex_value(encoded[i + 1]) >= 0 &&
                   hex_value(encoded[i + 2]) >= 0) {
            decoded +=
                static_cast<char>(hex_value(encoded[i + 1]) * 16 + hex_value(encoded[i + 2]));
            i += 2;
        } else {
            return false;
        }
    }
    std::string why;
    // Only the one spelling this program writes stands for a player.
    return player_name_of(decoded, name, why) && name == decoded &&
           encode_player_name(name) == encoded;
}

std::vector<std::string> player_list_of(const std::string& text) {
    std::vector<std::string> players;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         start = end + 1, end = text.find('\n', start)) {
        std::string name;
        std::string why;
        const std::string line = text.substr(start, end - start);
        if (line.empty() && players.empty()) {
            players.emplace_back();  // the first player, no name yet
        } else if (player_name_of(line, name, why) && name == line &&
                   std::find(players.begin(), players.end(), name) == players.end()) {
            players.push_back(name);
        }
    }
    return players;
}


std::string player_list_text(const std::vector<std::string>& players) {
    std::string text;
    for (const std::string& name : players) {
        text += name + "\n";
    }
    return text;
}

std::string shown_player_name(const std::string& name) {
    return name.empty() ? "first player" : name;
}

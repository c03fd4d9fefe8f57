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

bool is_practice_file_name(const std::string& file_name) {
    const std::size_t prefix = std::char_traits<char>::length(practice_prefix);
    const std::size_t suffix = std::char_traits<char>::length(practice_suffix);
    if (file_name == first_practice_file) {
        return true;
    }
    if (file_name.size() <= prefix + suffix || file_name.compare(0, prefix, practice_prefix) != 0 ||
        file_name.compare(file_name.size() - suffix, suffix, practice_suffix) != 0) {
        return false;
    }
    // Only what encode_player_name writes, and "-" for a second file of a name.
    return std::all_of(file_name.begin() + static_cast<long>(prefix),
                       file_name.end() - static_cast<long>(suffix),
                       [](char c) { return kept_as_is(c) || c == '%' || c == '-'; });
}

std::string practice_file_of(const player_list& list, const std::string& name) {
    const auto taken = [&list](const std::string& file) {
        return std::any_of(list.players.begin(), list.players.end(),
                           [&file](const player_entry& p) { return p.file == file; });
    };
    const auto listed = std::find_if(list.players.begin(), list.players.end(),
                                     [&name](const player_entry& p) { return p.name == name; });
    if (listed != list.players.end()) {
        return listed->file;
    }
    if (list.players.empty()) {
        return first_practice_file;
    }
    const std::string base = practice_prefix + encode_player_name(name);
    std::string file = base + practice_suffix;
    for (int n = 2; taken(file); ++n) {
        file = base + "-" + std::to_string(n) + practice_suffix;
    }
    return file;
}

std::vector<std::string> player_names_of(const player_list& list) {
    std::vector<std::string> names(list.players.size());
    std::transform(list.players.begin(), list.players.end(), names.begin(),
                   [](const player_entry& p) { return p.name; });
    return names;
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

namespace {

const char* const list_heading =
    "# Refuel players: each name, then the practice file that is theirs";

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// "NAME file": the file is the last word, the name all before it.
bool entry_of(const std::string& line, player_entry& entry) {
    const std::size_t last = line.find_last_not_of(" \t");
    if (last == std::string::npos) {
        return false;
    }
    const std::size_t gap = line.find_last_of(" \t", last);
    const std::size_t from = gap == std::string::npos ? 0 : gap + 1;
    entry.file = line.substr(from, last + 1 - from);
    if (!is_practice_file_name(entry.file)) {
        return false;
    }
    std::string why;
    std::string before = gap == std::string::npos ? "" : line.substr(0, gap);
    std::replace(before.begin(), before.end(), '\t', ' ');
    entry.name.clear();
    return before.find_first_not_of(' ') == std::string::npos ||
           player_name_of(before, entry.name, why);
}

// The entry a line of the list stands for; false for a line kept as it
// is. In a list of the older kind the first line, whatever it holds, is the
// first player's, so that nobody else can come to own practice.csv; a name
// alone anywhere else has the file its name gives, never another's.
bool list_line_entry(const std::string& line, bool named_files, bool first_line,
                     player_entry& entry) {
    if (named_files && (line[0] == '#' || entry_of(line, entry))) {
        return line[0] != '#';  // a '#' line is a note of the adult's
    }
    std::string name;
    std::string why;
    if (!named_files && first_line && line.find_first_not_of(" \t") == std::string::npos) {
        entry = {"", first_practice_file};  // the first player, no name yet
        return true;
    }
    if (!player_name_of(line, name, why)) {
        return false;
    }
    entry = {name, !named_files && first_line ? first_practice_file
                                              : "practice-" + encode_player_name(name) + ".csv"};
    return true;
}

}  // namespace

player_list player_list_of(const std::string& text) {
    player_list list;
    const std::vector<std::string> lines = lines_of(text);
    player_entry entry;
    const bool named_files = std::any_of(
        lines.begin(), lines.end(), [&entry](const std::string& l) { return entry_of(l, entry); });
    const auto add = [&list](const player_entry& e, const std::string& line) {
        const bool repeated = std::any_of(
            list.players.begin(), list.players.end(),
            [&e](const player_entry& p) { return p.name == e.name || p.file == e.file; });
        if (repeated) {
            // The same line twice is said once; a name or file claimed
            // twice is kept for the adult who wrote it, never guessed at.
            const bool same = std::any_of(
                list.players.begin(), list.players.end(),
                [&e](const player_entry& p) { return p.name == e.name && p.file == e.file; });
            if (!same) {
                list.other_lines.push_back(line);
            }
        } else {
            list.players.push_back(e);
        }
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool blank = lines[i].find_first_not_of(" \t") == std::string::npos;
        if (lines[i] == list_heading || (blank && (named_files || i > 0))) {
            continue;
        }
        if (list_line_entry(lines[i], named_files, i == 0, entry)) {
            add(entry, lines[i]);
        } else {
            list.other_lines.push_back(lines[i]);
        }
    }
    return list;
}

std::string player_list_text(const player_list& list) {
    std::string text = std::string(list_heading) + "\n";
    for (const player_entry& p : list.players) {
        text += (p.name.empty() ? "" : p.name + " ") + p.file + "\n";
    }
    for (const std::string& line : list.other_lines) {
        text += line + "\n";
    }
    return text;
}

std::string shown_player_name(const std::string& name) {
    return name.empty() ? "first player" : name;
}

#include "practice_csv.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <map>
#include <numeric>
#include <tuple>

#include "csv_fields.h"
#include "fact_sets.h"
#include "practice_texts.h"

// The operands and the operation have columns of their own, so that nothing
// rests on the problem column, which a spreadsheet may take for a date;
// spaced out, "12 / 3" stays text in the spreadsheets we tried.
const char* const practice_csv_header =
    "date,difficulty,topic,level,problem,first,operation,second,answer,entered,result,seconds,"
    "canister,canisters,kind\n";

namespace {

// The first version's layout: the problem alone, as the canister shows it.
constexpr int first_layout_fields = 11;
constexpr int field_count = 15;
constexpr const char* result_names[] = {"right", "wrong", "missed"};
constexpr const char* kind_names[] = {"game", "round"};
// The header after the byte order mark that some spreadsheets write first.
constexpr const char* marked_header =
    "\xef\xbb\xbf"
    "date";

// "12/3", as the first version wrote problems.
bool read_compact_problem(const csv_field& f, practice_entry& e) {
    for (const char* c = f.begin; c != f.end; ++c) {
        const char* sign = std::strchr("+-x/", *c);
        if (*c != '\0' && sign != nullptr) {
            e.operation = static_cast<int>(sign - "+-x/") + 1;
            return read_number(f.begin, c, e.operand_a) && read_number(c + 1, f.end, e.operand_b);
        }
    }
    return false;
}

// "12/3" or "6-3" that a spreadsheet took for a date and saved as one:
// "2026/12/03" or "2026/03/12" (year first), "03.12.26" or "12/3/2026"
// (year last). Which number was first is lost, and with a mixed topic the
// sign too; the fact is mended only when one reading alone gives the
// answer. How many readings do (the fact is lost, not its game, unless one
// does), or -1 when the field is no such date.
int mend_date_problem(const csv_field& f, int topic, practice_entry& e) {
    const char* p = f.begin;
    const char* end = f.end;
    int part[3] = {};
    const char* start = p;
    if (!read_digits(p, end, 1, 4, part[0])) {
        return -1;
    }
    const bool year_first = p - start == 4;
    if (!read_one_of(p, end, "/-.") || !read_digits(p, end, 1, 2, part[1]) ||
        !read_one_of(p, end, "/-.") || !read_digits(p, end, 1, 4, part[2]) || p != end) {
        return -1;
    }
    const int x = year_first ? part[1] : part[0];
    const int y = year_first ? part[2] : part[1];
    int found = 0;
    for (const int operation : {2, 4}) {
        if (topic >= 1 && topic <= 4 && topic != operation) {
            continue;
        }
        for (const auto& [a, b] : {std::make_pair(x, y), std::make_pair(y, x)}) {
            if (fact_answer(operation, a, b) == e.answer && (found == 0 || x != y)) {
                ++found;
                e.operation = operation;
                e.operand_a = a;
                e.operand_b = b;
            }
        }
    }
    return found;
}

// The rows of a game share their date: it is worked out once a game.
struct date_cache {
    char text[32];
    std::time_t when;
};

bool read_when(const csv_field& f, date_cache& last_date, std::time_t& when) {
    const std::size_t length = static_cast<std::size_t>(f.end - f.begin);
    if (length == 0 || length >= sizeof last_date.text) {
        return false;
    }
    if (!f.is(last_date.text)) {
        if (!read_date(f, last_date.when)) {
            last_date.text[0] = '\0';
            return false;
        }
        std::memcpy(last_date.text, f.begin, length);
        last_date.text[length] = '\0';
    }
    when = last_date.when;
    return true;
}

// What was typed: the answer's own digits for a right one; nothing for a
// miss; for a wrong one whatever the spreadsheet made of it (it drops
// leading zeros and writes long numbers with an exponent).
bool read_entered(const csv_field& f, practice_entry& e) {
    const std::size_t length = static_cast<std::size_t>(f.end - f.begin);
    if (length >= sizeof e.entered ||
        std::any_of(f.begin, f.end, [](char c) { return c <= ' ' || c > '~' || c == '"'; })) {
        return false;
    }
    std::memcpy(e.entered, f.begin, length);
    e.entered[length] = '\0';
    char right[16];
    (void)std::snprintf(right, sizeof right, "%d", e.answer);
    switch (e.result) {
        case practice_right:
            return std::strcmp(e.entered, right) == 0;
        case practice_wrong:
            return true;
        default:
            return length == 0;
    }
}

// What a line is.
enum line_kind { line_other, line_row, line_damaged_row, line_header, line_blank };

// One row of either layout from its fields; line_damaged_row when all but
// its fact could be read.
line_kind read_fields(const csv_field* f, bool first_layout, practice_row& row,
                      date_cache& last_date) {
    // Where the columns after the problem start.
    const csv_field* rest = first_layout ? f + 5 : f + 8;
    practice_entry& e = row.entry;
    e = practice_entry{};
    practice_game& game = row.game;
    game.topic = find_name(f[2], practice_topic_names, 5) + 1;
    e.result = find_name(rest[2], result_names, 3);
    const int kind = first_layout ? 0 : find_name(f[14], kind_names, 2);
    game.round = kind == 1;
    const bool shared = kind >= 0 && read_when(f[0], last_date, game.when) &&
                        read_number(f[1], game.difficulty) && game.difficulty >= 1 &&
                        game.difficulty <= 4 && game.topic >= 1 && read_number(f[3], e.level) &&
                        e.level >= 1 && e.level <= 10 && read_number(rest[0], e.answer) &&
                        e.result >= 0 && read_seconds(rest[3], e.ticks) &&
                        read_number(rest[4], row.canister) && read_number(rest[5], row.canisters) &&
                        row.canister >= 1 && row.canister <= row.canisters;
    if (!shared) {
        return line_other;
    }
    bool fact = false;
    if (first_layout) {
        fact = read_compact_problem(f[4], e);
        const int readings = fact ? 1 : mend_date_problem(f[4], game.topic, e);
        if (readings == 0 || readings > 1) {
            e.operation = 0;  // only this fact is lost
            return read_entered(rest[1], e) ? line_damaged_row : line_other;
        }
        fact = readings == 1;
    } else {
        e.operation = find_name(f[6], practice_topic_names, 4) + 1;
        fact = read_number(f[5], e.operand_a) && e.operation >= 1 && read_number(f[7], e.operand_b);
    }
    return fact && e.answer == fact_answer(e.operation, e.operand_a, e.operand_b) &&
                   read_entered(rest[1], e)
               ? line_row
               : line_other;
}

// One line, without its newline: a row of either layout, separated by ','
// or ';', with whatever columns follow it.
line_kind read_line(const char* begin, const char* end, practice_row& row, date_cache& last_date) {
    if (end > begin && end[-1] == '\r') {
        --end;  // saved again on another system
    }
    const char separator = separator_of(begin, end);
    csv_field f[field_count];
    const int n = split_fields(begin, end, separator, f, field_count);
    if (n > 0 && (f[0].is("date") || f[0].is(marked_header))) {
        return line_header;
    }
    if (std::all_of(begin, end, [separator](char c) { return c == separator || c == ' '; })) {
        return line_blank;
    }
    line_kind kind = n == field_count ? read_fields(f, false, row, last_date) : line_other;
    // A spreadsheet that saves rows of both layouts pads the older ones.
    if (kind == line_other && n >= first_layout_fields) {
        kind = read_fields(f, true, row, last_date);
    }
    return kind;
}

// What the rows of one game share, as a key: open games are found by all of
// it, so that a file of many games with one date and different counts
// costs a lookup a row, never a walk over the games still open.
using game_key = std::tuple<std::time_t, bool, int, int, int>;

game_key key_of(const practice_row& row) {
    return {row.game.when, row.game.round, row.game.difficulty, row.game.topic, row.canisters};
}

// A game being read: what its rows share, how many it has, and whether it
// still lacks any (it is then among the open games, at `where`).
struct game_start {
    game_key key;
    int rows;
    std::multimap<game_key, std::size_t>::iterator where;
    bool open;
};

}  // namespace

bool same_game(const practice_row& a, const practice_row& b) {
    return key_of(a) == key_of(b);
}

bool starts_game(const practice_row* previous, const practice_row& row) {
    return previous == nullptr || !same_game(*previous, row) || row.canister <= previous->canister;
}

std::string practice_csv_rows(const practice_entry* entries, int count, const practice_game& game) {
    char date[32] = "1970-01-01 00:00:00";
    std::tm local{};
    if (localtime_r(&game.when, &local) != nullptr) {
        (void)std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
    }
    std::string out;
    for (int i = 0; i < count; ++i) {
        const practice_entry& e = entries[i];
        char seconds[32];
        char row[practice_longest_line + 64];
        seconds_text(seconds, sizeof seconds, e.ticks);
        const int result = e.result >= 0 && e.result <= 2 ? e.result : practice_missed;
        (void)std::snprintf(row, sizeof row, "%s,%d,%s,%d,%d %s %d,%d,%s,%d,%d,%s,%s,%s,%d,%d,%s\n",
                            date, game.difficulty, topic_name(game.topic), e.level, e.operand_a,
                            operation_sign(e.operation), e.operand_b, e.operand_a,
                            topic_name(e.operation), e.operand_b, e.answer, e.entered,
                            result_names[result], seconds, i + 1, count,
                            kind_names[game.round ? 1 : 0]);
        out += row;
    }
    return out;
}

// The header goes before our rows when the file is empty or its last whole
// line is of the first version's layout (its rows or its header), so that a
// spreadsheet labels the columns that follow. Whatever is left of an
// earlier append cut short in the middle of a row gets its newline first.
std::string practice_block_start(const char* tail, std::size_t size, bool file_empty) {
    if (file_empty) {
        return practice_csv_header;
    }
    if (size == 0) {
        return "";
    }
    const char* end = tail + size;
    std::string start = end[-1] == '\n' ? "" : "\n";
    const char* last_newline = nullptr;
    for (const char* c = end; c != tail; --c) {
        if (c[-1] == '\n') {
            last_newline = c - 1;
            break;
        }
    }
    if (last_newline != nullptr) {
        const char* line = last_newline;
        while (line != tail && line[-1] != '\n') {
            --line;
        }
        csv_field f[field_count];
        if (split_fields(line, last_newline, ',', f, field_count) == first_layout_fields) {
            start += practice_csv_header;
        }
    }
    return start;
}

std::vector<practice_row> parse_practice_csv(const char* bytes, std::size_t size, int* unread) {
    date_cache last_date{};
    // Rows of one game need not stand together (a sorted sheet): each goes
    // to the game of its kind that still lacks rows, and the games keep the
    // order their first rows came in.
    std::vector<practice_row> read;
    std::vector<std::size_t> game_of;  // of each row read
    read.reserve(size / 64 + 1);
    game_of.reserve(size / 64 + 1);
    std::vector<game_start> games;
    std::multimap<game_key, std::size_t> open_games;
    int lines = 0;
    const char* end = bytes + size;
    for (const char* line = bytes; line < end;) {
        const char* newline = static_cast<const char*>(std::memchr(line, '\n', end - line));
        const char* line_end = newline != nullptr ? newline : end;
        practice_row& row = read.emplace_back();
        const line_kind kind = read_line(line, line_end, row, last_date);
        lines += kind == line_header || kind == line_blank ? 0 : 1;
        line = line_end + 1;
        if (kind != line_row && kind != line_damaged_row) {
            read.pop_back();
            continue;
        }
        // Most often the row is the next of the game before it.
        std::size_t game = games.empty() ? 0 : games.size() - 1;
        const game_key key = key_of(row);
        if (games.empty() || !games.back().open || games.back().key != key) {
            auto at = open_games.find(key);  // the oldest open game of that key
            if (at == open_games.end()) {
                at = open_games.emplace(key, games.size());
                games.push_back({key, 0, at, true});
            }
            game = at->second;
        }
        game_start& g = games[game];
        game_of.push_back(game);
        if (++g.rows == row.canisters) {
            open_games.erase(g.where);
            g.open = false;
        }
    }
    // Games in the order of their first rows, each in canister order.
    std::vector<std::size_t> order(read.size());
    std::iota(order.begin(), order.end(), 0);
    const auto before = [&](std::size_t a, std::size_t b) {
        return game_of[a] != game_of[b] ? game_of[a] < game_of[b]
                                        : read[a].canister < read[b].canister;
    };
    if (!std::is_sorted(order.begin(), order.end(), before)) {
        std::stable_sort(order.begin(), order.end(), before);
    }
    // A game is kept when it has each of its rows once; one that lacks any
    // (an append cut short, a damaged line, the start of a file read from
    // its middle, a row pasted twice) is dropped whole.
    std::vector<practice_row> rows;
    rows.reserve(read.size());
    for (std::size_t i = 0, j = 0; i < order.size(); i = j) {
        int distinct = 0;
        for (int previous = 0; j < order.size() && game_of[order[j]] == game_of[order[i]]; ++j) {
            distinct += read[order[j]].canister != previous ? 1 : 0;
            previous = read[order[j]].canister;
        }
        for (std::size_t k = i; distinct == read[order[i]].canisters && k < j; ++k) {
            if (read[order[k]].entry.operation != 0) {
                rows.push_back(read[order[k]]);
            }
        }
    }
    if (unread != nullptr) {
        *unread = lines - static_cast<int>(rows.size());
    }
    return rows;
}

#include "practice_csv.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <map>
#include <numeric>

#include <sys/stat.h>
#include <unistd.h>

#include "fact_sets.h"
#include "data_file.h"
#include "high_score_table.h"
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
constexpr int longest_line = 512;  // well above any row this program writes
constexpr int largest_number = 9999999;
constexpr const char* result_names[] = {"right", "wrong", "missed"};
constexpr const char* kind_names[] = {"game", "round"};
// The header after the byte order mark that some spreadsheets write first.
constexpr const char* marked_header =
    "\xef\xbb\xbf"
    "date";

struct field {
    const char* begin;
    const char* end;
    bool is(const char* text) const {
        const std::size_t n = std::strlen(text);
        return static_cast<std::size_t>(end - begin) == n && std::memcmp(begin, text, n) == 0;
    }
    bool empty() const { return begin == end; }
};

// Plain decimal digits only, no sign, at most largest_number.
bool read_number(const char* begin, const char* end, int& out) {
    if (begin == end || end - begin > 7) {
        return false;
    }
    int n = 0;
    for (const char* c = begin; c != end; ++c) {
        if (*c < '0' || *c > '9') {
            return false;
        }
        n = n * 10 + (*c - '0');
    }
    out = n;
    return n <= largest_number;
}

bool read_number(const field& f, int& out) {
    return read_number(f.begin, f.end, out);
}

int find_name(const field& f, const char* const* names, int count) {
    for (int i = 0; i < count; ++i) {
        if (f.is(names[i])) {
            return i;
        }
    }
    return -1;
}

// Up to max_digits digits at p, at least min_digits; p moves past them.
bool read_digits(const char*& p, const char* end, int min_digits, int max_digits, int& out) {
    const char* start = p;
    while (p != end && *p >= '0' && *p <= '9' && p - start < max_digits) {
        ++p;
    }
    return p - start >= min_digits && read_number(start, p, out);
}

bool read_one_of(const char*& p, const char* end, const char* characters) {
    if (p == end || std::strchr(characters, *p) == nullptr || *p == '\0') {
        return false;
    }
    ++p;
    return true;
}

// The date part of a date and time: year first, as this program writes it
// ("2026-12-06") and spreadsheets save it ("2026/12/6"), or day first with
// dots as German spreadsheets show dates ("6.12.2026", "06.12.26").
bool read_calendar_day(const char*& p, const char* end, int& year, int& month, int& day) {
    const char* start = p;
    if (read_digits(p, end, 4, 4, year)) {
        return read_one_of(p, end, "-/") && read_digits(p, end, 1, 2, month) &&
               read_one_of(p, end, "-/") && read_digits(p, end, 1, 2, day);
    }
    p = start;
    const char* year_start = nullptr;
    const bool read = read_digits(p, end, 1, 2, day) && read_one_of(p, end, ".") &&
                      read_digits(p, end, 1, 2, month) && read_one_of(p, end, ".") &&
                      (year_start = p, read_digits(p, end, 2, 4, year)) && p - year_start != 3;
    year += read && p - year_start == 2 ? 2000 : 0;
    return read;
}

// Local time as this program writes it ("2026-12-06 15:04:05") and as
// spreadsheets save it back: the date written their way, "T" before the
// time, one-digit hours, no seconds, no time.
bool read_date(const field& f, std::time_t& out) {
    const char* p = f.begin;
    const char* end = f.end;
    int part[6] = {};
    if (!read_calendar_day(p, end, part[0], part[1], part[2])) {
        return false;
    }
    if (p != end && (!read_one_of(p, end, "T ") || !read_digits(p, end, 1, 2, part[3]) ||
                     !read_one_of(p, end, ":") || !read_digits(p, end, 2, 2, part[4]))) {
        return false;
    }
    if (p != end && (!read_one_of(p, end, ":") || !read_digits(p, end, 2, 2, part[5]))) {
        return false;
    }
    if (p != end || part[0] < 1970 || part[1] < 1 || part[1] > 12 || part[2] < 1 || part[2] > 31 ||
        part[3] > 23 || part[4] > 59 || part[5] > 60) {
        return false;
    }
    std::tm t{};
    t.tm_year = part[0] - 1900;
    t.tm_mon = part[1] - 1;
    t.tm_mday = part[2];
    t.tm_hour = part[3];
    t.tm_min = part[4];
    t.tm_sec = part[5];
    t.tm_isdst = -1;
    out = std::mktime(&t);
    return out != static_cast<std::time_t>(-1);
}

// "2.35", or what a spreadsheet makes of it: "2.3", "2", "2.349", "2,3".
bool read_seconds(const field& f, int& ticks) {
    const char* point = std::find_if(f.begin, f.end, [](char c) { return c == '.' || c == ','; });
    int whole = 0;
    if (!read_number(f.begin, point, whole) || whole > 999999) {
        return false;
    }
    int decimals[3] = {};
    int count = 0;
    for (const char* c = point == f.end ? f.end : point + 1; c != f.end; ++c, ++count) {
        if (*c < '0' || *c > '9') {
            return false;
        }
        if (count < 3) {
            decimals[count] = *c - '0';
        }
    }
    ticks = whole * 100 + decimals[0] * 10 + decimals[1] + (decimals[2] >= 5 ? 1 : 0);
    return point == f.end || count > 0;
}

// "12/3", as the first version wrote problems.
bool read_compact_problem(const field& f, practice_entry& e) {
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
int mend_date_problem(const field& f, int topic, practice_entry& e) {
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

// Splits a line at the separator into at most `most` fields; the rest of
// the line (a parent's notes in later columns) is left unread. A field in
// double quotes, as spreadsheets write one with a space, a separator or a
// decimal comma in it, is taken without them. -1 when a quote of the fields
// read is never closed.
int split_fields(const char* begin, const char* end, char separator, field* fields, int most) {
    const char* c = begin;
    for (int n = 0; n < most; ++n) {
        field& f = fields[n];
        if (c != end && *c == '"') {
            f.begin = ++c;
            while (c != end && (*c != '"' || (c + 1 != end && c[1] == '"'))) {
                c += *c == '"' ? 2 : 1;
            }
            f.end = c;
            if (c == end) {
                return -1;
            }
            ++c;
        } else {
            f.begin = c;
            c = std::find(c, end, separator);
            f.end = c;
        }
        if (c == end) {
            return n + 1;
        }
        if (*c != separator) {
            return -1;
        }
        ++c;
    }
    return most;
}

// The first ',' or ';' outside quotes: spreadsheets in languages with a
// decimal comma separate fields with ';'.
char separator_of(const char* begin, const char* end) {
    bool quoted = false;
    for (const char* c = begin; c != end; ++c) {
        quoted = quoted != (*c == '"');
        if (!quoted && (*c == ',' || *c == ';')) {
            return *c;
        }
    }
    return ',';
}

// The rows of a game share their date: it is worked out once a game.
struct date_cache {
    char text[32];
    std::time_t when;
};

bool read_when(const field& f, date_cache& last_date, std::time_t& when) {
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
bool read_entered(const field& f, practice_entry& e) {
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
line_kind read_fields(const field* f, bool first_layout, practice_row& row, date_cache& last_date) {
    // Where the columns after the problem start.
    const field* rest = first_layout ? f + 5 : f + 8;
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
    field f[field_count];
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

// A game being read: its first row, how many it has, and whether it still
// lacks any (it is then among the open games, at `where`).
struct game_start {
    std::size_t first;
    int rows;
    std::multimap<std::time_t, std::size_t>::iterator where;
    bool open;
};

bool same_game(const practice_row& a, const practice_row& b) {
    return a.game.when == b.game.when && a.game.round == b.game.round &&
           a.game.difficulty == b.game.difficulty && a.game.topic == b.game.topic &&
           a.canisters == b.canisters;
}

// The header goes before our rows when the file is empty or its last whole
// line is of the first version's layout (its rows or its header), so that a
// spreadsheet labels the columns that follow. Whatever is left of an
// earlier append cut short in the middle of a row gets its newline first.
std::string block_start(int fd, off_t size) {
    if (size == 0) {
        return practice_csv_header;
    }
    char tail[longest_line + 2];
    const off_t from = std::max<off_t>(0, size - static_cast<off_t>(sizeof tail));
    const ssize_t got = pread(fd, tail, sizeof tail, from);
    if (got <= 0) {
        return "";
    }
    const char* end = tail + got;
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
        field f[field_count];
        if (split_fields(line, last_newline, ',', f, field_count) == first_layout_fields) {
            start += practice_csv_header;
        }
    }
    return start;
}

bool write_whole(int fd, const std::string& block) {
    ssize_t written = 0;
    do {
        written = write(fd, block.data(), block.size());
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(block.size());
}

}  // namespace

std::string practice_path() {
    const std::size_t slash = high_score_path.rfind('/');
    if (slash == std::string::npos) {
        return "practice.csv";
    }
    return high_score_path.substr(0, slash + 1) + "practice.csv";
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
        char row[longest_line + 64];
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

bool append_practice_game(const std::string& path, const practice_entry* entries, int count,
                          const practice_game& game) {
    if (count <= 0) {
        return true;
    }
    const int fd = open_data_file_to_append(data_file_target(path));
    struct stat st;
    if (fd < 0) {
        return false;
    }
    if (fstat(fd, &st) != 0) {
        (void)close(fd);  // nothing written
        return false;
    }
    // One write of the whole game. Should it come back short (a full disk,
    // the program killed), the game lacks its last row and the reader drops
    // it, never taking it for a shorter game.
    const bool whole =
        write_whole(fd, block_start(fd, st.st_size) + practice_csv_rows(entries, count, game));
    return close(fd) == 0 && whole;
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
    std::multimap<std::time_t, std::size_t> open_games;
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
        if (games.empty() || !games.back().open || !same_game(read[games.back().first], row)) {
            auto [at, to] = open_games.equal_range(row.game.when);
            while (at != to && !same_game(read[games[at->second].first], row)) {
                ++at;
            }
            if (at == to) {
                at = open_games.emplace(row.game.when, games.size());
                games.push_back({read.size() - 1, 0, at, true});
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

practice_file_state read_practice_history(const std::string& path, std::vector<practice_row>& rows,
                                          int* unread) {
    rows.clear();
    std::vector<unsigned char> bytes;
    bool cut = false;
    const data_file_state state =
        read_data_file(data_file_target(path), practice_read_limit, bytes, cut);
    if (state != data_file_read) {
        return state == data_file_missing ? practice_file_missing : practice_file_unreadable;
    }
    auto begin = bytes.begin();
    // Read from the middle: the first line is only the end of a row.
    if (cut) {
        begin = std::find(bytes.begin(), bytes.end(), '\n');
        begin += begin == bytes.end() ? 0 : 1;
    }
    rows = parse_practice_csv(reinterpret_cast<const char*>(bytes.data()) + (begin - bytes.begin()),
                              static_cast<std::size_t>(bytes.end() - begin), unread);
    return practice_file_read;
}

#include "practice_csv.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fact_sets.h"
#include "game_paths.h"
#include "high_score_table.h"
#include "players.h"
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

// Local time, year first, as this program writes it ("2026-12-06 15:04:05")
// and as spreadsheets save it back: "/" between the parts of the date, "T"
// before the time, one-digit months, days and hours, no seconds, no time.
bool read_date(const field& f, std::time_t& out) {
    const char* p = f.begin;
    const char* end = f.end;
    int part[6] = {};
    if (!read_digits(p, end, 4, 4, part[0]) || !read_one_of(p, end, "-/") ||
        !read_digits(p, end, 1, 2, part[1]) || !read_one_of(p, end, "-/") ||
        !read_digits(p, end, 1, 2, part[2])) {
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

// "2.35", or what a spreadsheet makes of it: "2.3", "2", "2.349".
bool read_seconds(const field& f, int& ticks) {
    const char* point = std::find(f.begin, f.end, '.');
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

// Splits a line at its commas; a field in double quotes (as spreadsheets
// write one with a space in it) is taken without them. At most `most`.
int split_fields(const char* begin, const char* end, field* fields, int most) {
    int n = 0;
    const char* c = begin;
    for (;;) {
        if (n == most) {
            return most + 1;
        }
        field& f = fields[n++];
        if (c != end && *c == '"') {
            f.begin = ++c;
            while (c != end && (*c != '"' || (c + 1 != end && c[1] == '"'))) {
                c += *c == '"' ? 2 : 1;
            }
            f.end = c;
            if (c == end) {
                return -1;  // the quote is never closed
            }
            ++c;
        } else {
            f.begin = c;
            c = std::find(c, end, ',');
            f.end = c;
        }
        if (c == end) {
            return n;
        }
        if (*c != ',') {
            return -1;
        }
        ++c;
    }
}

// The rows of a game share their date: it is worked out once a game.
struct date_cache {
    char text[32];
    std::time_t when;
};

bool read_when(const field& f, date_cache& last_date, std::time_t& when) {
    const std::size_t length = static_cast<std::size_t>(f.end - f.begin);
    if (length >= sizeof last_date.text) {
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

// One line, without its newline, in either layout.
bool read_row(const char* begin, const char* end, practice_row& row, date_cache& last_date) {
    if (end > begin && end[-1] == '\r') {
        --end;  // saved again on another system
    }
    if (end - begin > longest_line) {
        return false;
    }
    field f[field_count];
    int n = split_fields(begin, end, f, field_count);
    // A spreadsheet that saves rows of both layouts pads the older ones.
    while (n > first_layout_fields && f[n - 1].empty()) {
        --n;
    }
    if (n != field_count && n != first_layout_fields) {
        return false;
    }
    const bool first_layout = n == first_layout_fields;
    // Where the columns after the problem start.
    const field* rest = first_layout ? f + 5 : f + 8;
    practice_entry& e = row.entry;
    e = practice_entry{};
    practice_game& game = row.game;
    game.topic = find_name(f[2], practice_topic_names, 5) + 1;
    e.result = find_name(rest[2], result_names, 3);
    int kind = 0;
    if (first_layout) {
        if (!read_compact_problem(f[4], e)) {
            return false;
        }
    } else {
        e.operation = find_name(f[6], practice_topic_names, 4) + 1;
        kind = find_name(f[14], kind_names, 2);
        if (!read_number(f[5], e.operand_a) || e.operation < 1 || !read_number(f[7], e.operand_b)) {
            return false;
        }
    }
    game.round = kind == 1;
    return kind >= 0 && read_when(f[0], last_date, game.when) &&
           read_number(f[1], game.difficulty) && game.difficulty >= 1 && game.difficulty <= 4 &&
           game.topic >= 1 && read_number(f[3], e.level) && e.level >= 1 && e.level <= 10 &&
           read_number(rest[0], e.answer) &&
           e.answer == fact_answer(e.operation, e.operand_a, e.operand_b) && e.result >= 0 &&
           read_entered(rest[1], e) && read_seconds(rest[3], e.ticks) &&
           read_number(rest[4], row.canister) && read_number(rest[5], row.canisters) &&
           row.canister >= 1 && row.canister <= row.canisters;
}

bool regular_file(int fd, struct stat& st) {
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
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
        if (split_fields(line, last_newline, f, field_count) == first_layout_fields) {
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
    return current_practice_path();
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
    // An installed game's folder is made by whichever file comes first.
    make_folders_for(path);
    // Not blocking: a FIFO or device in its place must not hold up the game;
    // not through a link, which someone else may have planted in a shared
    // folder.
    const int fd =
        open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return false;
    }
    struct stat st;
    if (!regular_file(fd, st)) {
        close(fd);
        return false;
    }
    // One write of the whole game. Should it come back short (a full disk,
    // the program killed), the game lacks its last row and the reader drops
    // it, never taking it for a shorter game.
    const bool whole =
        write_whole(fd, block_start(fd, st.st_size) + practice_csv_rows(entries, count, game));
    return close(fd) == 0 && whole;
}

std::vector<practice_row> parse_practice_csv(const char* bytes, std::size_t size) {
    std::vector<practice_row> rows;
    date_cache last_date{};
    // The rows of the game being read: kept once its last row has come,
    // dropped when a row is missing or another game starts first.
    std::size_t game_start = 0;
    bool game_whole = true;
    const char* end = bytes + size;
    for (const char* line = bytes; line < end;) {
        const char* newline = static_cast<const char*>(std::memchr(line, '\n', end - line));
        if (newline == nullptr) {
            break;  // a row still without its newline may be cut short
        }
        practice_row row{};
        if (read_row(line, newline, row, last_date)) {
            const practice_row* previous = rows.size() > game_start ? &rows.back() : nullptr;
            const bool next_of_game =
                previous != nullptr && !game_whole && previous->game.when == row.game.when &&
                previous->game.round == row.game.round && previous->canisters == row.canisters &&
                previous->canister + 1 == row.canister;
            if (!next_of_game) {
                if (!game_whole) {
                    rows.resize(game_start);
                }
                game_start = rows.size();
            }
            if (next_of_game || row.canister == 1) {
                rows.push_back(row);
                game_whole = row.canister == row.canisters;
            } else {
                game_whole = true;  // the rest of a game whose start is missing
            }
        }
        line = newline + 1;
    }
    if (!game_whole) {
        rows.resize(game_start);
    }
    return rows;
}

practice_file_state read_practice_history(const std::string& path,
                                          std::vector<practice_row>& rows) {
    rows.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) {
        return errno == ENOENT ? practice_file_missing : practice_file_unreadable;
    }
    struct stat st;
    std::vector<char> bytes;
    off_t from = 0;
    bool read_all = regular_file(fd, st);
    if (read_all) {
        from = std::max<off_t>(0, st.st_size - practice_read_limit);
        bytes.resize(static_cast<std::size_t>(st.st_size - from));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n =
                pread(fd, bytes.data() + got, bytes.size() - got, from + static_cast<off_t>(got));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                read_all = n == 0;  // a file that shrank meanwhile reads as far as it goes
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        // Read from the middle: the first line is only the end of a row.
        if (from > 0) {
            const auto newline = std::find(bytes.begin(), bytes.end(), '\n');
            bytes.erase(bytes.begin(), newline == bytes.end() ? newline : newline + 1);
        }
    }
    close(fd);
    if (!read_all) {
        return practice_file_unreadable;
    }
    rows = parse_practice_csv(bytes.data(), bytes.size());
    return practice_file_read;
}

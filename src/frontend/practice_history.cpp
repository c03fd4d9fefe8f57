#include "practice_history.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <map>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "high_score_table.h"

const char* const practice_csv_header =
    "date,difficulty,topic,level,problem,answer,entered,result,seconds,canister,canisters\n";

namespace {

constexpr int field_count = 11;
constexpr int longest_line = 256;  // well above any row this program writes
constexpr int largest_number = 9999999;
constexpr const char* topic_names[] = {"",         "addition", "subtraction", "multiplication",
                                       "division", "mixed"};
constexpr const char* result_names[] = {"right", "wrong", "missed"};
constexpr std::time_t seconds_per_day = std::time_t{24} * 60 * 60;

struct field {
    const char* begin;
    const char* end;
    bool is(const char* text) const {
        const std::size_t n = std::strlen(text);
        return static_cast<std::size_t>(end - begin) == n && std::memcmp(begin, text, n) == 0;
    }
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

// The game's answer to a problem, or -1 for one the game never asks.
int answer_of(int a, int operation, int b) {
    switch (operation) {
        case 1:
            return a + b;
        case 2:
            return a >= b ? a - b : -1;
        case 3:
            return b == 0 || a <= largest_number / b ? a * b : -1;
        case 4:
            return b > 0 && a % b == 0 ? a / b : -1;
        default:
            return -1;
    }
}

bool read_problem(const field& f, practice_entry& e) {
    for (const char* c = f.begin; c != f.end; ++c) {
        const char* sign = std::strchr("+-x/", *c);
        if (*c != '\0' && sign != nullptr) {
            e.operation = static_cast<int>(sign - "+-x/") + 1;
            return read_number(f.begin, c, e.operand_a) && read_number(c + 1, f.end, e.operand_b);
        }
    }
    return false;
}

// "2026-12-06T15:04:05", local time.
bool read_date(const field& f, std::time_t& out) {
    const char* p = f.begin;
    int part[6];
    const char separators[] = "--T::";
    if (f.end - p != 19) {
        return false;
    }
    const int widths[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        if (!read_number(p, p + widths[i], part[i])) {
            return false;
        }
        p += widths[i];
        if (i < 5 && *p++ != separators[i]) {
            return false;
        }
    }
    if (part[0] < 1970 || part[1] < 1 || part[1] > 12 || part[2] < 1 || part[2] > 31 ||
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

// "2.35": whole seconds, a point and two digits.
bool read_seconds(const field& f, int& ticks) {
    int whole = 0;
    int hundredths = 0;
    if (f.end - f.begin < 4 || f.end[-3] != '.' || !read_number(f.begin, f.end - 3, whole) ||
        !read_number(f.end - 2, f.end, hundredths) || whole > 999999) {
        return false;
    }
    ticks = whole * 100 + hundredths;
    return true;
}

// The rows of a game share their date: it is worked out once a game.
struct date_cache {
    char text[20];
    std::time_t when;
};

// One line, without its newline, exactly as practice_csv_rows writes it.
bool read_row(const char* begin, const char* end, practice_row& row, date_cache& last_date) {
    if (end > begin && end[-1] == '\r') {
        --end;  // saved again on another system
    }
    if (end - begin > longest_line) {
        return false;
    }
    field f[field_count];
    int n = 0;
    const char* start = begin;
    for (const char* c = begin; c <= end; ++c) {
        if (c == end || *c == ',') {
            if (n == field_count) {
                return false;
            }
            f[n++] = {start, c};
            start = c + 1;
        }
    }
    if (n != field_count) {
        return false;
    }
    practice_entry& e = row.entry;
    e = practice_entry{};
    if (f[0].end - f[0].begin != 19) {
        return false;
    }
    if (!f[0].is(last_date.text)) {
        if (!read_date(f[0], last_date.when)) {
            last_date.text[0] = '\0';
            return false;
        }
        std::memcpy(last_date.text, f[0].begin, 19);
        last_date.text[19] = '\0';
    }
    row.when = last_date.when;
    row.topic = find_name(f[2], topic_names, 6);
    e.result = find_name(f[7], result_names, 3);
    const std::size_t entered = static_cast<std::size_t>(f[6].end - f[6].begin);
    if (!read_number(f[1], row.difficulty) || row.difficulty < 1 || row.difficulty > 4 ||
        row.topic < 1 || !read_number(f[3], e.level) || e.level < 1 || e.level > 10 ||
        !read_problem(f[4], e) || !read_number(f[5], e.answer) ||
        e.answer != answer_of(e.operand_a, e.operation, e.operand_b) || e.result < 0 ||
        entered >= sizeof e.entered || !read_seconds(f[8], e.ticks) ||
        !read_number(f[9], row.canister) || !read_number(f[10], row.canisters) ||
        row.canister < 1 || row.canister > row.canisters) {
        return false;
    }
    for (const char* c = f[6].begin; c != f[6].end; ++c) {
        if (*c < '0' || *c > '9') {
            return false;
        }
    }
    std::memcpy(e.entered, f[6].begin, entered);
    e.entered[entered] = '\0';
    char right[16];
    (void)std::snprintf(right, sizeof right, "%d", e.answer);
    const bool matches = std::strcmp(e.entered, right) == 0;
    switch (e.result) {
        case practice_right:
            return matches;
        case practice_wrong:
            return !matches;
        default:
            return entered == 0;
    }
}

bool regular_file(int fd, struct stat& st) {
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// Whatever is left of an earlier append cut short in the middle of a row
// gets its newline, so that our first row starts a line of its own.
bool ends_in_newline(int fd, off_t size) {
    char last = '\n';
    return size == 0 || pread(fd, &last, 1, size - 1) != 1 || last == '\n';
}

struct fact_key {
    int operation;
    int a;
    int b;
    bool operator<(const fact_key& o) const {
        return std::tie(operation, a, b) < std::tie(o.operation, o.a, o.b);
    }
};

fact_key key_of(const practice_entry& e) {
    const bool either_order = e.operation == 1 || e.operation == 3;
    if (either_order && e.operand_a > e.operand_b) {
        return {e.operation, e.operand_b, e.operand_a};
    }
    return {e.operation, e.operand_a, e.operand_b};
}

// An unknown median (only misses) counts as the slowest.
int slowness(const practice_fact& f) {
    return f.median_ticks < 0 ? INT_MAX : f.median_ticks;
}

}  // namespace

std::string practice_path() {
    const std::size_t slash = high_score_path.rfind('/');
    if (slash == std::string::npos) {
        return "practice.csv";
    }
    return high_score_path.substr(0, slash + 1) + "practice.csv";
}

void problem_text(char* out, std::size_t size, int operand_a, int operation, int operand_b) {
    (void)std::snprintf(out, size, "%d%s%d", operand_a, operation_sign(operation), operand_b);
}

void fact_text(char* out, std::size_t size, const practice_fact& fact) {
    char problem[32];
    problem_text(problem, sizeof problem, fact.operand_a, fact.operation, fact.operand_b);
    (void)std::snprintf(out, size, "%s = %d", problem, fact.answer);
}

void seconds_text(char* out, std::size_t size, int ticks) {
    ticks = ticks < 0 ? 0 : ticks;
    (void)std::snprintf(out, size, "%d.%02d", ticks / 100, ticks % 100);
}

void median_text(char* out, std::size_t size, int ticks) {
    if (ticks < 0) {
        (void)std::snprintf(out, size, "-");
    } else {
        (void)std::snprintf(out, size, "%d.%d s", ticks / 100, ticks % 100 / 10);
    }
}

std::string practice_csv_rows(const practice_entry* entries, int count, std::time_t when,
                              int difficulty, int topic) {
    char date[32] = "1970-01-01T00:00:00";
    std::tm local{};
    if (localtime_r(&when, &local) != nullptr) {
        (void)std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    }
    const char* topic_name = topic >= 1 && topic <= 5 ? topic_names[topic] : "mixed";
    std::string out;
    for (int i = 0; i < count; ++i) {
        const practice_entry& e = entries[i];
        char problem[32];
        char seconds[32];
        char row[longest_line + 64];
        problem_text(problem, sizeof problem, e.operand_a, e.operation, e.operand_b);
        seconds_text(seconds, sizeof seconds, e.ticks);
        const int result = e.result >= 0 && e.result <= 2 ? e.result : practice_missed;
        (void)std::snprintf(row, sizeof row, "%s,%d,%s,%d,%s,%d,%s,%s,%s,%d,%d\n", date, difficulty,
                            topic_name, e.level, problem, e.answer, e.entered, result_names[result],
                            seconds, i + 1, count);
        out += row;
    }
    return out;
}

bool append_practice_game(const std::string& path, const practice_entry* entries, int count,
                          std::time_t when, int difficulty, int topic) {
    if (count <= 0) {
        return true;
    }
    // Not blocking: a FIFO or device in its place must not hold up the game.
    const int fd = open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        return false;
    }
    struct stat st;
    if (!regular_file(fd, st)) {
        close(fd);
        return false;
    }
    std::string block;
    if (st.st_size == 0) {
        block = practice_csv_header;
    } else if (!ends_in_newline(fd, st.st_size)) {
        block = "\n";
    }
    block += practice_csv_rows(entries, count, when, difficulty, topic);
    // One write of the whole game. Should it come back short (a full disk,
    // the program killed), the game lacks its last row and the reader drops
    // it, never taking it for a shorter game.
    ssize_t written = 0;
    do {
        written = write(fd, block.data(), block.size());
    } while (written < 0 && errno == EINTR);
    const bool whole = written == static_cast<ssize_t>(block.size());
    return close(fd) == 0 && whole;
}

std::vector<practice_row> parse_practice_csv(const char* bytes, std::size_t size) {
    std::vector<practice_row> rows;
    date_cache last_date{};
    // The rows of the game being read: kept once its last row has come,
    // dropped when another game starts first.
    std::size_t game_start = 0;
    bool game_whole = false;
    const char* end = bytes + size;
    for (const char* line = bytes; line < end;) {
        const char* newline = static_cast<const char*>(std::memchr(line, '\n', end - line));
        if (newline == nullptr) {
            break;  // a row still without its newline may be cut short
        }
        practice_row row{};
        if (read_row(line, newline, row, last_date)) {
            const practice_row* previous = rows.size() > game_start ? &rows.back() : nullptr;
            const bool same_game = previous != nullptr && previous->when == row.when &&
                                   previous->canisters == row.canisters &&
                                   previous->canister < row.canister && !game_whole;
            if (!same_game) {
                if (!game_whole) {
                    rows.resize(game_start);
                }
                game_start = rows.size();
            }
            rows.push_back(row);
            game_whole = row.canister == row.canisters;
        }
        line = newline + 1;
    }
    if (!game_whole) {
        rows.resize(game_start);
    }
    return rows;
}

std::vector<practice_row> read_practice_history(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return {};
    }
    struct stat st;
    std::vector<char> bytes;
    off_t from = 0;
    if (regular_file(fd, st)) {
        from = std::max<off_t>(0, st.st_size - practice_read_limit);
        bytes.resize(static_cast<std::size_t>(st.st_size - from));
        const ssize_t n = pread(fd, bytes.data(), bytes.size(), from);
        bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        // Read from the middle: the first line is only the end of a row.
        if (from > 0) {
            const auto newline = std::find(bytes.begin(), bytes.end(), '\n');
            bytes.erase(bytes.begin(), newline == bytes.end() ? newline : newline + 1);
        }
    }
    close(fd);
    std::vector<practice_row> rows = parse_practice_csv(bytes.data(), bytes.size());
    // Nor is the first game read from the middle whole: it starts later on.
    if (from > 0) {
        rows.erase(rows.begin(), std::find_if(rows.begin(), rows.end(), [](const practice_row& r) {
                       return r.canister == 1;
                   }));
    }
    return rows;
}

int median_ticks(std::vector<int> ticks) {
    if (ticks.empty()) {
        return -1;
    }
    std::sort(ticks.begin(), ticks.end());
    const std::size_t mid = ticks.size() / 2;
    if (ticks.size() % 2 == 1) {
        return ticks[mid];
    }
    return (ticks[mid - 1] + ticks[mid]) / 2;
}

std::vector<practice_fact> facts_to_practise(const std::vector<practice_row>& rows, std::time_t now,
                                             int most) {
    struct tally {
        int misses = 0;
        bool recent = false;
        int rights_since_miss = 0;
        std::vector<int> times;
        int answer = 0;
    };
    std::map<fact_key, tally> tallies;
    const std::time_t window_start = now - practice_window_days * seconds_per_day;
    for (const practice_row& row : rows) {
        tally& t = tallies[key_of(row.entry)];
        const int result = row.entry.result;
        t.rights_since_miss = result == practice_right ? t.rights_since_miss + 1 : 0;
        t.answer = row.entry.answer;
        if (row.when < window_start) {
            continue;
        }
        t.recent = true;
        t.misses += result == practice_right ? 0 : 1;
        if (result != practice_missed) {
            t.times.push_back(row.entry.ticks);
        }
    }
    std::vector<practice_fact> facts;
    for (const auto& [key, t] : tallies) {
        if (t.recent && t.rights_since_miss < 3) {
            facts.push_back(
                {key.operation, key.a, key.b, t.answer, t.misses, median_ticks(t.times)});
        }
    }
    // Stable over the map's order, so equal facts come smallest first.
    std::stable_sort(facts.begin(), facts.end(),
                     [](const practice_fact& x, const practice_fact& y) {
                         if (x.misses != y.misses) {
                             return x.misses > y.misses;
                         }
                         return slowness(x) > slowness(y);
                     });
    if (static_cast<int>(facts.size()) > most) {
        facts.resize(static_cast<std::size_t>(std::max(0, most)));
    }
    return facts;
}

void print_practice_report(std::FILE* out, std::time_t now) {
    const std::string path = practice_path();
    const std::vector<practice_row> rows = read_practice_history(path);
    const std::time_t window_start = now - practice_window_days * seconds_per_day;
    int games = 0;
    int canisters = 0;
    int rights[5] = {};
    int counts[5] = {};
    std::vector<int> times[5];
    for (const practice_row& row : rows) {
        const practice_entry& e = row.entry;
        if (row.when < window_start || e.operation < 1 || e.operation > 4) {
            continue;
        }
        games += row.canister == 1 ? 1 : 0;
        canisters += 1;
        counts[e.operation] += 1;
        rights[e.operation] += e.result == practice_right ? 1 : 0;
        if (e.result != practice_missed) {
            times[e.operation].push_back(e.ticks);
        }
    }
    char day[32] = "?";
    std::tm local{};
    if (localtime_r(&now, &local) != nullptr) {
        (void)std::strftime(day, sizeof day, "%Y-%m-%d", &local);
    }
    (void)std::fprintf(out, "Refuel practice report: the %d days to %s\n", practice_window_days,
                       day);
    (void)std::fprintf(out, "From %s\n\n", path.c_str());
    (void)std::fprintf(out, "Games: %d   canisters: %d\n\n", games, canisters);
    (void)std::fprintf(out, "%-16s %7s %13s\n", "operation", "right", "median time");
    for (int op = 1; op <= 4; ++op) {
        char share[16] = "-";
        char median[32] = "-";
        if (counts[op] > 0) {
            (void)std::snprintf(share, sizeof share, "%d%%", 100 * rights[op] / counts[op]);
            median_text(median, sizeof median, median_ticks(times[op]));
        }
        (void)std::fprintf(out, "%-16s %7s %13s\n", topic_names[op], share, median);
    }
    const std::vector<practice_fact> facts = facts_to_practise(rows, now, 10);
    (void)std::fprintf(out, "\n%-16s %7s %13s\n", "facts to practise", "misses", "median time");
    if (facts.empty()) {
        (void)std::fprintf(out, "(none)\n");
    }
    for (const practice_fact& f : facts) {
        char text[64];
        char median[32];
        fact_text(text, sizeof text, f);
        median_text(median, sizeof median, f.median_ticks);
        (void)std::fprintf(out, "%-16s %7d %13s\n", text, f.misses, median);
    }
}

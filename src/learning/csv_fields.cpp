#include "csv_fields.h"

#include <algorithm>

namespace {

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

}  // namespace

// Plain decimal digits only, no sign, at most largest_csv_number.
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
    return n <= largest_csv_number;
}

bool read_number(const csv_field& f, int& out) {
    return read_number(f.begin, f.end, out);
}

int find_name(const csv_field& f, const char* const* names, int count) {
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

// Local time as this program writes it ("2026-12-06 15:04:05") and as
// spreadsheets save it back: the date written their way, "T" before the
// time, one-digit hours, no seconds, no time.
bool read_date(const csv_field& f, std::time_t& out) {
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
bool read_seconds(const csv_field& f, int& ticks) {
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

// Splits a line at the separator into at most `most` fields; the rest of
// the line (a parent's notes in later columns) is left unread. A field in
// double quotes, as spreadsheets write one with a space, a separator or a
// decimal comma in it, is taken without them. -1 when a quote of the fields
// read is never closed.
int split_fields(const char* begin, const char* end, char separator, csv_field* fields, int most) {
    const char* c = begin;
    for (int n = 0; n < most; ++n) {
        csv_field& f = fields[n];
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

#pragma once
// The fields of one line of a CSV file as this program writes it and as
// spreadsheets save it back: ',' or ';' between fields, fields in double
// quotes, numbers, seconds with a decimal point or comma, and dates in the
// orders spreadsheets write them. Each reader takes the field's bytes and
// says false for anything it does not hold.

#include <cstddef>
#include <cstring>
#include <ctime>

// A field's bytes, quotes taken off, inside the line read.
struct csv_field {
    const char* begin;
    const char* end;
    bool is(const char* text) const {
        const std::size_t n = std::strlen(text);
        return static_cast<std::size_t>(end - begin) == n && std::memcmp(begin, text, n) == 0;
    }
    bool empty() const { return begin == end; }
};

constexpr int largest_csv_number = 9999999;

// Plain decimal digits only, no sign, at most largest_csv_number.
bool read_number(const char* begin, const char* end, int& out);
bool read_number(const csv_field& f, int& out);
// The index of the field's text among the names; -1 for none.
int find_name(const csv_field& f, const char* const* names, int count);
// Up to max_digits digits at p, at least min_digits; p moves past them.
bool read_digits(const char*& p, const char* end, int min_digits, int max_digits, int& out);
// One of the characters at p; p moves past it.
bool read_one_of(const char*& p, const char* end, const char* characters);
// A local date and time (see csv_fields.cpp for the spellings read).
bool read_date(const csv_field& f, std::time_t& out);
// Seconds as ticks of 1/100 s: "2.35", "2.3", "2", "2.349", "2,3".
bool read_seconds(const csv_field& f, int& ticks);

// Splits a line at the separator into at most `most` fields; the rest of
// the line is left unread. The count of fields read, or -1 when a quote of
// the fields read is never closed.
int split_fields(const char* begin, const char* end, char separator, csv_field* fields, int most);
// The first ',' or ';' outside quotes; ',' when there is none.
char separator_of(const char* begin, const char* end);

#pragma once
// The days the trainer counts in: a row's calendar day, the rows that count
// as played by "now", and the window the reports look back over. Every
// screen, report and round reads the history through these, so a clock set
// wrong or a game near midnight is judged the same way everywhere.

#include <ctime>

#include "practice_csv.h"

constexpr std::time_t seconds_per_day = std::time_t{24} * 60 * 60;
constexpr int practice_window_days = 30;  // the misses, times and games counted

// Local calendar days, numbered from 1970-01-01.
long calendar_day(std::time_t when);

// The calendar day of a row's game. The rows of one game share their time,
// so going through rows in order works the day out once a game.
struct game_day_cache {
    std::time_t when = -1;
    long day = 0;
};
long game_day(const practice_row& row, game_day_cache& cache);

// Rows dated past tomorrow are a clock set wrong and count nowhere; a
// clock a few hours ahead, or a history moved between time zones, still
// counts the day it says.
struct played_rows {
    explicit played_rows(std::time_t now) : last_day(calendar_day(now) + 1) {}
    // Whether the row counts as played by now; its calendar day goes into
    // `day` either way.
    bool counts(const practice_row& row, long& day) {
        day = game_day(row, cache);
        return day <= last_day;
    }
    bool counts(const practice_row& row) {
        long day = 0;
        return counts(row, day);
    }
    long last_day;
    game_day_cache cache;
};

// The first moment of the window the reports look back over.
std::time_t practice_window_start(std::time_t now);

#include "practice_calendar.h"

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
long days_from_civil(long y, long m, long d) {
    y -= m <= 2 ? 1 : 0;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long year_of_era = y - era * 400;
    const long day_of_year = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

}  // namespace

long calendar_day(std::time_t when) {
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr) {
        return static_cast<long>(when / seconds_per_day);
    }
    return days_from_civil(local.tm_year + 1900L, local.tm_mon + 1L, local.tm_mday);
}

long game_day(const practice_row& row, game_day_cache& cache) {
    if (row.game.when != cache.when) {
        cache.when = row.game.when;
        cache.day = calendar_day(cache.when);
    }
    return cache.day;
}

std::time_t practice_window_start(std::time_t now) {
    return now - practice_window_days * seconds_per_day;
}

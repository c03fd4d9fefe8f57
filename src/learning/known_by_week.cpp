#include "known_by_week.h"

#include <algorithm>
#include <map>

#include "fact_memory.h"
#include "fact_sets.h"
#include "practice_calendar.h"

namespace {

int fluent_at(const std::map<arithmetic_fact, fact_memory>& facts, std::time_t at) {
    return static_cast<int>(std::count_if(facts.begin(), facts.end(), [&](const auto& f) {
        return memory_state(f.second, at) == fact_known;
    }));
}

}  // namespace

std::vector<int> facts_known_by_week(const std::vector<practice_row>& rows, std::time_t now,
                                     int weeks) {
    std::vector<int> by_week(static_cast<std::size_t>(std::max(weeks, 0)));
    if (weeks <= 0) {
        return by_week;
    }
    // The player's bar as it is now, as fluency_of judges with it.
    const int bar = typing_bar_ticks(rows, now);
    const std::time_t week = 7 * seconds_per_day;
    const auto week_end = [&](int w) {
        return now - static_cast<std::time_t>(weeks - 1 - w) * week;
    };
    std::map<arithmetic_fact, fact_memory> facts;
    int shown = 0;  // the week the rows have reached: they never go back
    played_rows played(now);
    for (const practice_row& row : rows) {
        long day = 0;
        if (!played.counts(row, day)) {
            continue;
        }
        const long back = row.game.when >= now ? 0 : (now - row.game.when) / week;
        const int in_week = std::max(0, weeks - 1 - static_cast<int>(std::min<long>(back, weeks)));
        for (; shown < in_week; ++shown) {
            by_week[static_cast<std::size_t>(shown)] = fluent_at(facts, week_end(shown));
        }
        const practice_entry& e = row.entry;
        remember_answer(facts[fact_of(e.operation, e.operand_a, e.operand_b)], e, row.game.when,
                        day, bar);
    }
    for (; shown < weeks; ++shown) {
        by_week[static_cast<std::size_t>(shown)] = fluent_at(facts, week_end(shown));
    }
    return by_week;
}

#include "known_by_week.h"

#include <algorithm>
#include <map>

#include "fact_fluency.h"

std::vector<int> facts_known_by_week(const std::vector<practice_row>& rows, std::time_t now,
                                     int weeks) {
    // In file order, the order played, as fluency_of counts them.
    struct fact_days {
        bool known;
        long fail_day;
    };
    std::map<arithmetic_fact, fact_days> facts;
    std::vector<int> by_week(static_cast<std::size_t>(std::max(weeks, 0)));
    const std::time_t week = 7 * seconds_per_day;
    int known = 0;
    int shown = 0;  // the week the rows have reached: they never go back
    played_rows played(now);
    for (const practice_row& row : rows) {
        long day = 0;
        if (!played.counts(row, day) || weeks <= 0) {
            continue;
        }
        const long back = row.game.when >= now ? 0 : (now - row.game.when) / week;
        const int in_week = std::max(0, weeks - 1 - static_cast<int>(std::min<long>(back, weeks)));
        for (; shown < in_week; ++shown) {
            by_week[static_cast<std::size_t>(shown)] = known;
        }
        const practice_entry& e = row.entry;
        fact_days& f =
            facts.try_emplace(fact_of(e.operation, e.operand_a, e.operand_b), fact_days{false, -1})
                .first->second;
        const bool fast = fast_answer(e);
        const bool now_known = known_after(f.known, fast, day, f.fail_day);
        known += (now_known ? 1 : 0) - (f.known ? 1 : 0);
        f.known = now_known;
        f.fail_day = fast ? f.fail_day : day;
    }
    for (; shown < weeks; ++shown) {
        by_week[static_cast<std::size_t>(shown)] = known;
    }
    return by_week;
}

#include "fact_fluency.h"

#include <algorithm>
#include <iterator>
#include <map>

const int review_interval_days[review_interval_count] = {1, 3, 7, 14, 30};

namespace {

constexpr std::time_t seconds_per_day = std::time_t{24} * 60 * 60;

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
long days_from_civil(long y, long m, long d) {
    y -= m <= 2 ? 1 : 0;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long year_of_era = y - era * 400;
    const long day_of_year = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

struct tally {
    fact_fluency fluency{};
    std::vector<int> times;
};

}  // namespace

long calendar_day(std::time_t when) {
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr) {
        return static_cast<long>(when / seconds_per_day);
    }
    return days_from_civil(local.tm_year + 1900L, local.tm_mon + 1L, local.tm_mday);
}

std::vector<fact_fluency> fluency_of(const std::vector<practice_row>& rows, std::time_t now) {
    const long today = calendar_day(now);
    const std::time_t window_start = now - practice_window_days * seconds_per_day;
    // In the order played; the rows of one game share their time.
    std::vector<const practice_row*> played(rows.size());
    std::transform(rows.begin(), rows.end(), played.begin(),
                   [](const practice_row& row) { return &row; });
    std::stable_sort(
        played.begin(), played.end(),
        [](const practice_row* x, const practice_row* y) { return x->game.when < y->game.when; });
    std::map<arithmetic_fact, tally> tallies;
    // Rows of one game share their day too: it is worked out once a game.
    std::time_t day_of = -1;
    long day = 0;
    for (const practice_row* row : played) {
        if (row->game.when != day_of) {
            day_of = row->game.when;
            day = calendar_day(day_of);
        }
        if (day > today + 1) {
            continue;
        }
        const practice_entry& e = row->entry;
        tally& t = tallies[fact_of(e.operation, e.operand_a, e.operand_b)];
        fact_fluency& f = t.fluency;
        const bool right = e.result == practice_right;
        if (right && e.ticks <= fast_answer_ticks) {
            if (f.streak == 0) {
                f.streak = 1;
                f.known_since = row->game.when;
            } else if (day != f.last_fast_day) {
                f.streak += 1;
            }
            f.last_fast_day = day;
            f.state = fact_known;
        } else {
            f.streak = 0;
            f.state = right ? fact_slow : fact_to_learn;
        }
        f.latest_ticks = e.result == practice_missed ? -1 : e.ticks;
        if (row->game.when >= window_start) {
            f.recent_misses += right ? 0 : 1;
            if (e.result != practice_missed) {
                t.times.push_back(e.ticks);
            }
        }
    }
    std::vector<fact_fluency> fluency;
    fluency.reserve(tallies.size());
    for (auto& [fact, t] : tallies) {
        fact_fluency f = t.fluency;
        f.fact = fact;
        f.median_ticks = median_ticks(std::move(t.times));
        if (f.state == fact_known) {
            const int interval =
                review_interval_days[std::min(f.streak, review_interval_count) - 1];
            const long review_day = f.last_fast_day + interval;
            if (today >= review_day) {
                f.state = fact_due;
                f.days_overdue = static_cast<int>(today - review_day);
            }
        }
        fluency.push_back(f);
    }
    return fluency;
}

const fact_fluency* find_fluency(const std::vector<fact_fluency>& fluency,
                                 const arithmetic_fact& fact) {
    const auto it = std::lower_bound(
        fluency.begin(), fluency.end(), fact,
        [](const fact_fluency& f, const arithmetic_fact& key) { return f.fact < key; });
    return it != fluency.end() && it->fact == fact ? &*it : nullptr;
}

fact_state state_of(const std::vector<fact_fluency>& fluency, const arithmetic_fact& fact) {
    const fact_fluency* f = find_fluency(fluency, fact);
    return f != nullptr ? f->state : fact_new;
}

std::vector<fact_fluency> facts_to_practise(const std::vector<fact_fluency>& fluency, int most) {
    std::vector<fact_fluency> facts;
    std::copy_if(fluency.begin(), fluency.end(), std::back_inserter(facts),
                 [](const fact_fluency& f) {
                     return f.state == fact_to_learn || f.state == fact_slow || f.state == fact_due;
                 });
    // Stable over the fact order, so equal facts come smallest first.
    std::stable_sort(facts.begin(), facts.end(), [](const fact_fluency& x, const fact_fluency& y) {
        if (x.state != y.state) {
            return x.state < y.state;
        }
        switch (x.state) {
            case fact_to_learn:
                return x.recent_misses > y.recent_misses;
            case fact_slow:
                return x.latest_ticks > y.latest_ticks;
            default:
                return x.days_overdue > y.days_overdue;
        }
    });
    if (static_cast<int>(facts.size()) > most) {
        facts.resize(static_cast<std::size_t>(std::max(0, most)));
    }
    return facts;
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

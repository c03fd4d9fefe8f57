#include "fact_fluency.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>

const int review_interval_days[review_interval_count] = {1, 3, 7, 14, 30};

namespace {

struct tally {
    fact_fluency fluency{};
    std::vector<int> times;
    std::time_t latest_when = 0;
    int fails = 0;  // answers not fast
};

// The memory estimate: half-lives in days of a fact first answered fast or
// not, what every answer adds (the answer is seen each time), what a fail on
// record takes from a fast answer's gain, and how far ahead the chance is
// judged: the next day's practice.
constexpr double first_fast_half_life = 1.0;
constexpr double first_failed_half_life = 0.25;
constexpr double answer_growth = 1.1;
constexpr double fail_weight = 4.0;
constexpr double recall_ahead_days = 1.0;

// The half-life after an answer given `gap` days after the fact's previous
// one, with `fails` earlier answers not fast. A fast answer after a long gap
// shows the memory lasts; a record of fails makes that the weaker evidence.
double next_half_life(double half_life, bool fast, double gap, int fails) {
    if (half_life <= 0) {
        return fast ? first_fast_half_life : first_failed_half_life;
    }
    return half_life * answer_growth + (fast ? gap / (1 + fail_weight * fails) : 0.0);
}

}  // namespace

bool fast_answer(const practice_entry& e) {
    return e.result == practice_right && e.ticks <= fast_answer_ticks;
}

bool known_after(bool known, bool fast, long day, long last_fail_day) {
    return fast && (known || last_fail_day != day);
}

std::vector<fact_fluency> fluency_of(const std::vector<practice_row>& rows, std::time_t now) {
    const long today = calendar_day(now);
    const std::time_t window_start = practice_window_start(now);
    std::map<arithmetic_fact, tally> tallies;
    played_rows played(now);
    for (const practice_row& row : rows) {
        long day = 0;
        if (!played.counts(row, day)) {
            continue;
        }
        const practice_entry& e = row.entry;
        tally& t = tallies[fact_of(e.operation, e.operand_a, e.operand_b)];
        fact_fluency& f = t.fluency;
        const bool right = e.result == practice_right;
        const bool fast = fast_answer(e);
        const double gap = std::max(0.0, static_cast<double>(row.game.when - t.latest_when)) /
                           static_cast<double>(seconds_per_day);
        f.half_life_days = next_half_life(f.half_life_days, fast, gap, t.fails);
        t.fails += fast ? 0 : 1;
        t.latest_when = row.game.when;
        const bool was_known = f.streak > 0;
        const bool known = known_after(was_known, fast, day, f.last_fail_day);
        if (fast) {
            if (!was_known && known) {
                f.streak = 1;
                f.known_since = row.game.when;
                f.state = fact_known;
            } else if (was_known && day != f.last_fast_day) {
                f.streak += 1;
            }
            f.last_fast_day = day;
        } else {
            f.streak = 0;
            f.state = right ? fact_slow : fact_to_learn;
            f.last_fail_day = day;
        }
        f.latest_ticks = e.result == practice_missed ? -1 : e.ticks;
        f.latest_fast = fast;
        f.latest_day = day;
        if (row.game.when >= window_start) {
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
        const double days_since = std::max(0.0, static_cast<double>(now - t.latest_when)) /
                                  static_cast<double>(seconds_per_day);
        f.recall_chance = std::exp2(-(days_since + recall_ahead_days) / f.half_life_days);
        if (f.state == fact_known) {
            f.interval_days = review_interval_days[std::min(f.streak, review_interval_count) - 1];
            const long answer = std::clamp(f.latest_ticks, 100, fast_answer_ticks) - 100;
            f.urgency =
                static_cast<int>((today - f.last_fast_day) * 100 / f.interval_days + answer / 2);
            const long review_day = f.last_fast_day + f.interval_days;
            if (today >= review_day) {
                f.state = fact_due;
                f.days_overdue = static_cast<int>(today - review_day);
            }
        } else {
            const int base = f.latest_fast ? 50 : f.state == fact_slow ? 150 : 200;
            f.urgency = base + static_cast<int>(std::max(0L, today - f.latest_day)) * 100;
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

unsigned int fact_hash(const arithmetic_fact& fact) {
    unsigned int h = 2166136261u;
    for (const int part : {fact.operation, fact.operand_a, fact.operand_b}) {
        h = (h ^ static_cast<unsigned int>(part)) * 16777619u;
        h ^= h >> 13;
    }
    h *= 2654435761u;
    return h ^ h >> 16;
}

std::vector<fact_fluency> facts_to_practise(const std::vector<fact_fluency>& fluency, int most,
                                            const std::vector<arithmetic_fact>& unmet_from) {
    std::vector<fact_fluency> facts = fluency;
    // Never met facts, in the hash's mixed order, leave a fifth of the list
    // to what the player has shown.
    std::vector<arithmetic_fact> unmet;
    std::copy_if(unmet_from.begin(), unmet_from.end(), std::back_inserter(unmet),
                 [&](const arithmetic_fact& f) { return find_fluency(fluency, f) == nullptr; });
    std::sort(unmet.begin(), unmet.end(), [](const arithmetic_fact& x, const arithmetic_fact& y) {
        return fact_hash(x) < fact_hash(y);
    });
    unmet.resize(std::min(unmet.size(), static_cast<std::size_t>(std::max(0, most - most / 5))));
    for (const arithmetic_fact& fact : unmet) {
        fact_fluency f{};
        f.fact = fact;
        f.state = fact_new;
        f.latest_ticks = -1;
        f.median_ticks = -1;
        f.urgency = 300;
        f.recall_chance = 0;  // nothing shows it is known
        facts.push_back(f);
    }
    std::sort(facts.begin(), facts.end(), [&](const fact_fluency& x, const fact_fluency& y) {
        if (x.recall_chance != y.recall_chance) {
            return x.recall_chance < y.recall_chance;
        }
        if (x.recent_misses != y.recent_misses) {
            return x.recent_misses > y.recent_misses;
        }
        if (x.latest_ticks != y.latest_ticks) {
            return x.latest_ticks > y.latest_ticks;
        }
        return fact_hash(x.fact) < fact_hash(y.fact);
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

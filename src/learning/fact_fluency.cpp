#include "fact_fluency.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>

namespace {

struct tally {
    fact_memory memory;
    std::vector<int> times;
    int recent_misses = 0;
};

// What an unmet fact's table shows counts for less than its own answers.
constexpr double table_evidence_weight = 0.8;
constexpr int table_evidence_least = 2;
constexpr double table_evidence_floor = 0.5;

// Lead first, then the lower chance, more misses, slower, the hash.
bool practise_before(const fact_fluency& x, const fact_fluency& y) {
    if (x.failed_today != y.failed_today) {
        return x.failed_today;
    }
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
}

}  // namespace

bool fast_answer(const practice_entry& e) {
    return fast_within(e, standard_bar_ticks);
}

std::vector<fact_fluency> fluency_of(const std::vector<practice_row>& rows, std::time_t now) {
    const long today = calendar_day(now);
    const std::time_t window_start = practice_window_start(now);
    const int bar = typing_bar_ticks(rows, now);
    std::map<arithmetic_fact, tally> tallies;
    played_rows played(now);
    for (const practice_row& row : rows) {
        long day = 0;
        if (!played.counts(row, day)) {
            continue;
        }
        const practice_entry& e = row.entry;
        tally& t = tallies[fact_of(e.operation, e.operand_a, e.operand_b)];
        remember_answer(t.memory, e, row.game.when, day, bar);
        if (row.game.when >= window_start) {
            t.recent_misses += e.result == practice_right ? 0 : 1;
            if (e.result != practice_missed) {
                t.times.push_back(e.ticks);
            }
        }
    }
    std::vector<fact_fluency> fluency;
    fluency.reserve(tallies.size());
    for (auto& [fact, t] : tallies) {
        const fact_memory& m = t.memory;
        fact_fluency f{};
        f.fact = fact;
        f.state = memory_state(m, now);
        f.recent_misses = t.recent_misses;
        f.latest_ticks = m.latest_ticks;
        f.median_ticks = median_ticks(std::move(t.times));
        f.last_fast_day = m.last_fast_day;
        f.known_since = m.fast_since;
        f.last_fail_day = m.last_fail_day;
        f.latest_fast = m.latest_fast;
        f.latest_day = m.latest_day;
        f.failed_today = m.last_fail_day == today;
        f.fast_today = m.last_fast_day == today;
        f.bar_ticks = bar;
        f.half_life_days = m.half_life_days;
        f.recall_chance = practice_chance(m, now);
        f.days_left = days_until_below(m, now, fluent_chance);
        f.urgency = static_cast<int>(std::lround(100 * (1 - f.recall_chance)));
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

fact_fluency unmet_fluency(const std::vector<fact_fluency>& fluency, const arithmetic_fact& fact) {
    fact_fluency f{};
    f.fact = fact;
    f.state = fact_new;
    f.latest_ticks = -1;
    f.median_ticks = -1;
    f.last_fast_day = -1;
    double best = 0;
    for (const int number : {fact.operand_a, fact.operand_b}) {
        double sum = 0;
        int count = 0;
        for (const fact_fluency& other : fluency) {
            const arithmetic_fact& o = other.fact;
            if (o.operation == fact.operation && (o.operand_a == number || o.operand_b == number)) {
                sum += other.recall_chance;
                count += 1;
            }
        }
        // Only a table mostly answered fast says anything of its other facts.
        if (count >= table_evidence_least && sum / count >= table_evidence_floor) {
            best = std::max(best, sum / count);
        }
    }
    f.recall_chance = table_evidence_weight * best;
    f.urgency = static_cast<int>(std::lround(100 * (1 - f.recall_chance)));
    return f;
}

std::vector<fact_fluency> facts_to_practise(const std::vector<fact_fluency>& fluency, int most,
                                            const std::vector<arithmetic_fact>& unmet_from) {
    std::vector<fact_fluency> facts = fluency;
    for (const arithmetic_fact& fact : unmet_from) {
        if (find_fluency(fluency, fact) == nullptr) {
            facts.push_back(unmet_fluency(fluency, fact));
        }
    }
    std::sort(facts.begin(), facts.end(), practise_before);
    facts.erase(
        std::unique(facts.begin(), facts.end(),
                    [](const fact_fluency& x, const fact_fluency& y) { return x.fact == y.fact; }),
        facts.end());
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

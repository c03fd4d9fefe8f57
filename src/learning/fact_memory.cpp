#include "fact_memory.h"

#include <algorithm>
#include <cmath>

#include "practice_calendar.h"

namespace {

constexpr double first_fast_half_life = 6.0;
constexpr double first_failed_half_life = 0.25;
constexpr double gap_gain = 0.4;
constexpr double answer_gain = 0.3;
constexpr double failed_keeps = 0.9;  // slow, wrong or missed
constexpr double shortest_half_life = 0.25;
constexpr int bar_sample = 100;  // the latest right answers the bar looks at
// How quickly a fast answer came says how sure the memory is: its gain is
// doubled for each half second under 1.5 s (after the child's typing
// allowance) and halved for each half second over, at most four times.
constexpr double sure_answer_ticks = typing_baseline_ticks;
constexpr double doubling_ticks = 50;
constexpr double most_speed_factor = 4;

double days_between(std::time_t from, std::time_t to) {
    return std::max(0.0, static_cast<double>(to - from)) / static_cast<double>(seconds_per_day);
}

// Answered fast on a later day than its latest mistake: a fast answer on
// the day of a mistake shows little until a later day's.
bool settled(const fact_memory& m) {
    return m.latest_fast && m.last_fail_day != m.latest_day;
}

// The scale of a fast answer's gain by how quickly it came.
double speed_factor(const practice_entry& e, int bar_ticks) {
    const double typing = std::max(0, bar_ticks - standard_bar_ticks);
    const double recall_ticks = static_cast<double>(e.ticks) - typing;
    return std::min(most_speed_factor,
                    std::exp2((sure_answer_ticks - recall_ticks) / doubling_ticks));
}

}  // namespace

int typing_bar_ticks(const std::vector<practice_row>& rows, std::time_t now) {
    std::vector<int> ticks;
    played_rows played(now);
    for (auto row = rows.rbegin(); row != rows.rend() && ticks.size() < bar_sample; ++row) {
        if (row->entry.result == practice_right && row->entry.ticks > 0 && played.counts(*row)) {
            ticks.push_back(row->entry.ticks);
        }
    }
    if (ticks.size() < bar_sample_least) {
        return standard_bar_ticks;
    }
    const std::size_t tenth = ticks.size() / 10;
    std::nth_element(ticks.begin(), ticks.begin() + static_cast<long>(tenth), ticks.end());
    const int allowance =
        std::clamp(ticks[tenth] - typing_baseline_ticks, 0, most_typing_allowance);
    return standard_bar_ticks + allowance;
}

bool fast_within(const practice_entry& e, int bar_ticks) {
    return e.result == practice_right && e.ticks <= bar_ticks;
}

void remember_answer(fact_memory& m, const practice_entry& e, std::time_t when, long day,
                     int bar_ticks) {
    const bool fast = fast_within(e, bar_ticks);
    if (m.answers == 0) {
        m.half_life_days =
            fast ? first_fast_half_life * speed_factor(e, bar_ticks) : first_failed_half_life;
    } else if (fast) {
        const double gap = std::min(days_between(m.latest_when, when), 2 * m.half_life_days);
        m.half_life_days += speed_factor(e, bar_ticks) * (answer_gain + gap_gain * gap);
    } else {
        m.half_life_days = std::max(shortest_half_life, m.half_life_days * failed_keeps);
    }
    if (fast) {
        m.fast_since = m.answers > 0 && m.latest_fast ? m.fast_since : when;
        m.last_fast_day = day;
    } else {
        m.last_fail_day = day;
        m.fail_state = e.result == practice_right ? fact_slow : fact_to_learn;
    }
    m.answers += 1;
    m.latest_when = std::max(m.latest_when, when);
    m.latest_result = e.result;
    m.latest_ticks = e.result == practice_missed ? -1 : e.ticks;
    m.latest_fast = fast;
    m.latest_day = day;
}

double chance_at(const fact_memory& m, std::time_t at) {
    if (m.answers == 0 || !(m.half_life_days > 0)) {
        return 0;
    }
    return std::exp2(-days_between(m.latest_when, at) / m.half_life_days);
}

double practice_chance(const fact_memory& m, std::time_t now) {
    // A row dated a little ahead (tomorrow's) is judged from its own time.
    return chance_at(m, std::max(now, m.latest_when) +
                            static_cast<std::time_t>(practice_ahead_days * seconds_per_day));
}

double days_until_below(const fact_memory& m, std::time_t now, double threshold) {
    if (m.answers == 0 || !(threshold > 0) || threshold >= 1) {
        return 0;
    }
    // 2^(-d/h) = threshold at d = h * log2(1/threshold), from the latest answer.
    const double total = m.half_life_days * std::log2(1 / threshold);
    return std::max(0.0, total - days_between(m.latest_when, now));
}

fact_state memory_state(const fact_memory& m, std::time_t now) {
    if (m.answers == 0) {
        return fact_new;
    }
    if (!settled(m)) {
        return m.fail_state;
    }
    return practice_chance(m, now) >= fluent_chance ? fact_known : fact_due;
}

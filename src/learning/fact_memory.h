#pragma once
// The one model of how well the child remembers each fact. Every fact has a
// half-life: the days after its latest answer until the chance of a fast
// answer (right within the child's bar) has halved; the chance `d` days on
// is 2^(-d / half-life). The first answer sets it (fast: 6 days, else a
// quarter of a day). A later fast answer adds three tenths of a day and 40 %
// of the days since the one before, at most 0.8 of the half-life (a memory
// that lasted a long gap lasts longer still; answers minutes apart add
// little); a slow, wrong or missed answer keeps 90 % of it, never below a
// quarter of a day: every answer is followed by the right one on screen, so
// a mistake costs a little and the practice after it still counts.
// A fast answer's share is scaled by how quickly it came: an
// answer given in 1.5 s, less the child's typing allowance, counts once; each
// half second quicker doubles it (at most four times), each half second
// slower halves it. An answer just inside the bar was nearly forgotten.
//
// The bar: 3 s, plus the child's own typing time. That is measured from
// their answers: the tenth fastest in a hundred of their right answers
// (their quickest, to facts they know), less 1.5 s, at most 3 s more; with
// fewer than 20 right answers, no allowance.
//
// A fact is fluent when its chance at the next day's practice is 90 % or
// more. States: new (never answered), to learn (latest answer wrong or
// missed), slow (latest right but over the bar), known (fluent) and due
// (answered fast, but the chance has fallen under 90 %). A fast answer on a
// day the fact was answered otherwise leaves the state as it was until a
// fast answer on a later day: a comeback just after a miss shows little.

#include <ctime>
#include <vector>

#include "practice_csv.h"

constexpr int standard_bar_ticks = 300;     // 3 s
constexpr int typing_baseline_ticks = 150;  // a quick child's fastest answers
constexpr int most_typing_allowance = 300;
constexpr int bar_sample_least = 20;  // right answers before any allowance
constexpr double fluent_chance = 0.9;
constexpr double practice_ahead_days = 1.0;  // the next day's practice

enum fact_state { fact_new, fact_to_learn, fact_slow, fact_known, fact_due };

struct fact_memory {
    double half_life_days = 0;  // 0: never answered
    std::time_t latest_when = 0;
    int answers = 0;
    int latest_result = practice_right;
    int latest_ticks = -1;  // -1 for a miss
    bool latest_fast = false;
    long latest_day = -1;
    long last_fail_day = -1;           // latest answer not fast
    fact_state fail_state = fact_new;  // its state then: to learn or slow
    long last_fast_day = -1;
    std::time_t fast_since = 0;  // the first of its latest run of fast answers
};

// The child's bar in ticks, from the rows counted by now.
int typing_bar_ticks(const std::vector<practice_row>& rows, std::time_t now);
// Right within the bar.
bool fast_within(const practice_entry& e, int bar_ticks);
// One more answer of the fact, given `when` on calendar day `day`.
void remember_answer(fact_memory& m, const practice_entry& e, std::time_t when, long day,
                     int bar_ticks);
// The chance of a fast answer at `at`; 0 for a fact never answered.
double chance_at(const fact_memory& m, std::time_t at);
// The chance at the next day's practice after `now` (or after the latest
// answer, when that is dated later).
double practice_chance(const fact_memory& m, std::time_t now);
// Days from `now` until the chance falls under `threshold` (0 if it is
// already under); never negative, never NaN.
double days_until_below(const fact_memory& m, std::time_t now, double threshold);
fact_state memory_state(const fact_memory& m, std::time_t now);

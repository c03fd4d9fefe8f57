#pragma once
// How well the player knows each fact, worked out from practice.csv alone.
// An answer is fast when it is right within 3 s of the canister's launch. A
// fact's streak is its run of fast answers up to its latest one, at most one
// counted a calendar day; any other answer ends it. A fact is new (never
// answered), to learn (its latest answer wrong or missed), slow (right, but
// in more than 3 s) or known; a known fact is due for review 1, 3, 7, 14 and
// then 30 days after its last fast answer, as its streak grows. A fast
// answer on the day the fact was answered wrong, missed or slow does not
// make it known (a comeback just after a miss shows little): the fact keeps
// its state until a fast answer on a later day. The rows count in file
// order, the order they were played in, whatever their clock said.

#include <ctime>
#include <vector>

#include "fact_sets.h"
#include "practice_calendar.h"
#include "practice_csv.h"

enum fact_state { fact_new, fact_to_learn, fact_slow, fact_known, fact_due };

constexpr int fast_answer_ticks = 300;
constexpr int review_interval_count = 5;
extern const int review_interval_days[review_interval_count];

struct fact_fluency {
    arithmetic_fact fact;
    fact_state state;
    int streak;
    int recent_misses;         // wrong or missed in the window
    int latest_ticks;          // of the latest answer; -1 for a miss
    int median_ticks;          // of the answers in the window; -1 for none
    int days_overdue;          // for a due fact: days since its review day
    long last_fast_day;        // the calendar day of its last fast answer
    std::time_t known_since;   // known or due: the fast answer its streak began with
    int interval_days = 0;     // known or due: the review interval of its streak
    long last_fail_day = -1;   // the calendar day of its latest other answer; -1 for none
    bool latest_fast = false;  // its latest answer was fast
    long latest_day = -1;      // the calendar day of its latest answer
    // How much it wants practice now, in hundredths. Known or due: the
    // hundredths of its interval since its last fast answer, and as much
    // again as a whole interval for a latest answer of 3 s, as a slower
    // answer is the nearer to slipping (100 and more: due). To learn: 200,
    // and 100 a day since its latest answer; slow: 150 and 100 a day; to
    // learn or slow but answered fast since: 50 and 100 a day.
    int urgency = 0;
    // The game's own estimate of its memory: a half-life in days, a day after
    // a fast first answer, else a quarter of a day. Every later answer
    // lengthens it by a tenth (the answer is seen each time); a fast one also
    // adds the days since the fact's previous answer, divided by one and four
    // times the answers not fast before it. The chance of a fast answer at
    // the next day's practice: 2^-((days since its latest answer + 1) /
    // half-life).
    double half_life_days = 0;
    double recall_chance = 0;
};

// Right within fast_answer_ticks of the launch.
bool fast_answer(const practice_entry& e);
// Whether a fact is known after an answer on `day`: a fast answer makes it
// known, unless the fact was answered otherwise that same day
// (`last_fail_day`); any other answer makes it not known.
bool known_after(bool known, bool fast, long day, long last_fail_day);

// One entry per fact answered in the rows, in fact order. Rows dated past
// tomorrow are left out: a clock set wrong must not decide what is known.
std::vector<fact_fluency> fluency_of(const std::vector<practice_row>& rows, std::time_t now);
// The fact's entry, or nullptr for a new fact.
const fact_fluency* find_fluency(const std::vector<fact_fluency>& fluency,
                                 const arithmetic_fact& fact);
fact_state state_of(const std::vector<fact_fluency>& fluency, const arithmetic_fact& fact);

// The facts the player is most likely to get wrong or slow now: the lowest
// chance of a fast answer first (then most misses, then slowest), the facts
// of `unmet_from` never answered leading (as fact_new entries at a chance of
// 0, nothing showing they are known) but leaving a fifth of the list to facts
// answered. Ties go to a fixed hash of the fact, not to the set's order, so
// that easy facts do not always come first. At most `most`.
std::vector<fact_fluency> facts_to_practise(const std::vector<fact_fluency>& fluency, int most,
                                            const std::vector<arithmetic_fact>& unmet_from = {});

// A fixed, well-mixed number for the fact, for ties no draw may break.
unsigned int fact_hash(const arithmetic_fact& fact);

// -1 for none; the mean of the middle two for an even count.
int median_ticks(std::vector<int> ticks);

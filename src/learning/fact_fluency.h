#pragma once
// What the player knows of each fact, worked out from practice.csv alone
// through the one memory model (fact_memory): its state, the chance of a
// fast answer at the next day's practice, and the days until that chance
// falls under 90 %. The list of facts to practise, the rounds, the map, the
// known counts and the week chart all read these. The rows count in file
// order, the order they were played in, whatever their clock said.

#include <ctime>
#include <vector>

#include "fact_memory.h"
#include "fact_sets.h"
#include "practice_calendar.h"
#include "practice_csv.h"

constexpr int fast_answer_ticks = standard_bar_ticks;

struct fact_fluency {
    arithmetic_fact fact;
    fact_state state;
    int recent_misses;                   // wrong or missed in the window
    int latest_ticks;                    // of the latest answer; -1 for a miss
    int median_ticks;                    // of the answers in the window; -1 for none
    long last_fast_day;                  // the calendar day of its last fast answer; -1 for none
    std::time_t known_since;             // known or due: the first of its latest fast answers
    long last_fail_day = -1;             // the calendar day of its latest other answer; -1 for none
    bool latest_fast = false;            // its latest answer was fast
    long latest_day = -1;                // the calendar day of its latest answer
    bool failed_today = false;           // answered wrong, missed or slow today
    bool fast_today = false;             // answered fast today
    int bar_ticks = standard_bar_ticks;  // the player's bar
    // The model's figures: its half-life, the chance of a fast answer at the
    // next day's practice, and the days from now until the chance falls
    // under 90 %.
    double half_life_days = 0;
    double recall_chance = 0;
    double days_left = 0;
    // How much it wants practice, 0 to 100: a hundred times the chance it
    // is not answered fast at the next day's practice.
    int urgency = 0;
};

// Right within the standard 3 s bar.
bool fast_answer(const practice_entry& e);

// One entry per fact answered in the rows, in fact order. Rows dated past
// tomorrow are left out: a clock set wrong must not decide what is known.
std::vector<fact_fluency> fluency_of(const std::vector<practice_row>& rows, std::time_t now);
// The fact's entry, or nullptr for a new fact.
const fact_fluency* find_fluency(const std::vector<fact_fluency>& fluency,
                                 const arithmetic_fact& fact);
fact_state state_of(const std::vector<fact_fluency>& fluency, const arithmetic_fact& fact);

// A fact never answered, with the chance its table shows: the mean chance
// of the answered facts of the same operation that share a number with it
// (of the better of its two numbers), times 0.8, when two or more do and
// their mean is at least 0.5; else
// 0, as nothing shows it is known.
fact_fluency unmet_fluency(const std::vector<fact_fluency>& fluency, const arithmetic_fact& fact);

// PRACTISE NEXT: the facts answered wrong, missed or slow today lead, then
// every fact by its chance of a fast answer at the next day's practice, the
// lowest first, the facts of `unmet_from` never answered among them at the
// chance their table shows (unmet_fluency). Ties go to most misses, then
// the slowest, then a fixed hash of the fact, never to the set's order.
// At most `most`.
std::vector<fact_fluency> facts_to_practise(const std::vector<fact_fluency>& fluency, int most,
                                            const std::vector<arithmetic_fact>& unmet_from = {});

// A fixed, well-mixed number for the fact, for ties no draw may break.
unsigned int fact_hash(const arithmetic_fact& fact);

// -1 for none; the mean of the middle two for an even count.
int median_ticks(std::vector<int> ticks);

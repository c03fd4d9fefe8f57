#pragma once
// Which facts a practice round flies, in which order. First the facts to
// learn, the slow ones and those due for review; about two canisters in
// three carry facts the player already knows, so that a round builds
// confidence and never drills failures alone; at most four new facts join
// one. A fact answered wrong or missed comes back later in the round.

#include <string>
#include <vector>

#include "fact_fluency.h"
#include "fact_sets.h"

constexpr int round_canisters = 20;
constexpr int round_new_facts = 4;
constexpr int round_comebacks = 2;  // per fact and round

struct practice_round {
    std::vector<arithmetic_fact> queue;         // in the order they fly
    int flown;                                  // canisters launched so far
    std::vector<arithmetic_fact> brought_back;  // a fact for each time it came back
    int topic;                                  // 1..5, for the record and the report
    int difficulty;                             // 1..4
    std::string families;                       // as named on the command line, or empty
};

// The facts of the topic (5: all four operations) at the difficulty a round
// picks from. Difficulties 1 and 2 give the whole set; 3 and 4, whose sets
// are large, the facts of the set the player has met and a few new ones
// drawn at random. New facts of several operations take turns.
std::vector<arithmetic_fact> round_candidates(int topic, int difficulty,
                                              const std::vector<fact_fluency>& fluency);

// The queue of a round of about round_canisters from distinct candidates;
// smaller choices come round again, spread out. Empty for no candidates.
std::vector<arithmetic_fact> plan_round(const std::vector<arithmetic_fact>& candidates,
                                        const std::vector<fact_fluency>& fluency);

// After the canister just flown was answered wrong or missed: its fact
// comes back three canisters on the first time and four the second, a
// widening gap, and no more than round_comebacks times.
void bring_back(practice_round& round, const arithmetic_fact& fact);

// Whether the fact shows in its own order this time: + and x facts swap
// their operands every other time they come, so both orders are met.
bool shown_as_stored(const practice_round& round, const arithmetic_fact& fact);

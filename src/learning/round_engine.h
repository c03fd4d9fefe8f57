#pragma once
// A practice round without a screen: which facts it flies, planned from the
// history, and the round stepped one canister at a time. Nothing here reads
// a clock, a key or a game global: "now", the rows and a source of random
// draws come in. The game passes its own generator for the choices (ties,
// new facts) and puts it back after the round, so that a later game draws
// what it would have drawn.
//
// A round flies first every fact the request asks for (a report's list,
// for its P), whatever the round's size; then the candidates by the memory
// model's chance of a fast answer at the next day's practice, the lowest
// first, facts never met among them at the chance their table shows (no
// more of them than a cap that shrinks when the latest answers went badly).
// Facts answered fast today, or fast every time in the latest round, come
// only when nothing else is left. Ties go to the order of a draw, never to
// the set's own order. A fact answered wrong or missed comes back three
// canisters later, and once more four after that; + and x facts show in
// both orders, - and / as they are.

#include <ctime>
#include <string>
#include <vector>

#include "fact_fluency.h"
#include "fact_sets.h"
#include "practice_csv.h"

// Draws 0..32767, as the game's generator gives them.
using round_draw = int (*)();

constexpr int round_canisters = 20;
constexpr int round_new_facts = 6;  // a round's cap on facts never met
constexpr int round_comebacks = 2;  // per fact and round

// What a round practises.
struct round_request {
    int topic;                          // 1..5 (5: all four operations)
    int difficulty;                     // 1..4
    std::vector<fact_family> families;  // none: the topic's set at the difficulty
    std::string named;                  // the families as the player named them
    // Facts the round brings before others of their share: those a report
    // listed under PRACTISE NEXT, when the player asked to practise them.
    std::vector<arithmetic_fact> first = {};
};

struct practice_round {
    std::vector<arithmetic_fact> queue;         // in the order they fly
    int flown;                                  // canisters given so far
    std::vector<arithmetic_fact> brought_back;  // a fact for each time it came back
    int topic;                                  // 1..5, for the record and the report
    int difficulty;                             // 1..4
    std::string families;                       // as named on the command line, or empty
};

// A canister's problem as shown.
struct round_canister {
    int operand_a;
    int operation;
    int operand_b;
    int answer;
};

// The facts of the topic at the difficulty a round picks from. Difficulties
// 1 and 2 give the whole set; 3 and 4, whose sets are large, the facts met
// there and up to round_new_facts new ones drawn at random, the operations
// taking turns.
std::vector<arithmetic_fact> round_candidates(int topic, int difficulty,
                                              const std::vector<fact_fluency>& fluency,
                                              round_draw draw);

// What `refuel --practise` asks for: the families (of their operation when
// they share one, else of all four, at the lowest difficulty that holds
// them), or without families the topic of the latest game in the history,
// else of the latest round, else addition at difficulty 1, at the
// difficulty its operation was last played at (latest_difficulties).
round_request command_line_request(const std::vector<fact_family>& families,
                                   const std::string& named, const std::vector<practice_row>& rows,
                                   std::time_t now);

// The next round for the request, from the history's rows in file order.
// Its queue is empty only when the request names no fact.
practice_round plan_next_round(const std::vector<practice_row>& rows, const round_request& request,
                               std::time_t now, round_draw draw);

// The queue of a round from its candidates; the share of right answers of
// the player's latest canisters (-1 for none) sets the cap on new facts;
// `resting`: facts the latest round answered fast.
std::vector<arithmetic_fact> plan_round(const std::vector<arithmetic_fact>& candidates,
                                        const std::vector<fact_fluency>& fluency,
                                        double recent_right, round_draw draw,
                                        const std::vector<arithmetic_fact>& first = {},
                                        const std::vector<arithmetic_fact>& resting = {});

// The next canister to give; false once the round is done.
bool next_canister(practice_round& round, round_canister& shown);
// The verdict (a practice_result) of the canister last given: a wrong
// answer or a miss brings its fact back, no more than round_comebacks times.
void canister_verdict(practice_round& round, int result);

#include "round_plan.h"

#include <algorithm>
#include <iterator>

#include "keyboard_random_clock.h"

namespace {

// Two canisters in three for the facts the player knows.
constexpr int known_share = round_canisters * 2 / 3;
// Draws for a new fact of a large set before giving up on one more.
constexpr int new_fact_draws = 64;

bool met(const std::vector<fact_fluency>& fluency, const arithmetic_fact& fact) {
    return find_fluency(fluency, fact) != nullptr;
}

// The facts of one operation a round may pick from.
std::vector<arithmetic_fact> operation_candidates(int operation, int difficulty,
                                                  const std::vector<fact_fluency>& fluency) {
    std::vector<arithmetic_fact> set = facts_of_set(operation, difficulty);
    if (difficulty <= 2) {
        return set;
    }
    std::vector<arithmetic_fact> picked;
    for (const fact_fluency& f : fluency) {
        if (f.fact.operation == operation && fact_in_set(f.fact, difficulty)) {
            picked.push_back(f.fact);
        }
    }
    int wanted = round_new_facts;
    for (int draw = 0; draw < new_fact_draws && wanted > 0 && !set.empty(); ++draw) {
        const arithmetic_fact& f = set[random_range(0, static_cast<int>(set.size()) - 1)];
        if (!met(fluency, f) && std::find(picked.begin(), picked.end(), f) == picked.end()) {
            picked.push_back(f);
            wanted -= 1;
        }
    }
    return picked;
}

// Takes turns: the first of each list, then the second of each, and so on.
std::vector<arithmetic_fact> taking_turns(const std::vector<std::vector<arithmetic_fact>>& lists) {
    std::vector<arithmetic_fact> out;
    for (std::size_t i = 0;; ++i) {
        bool any = false;
        for (const auto& list : lists) {
            if (i < list.size()) {
                out.push_back(list[i]);
                any = true;
            }
        }
        if (!any) {
            return out;
        }
    }
}

template <typename Before>
void rank(std::vector<const fact_fluency*>& facts, Before before) {
    std::stable_sort(facts.begin(), facts.end(),
                     [&](const fact_fluency* x, const fact_fluency* y) { return before(*x, *y); });
}

int times_in(const std::vector<arithmetic_fact>& facts, std::size_t end,
             const arithmetic_fact& fact) {
    return static_cast<int>(
        std::count(facts.begin(), facts.begin() + static_cast<long>(end), fact));
}

}  // namespace

std::vector<arithmetic_fact> round_candidates(int topic, int difficulty,
                                              const std::vector<fact_fluency>& fluency) {
    std::vector<std::vector<arithmetic_fact>> lists;
    for (int operation = 1; operation <= 4; ++operation) {
        if (topic == operation || topic < 1 || topic > 4) {
            lists.push_back(operation_candidates(operation, difficulty, fluency));
        }
    }
    return taking_turns(lists);
}

std::vector<arithmetic_fact> plan_round(const std::vector<arithmetic_fact>& candidates,
                                        const std::vector<fact_fluency>& fluency) {
    std::vector<const fact_fluency*> by_state[5];
    std::vector<arithmetic_fact> fresh;
    for (const arithmetic_fact& fact : candidates) {
        const fact_fluency* f = find_fluency(fluency, fact);
        if (f == nullptr) {
            if (static_cast<int>(fresh.size()) < round_new_facts) {
                fresh.push_back(fact);
            }
        } else {
            by_state[f->state].push_back(f);
        }
    }
    rank(by_state[fact_to_learn], [](const fact_fluency& x, const fact_fluency& y) {
        return x.recent_misses > y.recent_misses;
    });
    rank(by_state[fact_slow], [](const fact_fluency& x, const fact_fluency& y) {
        return x.latest_ticks > y.latest_ticks;
    });
    rank(by_state[fact_due], [](const fact_fluency& x, const fact_fluency& y) {
        return x.days_overdue > y.days_overdue;
    });
    // Of the facts not yet due, those answered longest ago first.
    rank(by_state[fact_known], [](const fact_fluency& x, const fact_fluency& y) {
        return x.last_fast_day < y.last_fast_day;
    });
    std::vector<arithmetic_fact> practise;
    std::vector<arithmetic_fact> known;
    const auto fact_of_entry = [](const fact_fluency* f) { return f->fact; };
    for (const int state : {fact_to_learn, fact_slow}) {
        std::transform(by_state[state].begin(), by_state[state].end(), std::back_inserter(practise),
                       fact_of_entry);
    }
    practise.insert(practise.end(), fresh.begin(), fresh.end());
    for (const int state : {fact_due, fact_known}) {
        std::transform(by_state[state].begin(), by_state[state].end(), std::back_inserter(known),
                       fact_of_entry);
    }
    // Each share takes what the other leaves.
    const std::size_t known_wanted = std::min<std::size_t>(known.size(), known_share);
    practise.resize(std::min(practise.size(), round_canisters - known_wanted));
    known.resize(std::min(known.size(), round_canisters - practise.size()));

    // A fact to practise every third canister, from the second on, so the
    // round opens with one the player knows.
    std::vector<arithmetic_fact> chosen;
    std::size_t next_practise = 0;
    std::size_t next_known = 0;
    for (std::size_t i = 0; i < practise.size() + known.size(); ++i) {
        const bool practise_turn = i % 3 == 1;
        if (next_known == known.size() || (practise_turn && next_practise < practise.size())) {
            chosen.push_back(practise[next_practise++]);
        } else {
            chosen.push_back(known[next_known++]);
        }
    }
    std::vector<arithmetic_fact> queue;
    for (std::size_t i = 0; !chosen.empty() && i < round_canisters; ++i) {
        queue.push_back(chosen[i % chosen.size()]);
    }
    return queue;
}

void bring_back(practice_round& round, const arithmetic_fact& fact) {
    const int times = times_in(round.brought_back, round.brought_back.size(), fact);
    if (times >= round_comebacks || round.flown < 1) {
        return;
    }
    round.brought_back.push_back(fact);
    const std::size_t at =
        std::min(round.queue.size(), static_cast<std::size_t>(round.flown - 1 + 3 + times));
    round.queue.insert(round.queue.begin() + static_cast<long>(at), fact);
}

bool shown_as_stored(const practice_round& round, const arithmetic_fact& fact) {
    const std::size_t flown = std::min(round.queue.size(), static_cast<std::size_t>(round.flown));
    return times_in(round.queue, flown, fact) % 2 == 0;
}

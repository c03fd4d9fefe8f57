#include "round_engine.h"

#include <algorithm>
#include <iterator>

#include "latest_play.h"
#include "practice_calendar.h"

namespace {

// Draws for a new fact of a large set before giving up on one more.
constexpr int new_fact_draws = 64;
// The latest answers of the round's facts that set its known share.
constexpr int recent_answers = 40;

// 0..n-1 from a draw of 0..32767, as the game scales its own draws.
int draw_below(round_draw random_draw, int n) {
    return static_cast<int>(static_cast<long>(random_draw()) * n / 32768);
}

bool met(const std::vector<fact_fluency>& fluency, const arithmetic_fact& fact) {
    return find_fluency(fluency, fact) != nullptr;
}

// The facts of one operation a round may pick from.
std::vector<arithmetic_fact> operation_candidates(int operation, int difficulty,
                                                  const std::vector<fact_fluency>& fluency,
                                                  round_draw random_draw) {
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
        const arithmetic_fact& f =
            set[static_cast<std::size_t>(draw_below(random_draw, static_cast<int>(set.size())))];
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

// A candidate with the model's chance of a fast answer and the draw that
// breaks its ties.
struct pick {
    arithmetic_fact fact;
    double chance;
    unsigned int draw;
};

void by_chance(std::vector<pick>& picks) {
    std::stable_sort(picks.begin(), picks.end(), [](const pick& x, const pick& y) {
        return x.chance != y.chance ? x.chance < y.chance : x.draw < y.draw;
    });
}

// The cap on facts never met: fewer when the latest answers went badly.
int new_fact_cap(double recent_right) {
    return recent_right < 0      ? round_new_facts
           : recent_right < 0.6  ? round_new_facts / 2
           : recent_right < 0.85 ? round_new_facts
                                 : round_new_facts * 2;
}

// The share of right answers among the latest rows of the candidates; -1
// for none.
double recent_right_share(const std::vector<practice_row>& rows,
                          std::vector<arithmetic_fact> candidates) {
    std::sort(candidates.begin(), candidates.end());
    int seen = 0;
    int right = 0;
    for (auto row = rows.rbegin(); row != rows.rend() && seen < recent_answers; ++row) {
        const practice_entry& e = row->entry;
        if (std::binary_search(candidates.begin(), candidates.end(),
                               fact_of(e.operation, e.operand_a, e.operand_b))) {
            seen += 1;
            right += e.result == practice_right ? 1 : 0;
        }
    }
    return seen == 0 ? -1.0 : static_cast<double>(right) / seen;
}

// The facts the latest round answered fast every time: the next round
// leaves them be.
std::vector<arithmetic_fact> fast_in_latest_round(const std::vector<practice_row>& rows,
                                                  std::time_t now) {
    const practice_row* latest = nullptr;
    played_rows played(now);
    for (const practice_row& row : rows) {
        if (row.game.round && played.counts(row)) {
            latest = &row;
        }
    }
    std::vector<arithmetic_fact> fast;
    std::vector<arithmetic_fact> not_fast;
    const int bar = typing_bar_ticks(rows, now);
    for (auto row = rows.rbegin(); latest != nullptr && row != rows.rend(); ++row) {
        if (row->game.when != latest->game.when || !row->game.round) {
            continue;
        }
        const practice_entry& e = row->entry;
        (fast_within(e, bar) ? fast : not_fast)
            .push_back(fact_of(e.operation, e.operand_a, e.operand_b));
    }
    std::sort(not_fast.begin(), not_fast.end());
    fast.erase(std::remove_if(fast.begin(), fast.end(),
                              [&](const arithmetic_fact& f) {
                                  return std::binary_search(not_fast.begin(), not_fast.end(), f);
                              }),
               fast.end());
    return fast;
}

int times_in(const std::vector<arithmetic_fact>& facts, std::size_t end,
             const arithmetic_fact& fact) {
    return static_cast<int>(
        std::count(facts.begin(), facts.begin() + static_cast<long>(end), fact));
}

}  // namespace

std::vector<arithmetic_fact> round_candidates(int topic, int difficulty,
                                              const std::vector<fact_fluency>& fluency,
                                              round_draw random_draw) {
    std::vector<std::vector<arithmetic_fact>> lists;
    for (int operation = 1; operation <= 4; ++operation) {
        if (topic == operation || topic < 1 || topic > 4) {
            lists.push_back(operation_candidates(operation, difficulty, fluency, random_draw));
        }
    }
    return taking_turns(lists);
}

std::vector<arithmetic_fact> plan_round(const std::vector<arithmetic_fact>& candidates,
                                        const std::vector<fact_fluency>& fluency,
                                        double recent_right, round_draw random_draw,
                                        const std::vector<arithmetic_fact>& first,
                                        const std::vector<arithmetic_fact>& resting) {
    std::vector<pick> fresh;
    std::vector<pick> wanting;
    std::vector<pick> rested;
    for (const arithmetic_fact& fact : candidates) {
        // Mixed with the fact, as generators seeded a little apart start
        // with draws a little apart.
        const unsigned int draw =
            fact_hash({static_cast<int>(fact_hash(fact)), random_draw(), random_draw()});
        if (std::find(first.begin(), first.end(), fact) != first.end()) {
            continue;
        }
        const fact_fluency* f = find_fluency(fluency, fact);
        if (f == nullptr) {
            fresh.push_back({fact, unmet_fluency(fluency, fact).recall_chance, draw});
        } else if (f->fast_today ||
                   std::find(resting.begin(), resting.end(), fact) != resting.end()) {
            rested.push_back({fact, f->recall_chance, draw});
        } else {
            wanting.push_back({fact, f->recall_chance, draw});
        }
    }
    by_chance(fresh);
    fresh.resize(std::min(fresh.size(), static_cast<std::size_t>(new_fact_cap(recent_right))));
    wanting.insert(wanting.end(), fresh.begin(), fresh.end());
    by_chance(wanting);
    by_chance(rested);
    // Every fact asked for flies, whatever the round's size; then the
    // weakest, and facts answered fast lately only when nothing else is left.
    std::vector<arithmetic_fact> chosen;
    for (const arithmetic_fact& fact : first) {
        if (std::find(chosen.begin(), chosen.end(), fact) == chosen.end()) {
            chosen.push_back(fact);
        }
    }
    for (const std::vector<pick>* share : {&wanting, &rested}) {
        for (const pick& p : *share) {
            if (chosen.size() >= round_canisters) {
                break;
            }
            chosen.push_back(p.fact);
        }
    }
    // A small choice comes round again.
    std::vector<arithmetic_fact> queue = chosen;
    for (std::size_t i = queue.size(); !chosen.empty() && i < round_canisters; ++i) {
        queue.push_back(chosen[i % chosen.size()]);
    }
    return queue;
}

round_request command_line_request(const std::vector<fact_family>& families,
                                   const std::string& named, const std::vector<practice_row>& rows,
                                   std::time_t now) {
    round_request request{1, 1, families, named, {}};
    if (!families.empty()) {
        const bool one_operation =
            std::all_of(families.begin(), families.end(),
                        [&](const fact_family& f) { return f.operation == families[0].operation; });
        request.topic = one_operation ? families[0].operation : 5;
        request.difficulty = difficulty_for(facts_of_families(families));
        return request;
    }
    const practice_row* latest_of[2] = {nullptr, nullptr};  // game, round
    played_rows played(now);
    for (const practice_row& row : rows) {
        if (played.counts(row)) {
            latest_of[row.game.round ? 1 : 0] = &row;
        }
    }
    const practice_row* latest = latest_of[0] != nullptr ? latest_of[0] : latest_of[1];
    if (latest != nullptr) {
        request.topic = latest->game.topic;
        // A mixed game's own difficulty; one operation's, the latest it was
        // played at.
        request.difficulty = request.topic >= 1 && request.topic <= 4
                                 ? latest_difficulties(rows, now)[request.topic]
                                 : latest->game.difficulty;
    }
    return request;
}

practice_round plan_next_round(const std::vector<practice_row>& rows, const round_request& request,
                               std::time_t now, round_draw random_draw) {
    const std::vector<fact_fluency> fluency = fluency_of(rows, now);
    std::vector<arithmetic_fact> candidates =
        request.families.empty()
            ? round_candidates(request.topic, request.difficulty, fluency, random_draw)
            : facts_of_families(request.families);
    // Only problems the game itself could ask.
    candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                    [](const arithmetic_fact& f) {
                                        return fact_answer(f.operation, f.operand_a, f.operand_b) <
                                               0;
                                    }),
                     candidates.end());
    practice_round round{};
    round.topic = request.topic;
    round.difficulty = request.difficulty;
    round.families = request.named;
    // Facts asked for that are not in the set (a list over all operations)
    // join the candidates too.
    for (const arithmetic_fact& f : request.first) {
        if (fact_answer(f.operation, f.operand_a, f.operand_b) >= 0 &&
            std::find(candidates.begin(), candidates.end(), f) == candidates.end()) {
            candidates.push_back(f);
        }
    }
    round.queue = plan_round(candidates, fluency, recent_right_share(rows, candidates), random_draw,
                             request.first, fast_in_latest_round(rows, now));
    // Room for every comeback, so nothing is allocated in flight.
    round.queue.reserve(round.queue.size() * (1 + round_comebacks));
    round.brought_back.reserve(round.queue.size() * round_comebacks);
    return round;
}

bool next_canister(practice_round& round, round_canister& shown) {
    if (round.flown < 0 || round.flown >= static_cast<int>(round.queue.size())) {
        return false;
    }
    const std::size_t at = static_cast<std::size_t>(round.flown);
    const arithmetic_fact fact = round.queue[at];
    // + and x swap their operands every other time the fact comes; a
    // difference or a quotient reversed would be another problem (3/0, 2-5).
    const bool either_order = fact.operation == 1 || fact.operation == 3;
    const bool swapped = either_order && times_in(round.queue, at, fact) % 2 == 1;
    shown.operand_a = swapped ? fact.operand_b : fact.operand_a;
    shown.operand_b = swapped ? fact.operand_a : fact.operand_b;
    shown.operation = fact.operation;
    shown.answer = fact_answer(fact.operation, shown.operand_a, shown.operand_b);
    round.flown += 1;
    return true;
}

void canister_verdict(practice_round& round, int result) {
    if (result == practice_right || round.flown < 1 ||
        round.flown > static_cast<int>(round.queue.size())) {
        return;
    }
    const arithmetic_fact fact = round.queue[static_cast<std::size_t>(round.flown - 1)];
    const int times = times_in(round.brought_back, round.brought_back.size(), fact);
    if (times >= round_comebacks) {
        return;
    }
    round.brought_back.push_back(fact);
    // Three canisters on, then four: a widening gap.
    const std::size_t at =
        std::min(round.queue.size(), static_cast<std::size_t>(round.flown - 1 + 3 + times));
    round.queue.insert(round.queue.begin() + static_cast<long>(at), fact);
}

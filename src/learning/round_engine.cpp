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
        const arithmetic_fact& f = set[static_cast<std::size_t>(draw_below(random_draw, static_cast<int>(set.size())))];
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

// A candidate with what is known of it and the draw that breaks its ties.
struct pick {
    arithmetic_fact fact;
    const fact_fluency* fluency;
    unsigned int draw;
    bool first;  // asked for: ahead of the rest of its share
};

// Above 0 when x wants practice more than y.
long more_wanted(const pick& x, const pick& y) {
    return static_cast<long>(x.fluency->urgency) - y.fluency->urgency;
}

// Facts asked for first, then by `key` (greater first), ties by the draw.
template <typename Key>
void rank(std::vector<pick>& picks, Key key) {
    std::sort(picks.begin(), picks.end(), [&](const pick& x, const pick& y) {
        if (x.first != y.first) {
            return x.first;
        }
        const long k = key(x, y);
        return k != 0 ? k > 0 : x.draw < y.draw;
    });
}

std::vector<arithmetic_fact> facts_of(const std::vector<pick>& picks) {
    std::vector<arithmetic_fact> out(picks.size());
    std::transform(picks.begin(), picks.end(), out.begin(), [](const pick& p) { return p.fact; });
    return out;
}

// The known share: more known facts when the latest answers went badly,
// fewer when they went well.
int known_wanted(double recent_right) {
    if (recent_right < 0) {
        return round_canisters / 4;
    }
    if (recent_right >= 0.85) {
        return round_canisters / 10;
    }
    return recent_right >= 0.7 ? round_canisters / 4 : round_canisters / 2;
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
                                        const std::vector<arithmetic_fact>& first) {
    std::vector<pick> fresh;
    std::vector<pick> by_state[5];
    std::vector<pick> known_far;
    for (const arithmetic_fact& fact : candidates) {
        // Mixed with the fact, as generators seeded a little apart start
        // with draws a little apart.
        const unsigned int draw =
            fact_hash({static_cast<int>(fact_hash(fact)), random_draw(), random_draw()});
        const fact_fluency* f = find_fluency(fluency, fact);
        const bool asked = std::find(first.begin(), first.end(), fact) != first.end();
        if (f == nullptr) {
            fresh.push_back({fact, f, draw, asked});
        } else if (f->state == fact_known && f->urgency < 50 && !asked) {
            known_far.push_back({fact, f, draw, asked});  // not half way to its review yet
        } else {
            by_state[f->state].push_back({fact, f, draw, asked});
        }
    }
    const auto nothing = [](const pick&, const pick&) { return 0L; };
    rank(fresh, nothing);
    rank(by_state[fact_known], more_wanted);
    rank(known_far, more_wanted);

    // New facts take turns with the others to practise, so that every round
    // brings some while any is unmet.
    const int new_cap = recent_right < 0      ? round_new_facts
                        : recent_right < 0.6  ? round_new_facts / 2
                        : recent_right < 0.85 ? round_new_facts
                                              : round_new_facts * 2;
    fresh.resize(std::min(fresh.size(), static_cast<std::size_t>(new_cap)));
    // To learn, slow and due by how much each wants practice now.
    std::vector<pick> wanting;
    for (const int state : {fact_to_learn, fact_slow, fact_due}) {
        wanting.insert(wanting.end(), by_state[state].begin(), by_state[state].end());
    }
    rank(wanting, [](const pick& x, const pick& y) {
        const long misses = x.fluency->recent_misses - y.fluency->recent_misses;
        return more_wanted(x, y) != 0 ? more_wanted(x, y) : misses;
    });
    const std::vector<arithmetic_fact> others = facts_of(wanting);
    std::vector<arithmetic_fact> practise = taking_turns({others, facts_of(fresh)});
    std::vector<arithmetic_fact> known = facts_of(by_state[fact_known]);
    // Known facts asked for take their places whatever the share.
    const std::size_t known_asked = static_cast<std::size_t>(
        std::count_if(by_state[fact_known].begin(), by_state[fact_known].end(),
                      [](const pick& p) { return p.first; }));
    const std::size_t known_near = std::min(
        known.size(), std::max(known_asked, static_cast<std::size_t>(known_wanted(recent_right))));
    practise.resize(std::min(practise.size(), round_canisters - known_near));
    // Known facts far from review only fill what nothing else can.
    const std::vector<arithmetic_fact> far = facts_of(known_far);
    known.insert(known.end(), far.begin(), far.end());
    known.resize(std::min(known.size(), round_canisters - practise.size()));

    // Known facts spread evenly through the round, the first canister one.
    std::vector<arithmetic_fact> chosen;
    const long total = static_cast<long>(practise.size() + known.size());
    const long known_count = static_cast<long>(known.size());
    long turn = total - known_count;
    std::size_t next_practise = 0;
    std::size_t next_known = 0;
    for (long i = 0; i < total; ++i) {
        turn += known_count;
        if ((turn >= total && next_known < known.size()) || next_practise == practise.size()) {
            chosen.push_back(known[next_known++]);
            turn -= turn >= total ? total : 0;
        } else {
            chosen.push_back(practise[next_practise++]);
        }
    }
    // A small choice comes round again.
    std::vector<arithmetic_fact> queue;
    for (std::size_t i = 0; !chosen.empty() && i < round_canisters; ++i) {
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
        request.families.empty() ? round_candidates(request.topic, request.difficulty, fluency, random_draw)
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
    round.queue =
        plan_round(candidates, fluency, recent_right_share(rows, candidates), random_draw, request.first);
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

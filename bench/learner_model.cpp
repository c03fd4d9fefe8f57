// Simulated learners: do practice rounds make a child fluent sooner than
// plain games with the same number of canisters a day? Two published memory
// models answer each canister; practice.csv is written and read by the
// game's own code in a scratch folder, and each simulated day is passed in
// as "now". Models, parameters, prior and conditions: bench/LEARNING.md.
// Usage: learner_model [--smoke] [--learners N] [--days N]
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "fact_fluency.h"
#include "fact_sets.h"
#include "high_score_table.h"
#include "keyboard_random_clock.h"
#include "practice_csv.h"
#include "players.h"
#include "practice_file.h"
#include "problem_generator.h"
#include "round_engine.h"
#include "settings_menus.h"

namespace {

// The set practised: multiplication at difficulty 2 (0x1 to 10x10).
constexpr int set_topic = 3;
constexpr int set_difficulty = 2;
constexpr double seconds_per_canister = 8.0;
constexpr double fast_seconds = fast_answer_ticks / 100.0;
constexpr double slow_typing_seconds = 1.3;  // a slow typist's extra time an answer
constexpr int game_canisters = 30;           // a plain game, about three levels
constexpr int precision_days[] = {3, 7, 14, 28, 56};
constexpr int precision_day_count = static_cast<int>(std::size(precision_days));

// ACT-R declarative memory with the spacing rule of Pavlik and Anderson
// (2005): each presentation decays by c*e^m + a, m the activation when it
// came; time between sessions counts h times.
constexpr double actr_c = 0.217;
constexpr double actr_a = 0.177;
constexpr double actr_tau = -0.704;
constexpr double actr_s = 0.255;
constexpr double actr_h = 0.025;
constexpr double actr_latency_f = 1.0;      // s, scales e^-m
constexpr double actr_latency_fixed = 1.0;  // s, reading and typing

// Half-life regression (Settles and Meeder, 2016): p = 2^(-lag/h),
// h = 2^(theta . x) days, x = (1, sqrt(1 + right), sqrt(1 + wrong)).
constexpr double hlr_theta[3] = {-1.0, 1.0, -0.5};

enum model_kind { model_actr, model_hlr };
const char* const model_names[2] = {"ACT-R + spacing", "half-life regr."};

struct trace {
    std::vector<double> times;   // ACT-R: presentations, in psychological seconds
    std::vector<double> decays;  // ACT-R: each one's decay
    double right = 0;            // HLR: counts
    double wrong = 0;
    double last_day = 0;  // HLR: real days of the latest exposure (the prior's are negative)
    bool seen = false;
};

// Who learns: with a prior (some tables known), knowing nothing, or with a
// prior but typing slowly.
enum learner_kind { learner_prior, learner_blank, learner_slow };
const char* const learner_names[3] = {"prior", "knows none", "slow typist"};

struct learner {
    model_kind model;
    double typing = 0;  // seconds added to every answer
    std::vector<arithmetic_fact> facts;
    std::vector<trace> memory;
    double real_now = 0;                              // real seconds since the first session
    double psych_now = 0;                             // ACT-R's psychological seconds
    std::vector<std::pair<double, double>> sessions;  // each day's start: real, psychological
    unsigned int dice = 1;
};

double uniform(learner& l) {
    l.dice = l.dice * 1103515245u + 12345u;
    return ((l.dice >> 8) & 0xffffff) / 16777216.0;
}

double activation(const trace& t, double psych_now) {
    double sum = 0;
    for (std::size_t i = 0; i < t.times.size(); ++i) {
        sum += std::pow(std::max(1.0, psych_now - t.times[i]), -t.decays[i]);
    }
    return sum > 0 ? std::log(sum) : -1e9;
}

// The chance of recalling the fact now, and the seconds a recall takes.
double recall(const learner& l, const trace& t, double& seconds) {
    if (l.model == model_actr) {
        const double m = activation(t, l.psych_now);
        seconds = actr_latency_fixed + l.typing + actr_latency_f * std::exp(-std::max(m, -5.0));
        return 1 / (1 + std::exp((actr_tau - m) / actr_s));
    }
    seconds = 1.5 + l.typing;
    if (!t.seen) {
        return 0;
    }
    const double half_life = std::pow(2.0, hlr_theta[0] + hlr_theta[1] * std::sqrt(1 + t.right) +
                                               hlr_theta[2] * std::sqrt(1 + t.wrong));
    return std::pow(2.0, -(l.real_now / 86400 - t.last_day) / half_life);
}

// The truth the scheduler is judged by: fluent is a recall of 90 % within
// the game's fast time, with the learner's own extra typing time on top (a
// slow typist is judged on recall, not on typing).
double fast_recall(const learner& l, const trace& t) {
    double seconds = 0;
    const double p = recall(l, t, seconds);
    return seconds <= fast_seconds + l.typing ? p : 0;
}

void present(learner& l, trace& t, bool right) {
    if (l.model == model_actr) {
        const double m = activation(t, l.psych_now);
        t.times.push_back(l.psych_now);
        t.decays.push_back(actr_c * std::exp(std::min(m, 5.0)) + actr_a);
    }
    (right ? t.right : t.wrong) += 1;
    t.last_day = l.real_now / 86400;
    t.seen = true;
}

// One canister answered by the model: recalled, worked out (right but
// slow, half the time) or wrong. The answer shown after it is a study.
practice_entry answer(learner& l, int a, int op, int b) {
    const arithmetic_fact fact = fact_of(op, a, b);
    const std::size_t at = static_cast<std::size_t>(
        std::lower_bound(l.facts.begin(), l.facts.end(), fact) - l.facts.begin());
    trace& t = l.memory.at(at);
    double seconds = 0;
    const double p = recall(l, t, seconds);
    const int product = fact_answer(op, a, b);
    practice_entry e{1, a, op, b, product, "", practice_right, 0};
    bool right = true;
    if (uniform(l) >= p) {
        right = uniform(l) < 0.5;
        seconds = (right ? 6.0 : 4.0) + l.typing;
        e.result = right ? practice_right : practice_wrong;
    }
    e.ticks = static_cast<int>(seconds * 100);
    (void)std::snprintf(e.entered, sizeof e.entered, "%d", right ? product : product + 1);
    present(l, t, right);
    l.real_now += seconds_per_canister;
    l.psych_now += seconds_per_canister;
    return e;
}

// The prior: the 0, 1, 2, 5 and 10 tables are each known with a chance
// (0.6, 0.6, 0.5, 0.4, 0.6): their facts practised every other day over the
// 60 days before the first session.
void start_learner(learner& l, model_kind model, learner_kind kind, unsigned int seed) {
    l = learner{};
    l.model = model;
    l.typing = kind == learner_slow ? slow_typing_seconds : 0;
    l.dice = seed * 2654435761u + 1;
    l.facts = facts_of_set(set_topic, set_difficulty);
    l.memory.assign(l.facts.size(), trace{});
    if (kind == learner_blank) {
        return;
    }
    const int tables[5] = {0, 1, 2, 5, 10};
    const double chance[5] = {0.6, 0.6, 0.5, 0.4, 0.6};
    bool known[11] = {};
    for (int i = 0; i < 5; ++i) {
        known[tables[i]] = uniform(l) < chance[i];
    }
    for (std::size_t i = 0; i < l.facts.size(); ++i) {
        const arithmetic_fact& f = l.facts[i];
        if (!known[f.operand_a] && !known[f.operand_b]) {
            continue;
        }
        for (int day = -60; day < 0; day += 2) {
            l.real_now = day * 86400.0;
            l.psych_now = day * 86400.0 * actr_h;
            present(l, l.memory[i], true);
        }
    }
    l.real_now = 0;
    l.psych_now = 0;
}

// The share of the set fluent now.
double fluent_share(const learner& l) {
    int fluent = 0;
    for (const trace& t : l.memory) {
        fluent += fast_recall(l, t) >= 0.9 ? 1 : 0;
    }
    return static_cast<double>(fluent) / static_cast<double>(l.memory.size());
}

std::size_t fact_index(const learner& l, const arithmetic_fact& fact) {
    const auto it = std::lower_bound(l.facts.begin(), l.facts.end(), fact);
    return it != l.facts.end() && *it == fact ? static_cast<std::size_t>(it - l.facts.begin())
                                              : l.facts.size();
}

// The share of ten listed facts that are among the model's ten weakest; a
// fact tied with the tenth weakest counts as one of them.
double precision_at_ten(const learner& l, const std::vector<arithmetic_fact>& listed) {
    std::vector<double> p(l.memory.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
        p[i] = fast_recall(l, l.memory[i]);
    }
    std::vector<double> sorted = p;
    std::sort(sorted.begin(), sorted.end());
    const double tenth = sorted[std::min<std::size_t>(9, sorted.size() - 1)];
    int hits = 0;
    for (const arithmetic_fact& f : listed) {
        const std::size_t i = fact_index(l, f);
        hits += i < p.size() && p[i] <= tenth ? 1 : 0;
    }
    return hits / 10.0;
}

std::vector<arithmetic_fact> practise_next(const learner& l, const std::vector<practice_row>& rows,
                                           std::time_t now) {
    std::vector<arithmetic_fact> listed;
    for (const fact_fluency& f : facts_to_practise(fluency_of(rows, now), 10, l.facts)) {
        listed.push_back(f.fact);
    }
    return listed;
}

// The ten weakest by a model's rule run again on the answers the file
// holds, without what the learner knew before. With the learner's own
// model: how much of the truth a list read from the file can see at all;
// with the other: how far the two published models agree.
std::vector<arithmetic_fact> replayed_ten(const learner& l, const std::vector<practice_row>& rows,
                                          std::time_t epoch, model_kind model) {
    learner replay = l;
    replay.model = model;
    replay.memory.assign(l.facts.size(), trace{});
    for (const practice_row& row : rows) {
        const practice_entry& e = row.entry;
        const std::size_t i = fact_index(l, fact_of(e.operation, e.operand_a, e.operand_b));
        if (i >= l.facts.size()) {
            continue;
        }
        // Each canister was shown 8 s before the next; the game is dated after its last.
        replay.real_now = static_cast<double>(row.game.when - epoch) -
                          (row.canisters - row.canister + 1) * seconds_per_canister;
        auto session = std::upper_bound(l.sessions.begin(), l.sessions.end(),
                                        std::make_pair(replay.real_now, 1e300));
        session = session == l.sessions.begin() ? session : std::prev(session);
        replay.psych_now = session->second + (replay.real_now - session->first);
        present(replay, replay.memory[i], e.result == practice_right);
    }
    replay.real_now = l.real_now;
    replay.psych_now = l.psych_now;
    std::vector<std::size_t> order(l.facts.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return fast_recall(replay, replay.memory[a]) < fast_recall(replay, replay.memory[b]);
    });
    std::vector<arithmetic_fact> ten;
    for (std::size_t k = 0; k < std::min<std::size_t>(10, order.size()); ++k) {
        ten.push_back(l.facts[order[k]]);
    }
    return ten;
}

struct run_result {
    int days;  // to 90 % fluent; the day limit when not reached
    double precision[precision_day_count];
    double ceiling[precision_day_count];  // the model's own rule on the file
    double other[precision_day_count];    // the other model's rule on the file
    long right;                           // answers right, and all answers, until 90 % fluent
    long answers;
};

// The canisters of one day, as games or as rounds, each game or round
// appended to practice.csv when it ends or the day's canisters run out.
void play_day(learner& l, bool rounds, int canisters, const std::string& path, std::time_t epoch,
              run_result& tally) {
    int left = canisters;
    while (left > 0) {
        std::vector<practice_entry> played;
        if (rounds) {
            std::vector<practice_row> rows;
            (void)read_practice_history(path, rows);
            const std::time_t now = epoch + static_cast<std::time_t>(l.real_now);
            // As the game does: the generator put back after each round.
            const unsigned int position = rand15_position();
            practice_round round =
                plan_next_round(rows, {set_topic, set_difficulty, {}, ""}, now, rand15);
            seed_rand15(position);
            for (round_canister c{}; left > 0 && next_canister(round, c); --left) {
                played.push_back(answer(l, c.operand_a, c.operation, c.operand_b));
                canister_verdict(round, played.back().result);
            }
            if (played.empty()) {
                std::fprintf(stderr, "learner_model: a round planned no canister\n");
                std::exit(2);
            }
        } else {
            for (int i = 0; i < game_canisters && left > 0; ++i, --left) {
                new_problem();
                played.push_back(
                    answer(l, problem.operand_a, problem.problem_operation, problem.operand_b));
            }
        }
        for (const practice_entry& e : played) {
            tally.right += e.result == practice_right ? 1 : 0;
            tally.answers += 1;
        }
        const practice_game game{epoch + static_cast<std::time_t>(l.real_now), set_difficulty,
                                 set_topic, rounds};
        if (!append_practice_game(path, played.data(), static_cast<int>(played.size()), game)) {
            std::fprintf(stderr, "learner_model: cannot write %s\n", path.c_str());
            std::exit(2);
        }
    }
}

run_result run(model_kind model, learner_kind kind, bool rounds, int canisters, unsigned int seed,
               int day_limit, const std::string& path, std::time_t epoch) {
    std::remove(path.c_str());
    learner l;
    start_learner(l, model, kind, seed);
    seed_rand15(seed);
    std::fill(std::begin(problem_history), std::end(problem_history), history_entry{});
    run_result result{day_limit, {}, {}, {}, 0, 0};
    run_result after{};  // what was answered once fluent, not counted
    const int last_precision_day = precision_days[std::size(precision_days) - 1];
    for (int day = 0; day < day_limit; ++day) {
        // Each day's session at 17:00; the night counts h times for ACT-R.
        const double start = day * 86400.0 + 17 * 3600.0;
        l.psych_now += (start - l.real_now) * actr_h;
        l.real_now = start;
        l.sessions.emplace_back(l.real_now, l.psych_now);
        const int* at = std::find(std::begin(precision_days), std::end(precision_days), day);
        if (at != std::end(precision_days)) {
            std::vector<practice_row> rows;
            (void)read_practice_history(path, rows);
            const std::time_t now = epoch + static_cast<std::time_t>(l.real_now);
            result.precision[at - std::begin(precision_days)] =
                precision_at_ten(l, practise_next(l, rows, now));
            result.ceiling[at - std::begin(precision_days)] =
                precision_at_ten(l, replayed_ten(l, rows, epoch, model));
            result.other[at - std::begin(precision_days)] = precision_at_ten(
                l, replayed_ten(l, rows, epoch, model == model_actr ? model_hlr : model_actr));
        }
        if (result.days == day_limit && fluent_share(l) >= 0.9) {
            result.days = day;
        }
        if (result.days < day_limit && day >= last_precision_day) {
            break;
        }
        // A fresh start of the game each day seeds the generator anew.
        seed_rand15(seed * 7919u + static_cast<unsigned int>(day));
        play_day(l, rounds, canisters, path, epoch, result.days < day_limit ? after : result);
    }
    return result;
}

double median(std::vector<int> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

}  // namespace

int main(int argc, char** argv) {
    int learners = 24;
    int day_limit = 1000;
    bool smoke = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0) {
            smoke = true;
        } else if (std::strcmp(argv[i], "--learners") == 0 && i + 1 < argc) {
            learners = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--days") == 0 && i + 1 < argc) {
            day_limit = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: learner_model [--smoke] [--learners N] [--days N]\n");
            return 2;
        }
    }
    if (smoke) {
        learners = 1;
        day_limit = 4;
    }
    char scratch[] = "/tmp/refuel-learners-XXXXXX";
    if (mkdtemp(scratch) == nullptr) {
        std::perror("learner_model");
        return 2;
    }
    high_score_path = std::string(scratch) + "/hiscores.dat";
    const std::string path = practice_path();
    topic = set_topic;
    difficulty = set_difficulty;
    // The first session: Monday 5 January 2026, local time.
    std::tm first{};
    first.tm_year = 126, first.tm_mon = 0, first.tm_mday = 5, first.tm_isdst = -1;
    const std::time_t epoch = std::mktime(&first);

    std::printf(
        "Learners: %d, each with a prior; set: multiplication at difficulty 2 (%zu facts)\n",
        learners, facts_of_set(set_topic, set_difficulty).size());
    std::printf(
        "Models: ACT-R declarative memory with the spacing rule of Pavlik & Anderson\n"
        "(2005); half-life regression of Settles & Meeder (2016).\n");
    std::printf(
        "Days to 90 %% of the facts fluent (median; %d = not within %d days);\n"
        "never: learners not fluent within the limit (games/rounds); right: the\n"
        "share of right answers until then; p@10 on days 3, 7, 14, 28, 56:\n"
        "PRACTISE NEXT's precision at ten against the model's ten weakest facts;\n"
        "best from the file: the same for the model's own rule run on the answers\n"
        "practice.csv holds, without what the learner knew before, for round players;\n"
        "the other model: the other model's rule on the same answers\n\n",
        day_limit, day_limit);
    std::printf("%-16s %-11s %5s %6s %6s %6s %6s %5s %5s  %-29s %-29s %-29s %s\n", "model",
                "learners", "a day", "games", "rounds", "ratio", "never", "r gm", "r rd",
                "p@10 games", "p@10 rounds", "best from the file, rounds",
                "the other model, rounds");
    for (const model_kind model : {model_actr, model_hlr}) {
        for (const int canisters : {60, 20}) {
            for (const learner_kind kind : {learner_prior, learner_blank, learner_slow}) {
                const int count = kind == learner_prior ? learners : std::max(1, learners / 3);
                std::vector<int> days[2];
                // games, rounds, the own rule and the other's on the rounds' files
                double precision[4][precision_day_count] = {};
                double right[2][2] = {};  // right, answers
                int never[2] = {};
                for (int i = 0; i < count; ++i) {
                    const unsigned int seed = 1000u + 100u * kind + static_cast<unsigned int>(i);
                    for (int rounds = 0; rounds < 2; ++rounds) {
                        const run_result r =
                            run(model, kind, rounds == 1, canisters, seed, day_limit, path, epoch);
                        days[rounds].push_back(r.days);
                        never[rounds] += r.days >= day_limit ? 1 : 0;
                        for (int d = 0; d < precision_day_count; ++d) {
                            precision[rounds][d] += r.precision[d] / count;
                            precision[2][d] += rounds == 1 ? r.ceiling[d] / count : 0;
                            precision[3][d] += rounds == 1 ? r.other[d] / count : 0;
                        }
                        right[rounds][0] += static_cast<double>(r.right);
                        right[rounds][1] += static_cast<double>(r.answers);
                    }
                }
                const double games = median(days[0]);
                const double rounds = median(days[1]);
                char never_text[32];
                (void)std::snprintf(never_text, sizeof never_text, "%d/%d", never[0], never[1]);
                std::string per_day[4];
                for (int g = 0; g < 4; ++g) {
                    for (int d = 0; d < precision_day_count; ++d) {
                        char cell[8];
                        (void)std::snprintf(cell, sizeof cell, "%s%.2f", d > 0 ? " " : "",
                                            precision[g][d]);
                        per_day[g] += cell;
                    }
                }
                std::printf(
                    "%-16s %-11s %5d %6.1f %6.1f %5.2fx %6s %4.0f%% %4.0f%%  %-29s %-29s %-29s "
                    "%s\n",
                    model_names[model], learner_names[kind], canisters, games, rounds,
                    rounds > 0 ? games / rounds : 0.0, never_text,
                    100 * right[0][0] / std::max(1.0, right[0][1]),
                    100 * right[1][0] / std::max(1.0, right[1][1]), per_day[0].c_str(),
                    per_day[1].c_str(), per_day[2].c_str(), per_day[3].c_str());
                std::fflush(stdout);
            }
        }
    }
    std::remove(path.c_str());
    rmdir(scratch);
    return 0;
}

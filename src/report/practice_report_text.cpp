#include "practice_report_text.h"

#include <array>
#include <string>
#include <vector>

#include "fact_fluency.h"
#include "fact_map.h"
#include "latest_play.h"
#include "player_report.h"
#include "practice_calendar.h"
#include "practice_csv.h"
#include "practice_texts.h"

namespace {

constexpr int listed_facts = 10;
constexpr const char* state_words[5] = {"new", "to learn", "slow lately", "known",
                                        "due for review"};

void print_operations(std::FILE* out, const std::vector<practice_row>& rows, std::time_t now) {
    const std::time_t window_start = practice_window_start(now);
    played_rows played(now);
    int games = 0;
    int rounds = 0;
    int canisters = 0;
    int rights[5] = {};
    int counts[5] = {};
    std::vector<int> times[5];
    for (const practice_row& row : rows) {
        const practice_entry& e = row.entry;
        if (!played.counts(row) || row.game.when < window_start || e.operation < 1 ||
            e.operation > 4) {
            continue;
        }
        const int first = row.canister == 1 ? 1 : 0;
        (row.game.round ? rounds : games) += first;
        canisters += 1;
        counts[e.operation] += 1;
        rights[e.operation] += e.result == practice_right ? 1 : 0;
        if (e.result != practice_missed) {
            times[e.operation].push_back(e.ticks);
        }
    }
    (void)std::fprintf(out, "Games: %d   practice rounds: %d   canisters: %d\n\n", games, rounds,
                       canisters);
    (void)std::fprintf(out, "%-16s %7s %13s\n", "operation", "right", "median time");
    for (int op = 1; op <= 4; ++op) {
        char share[16] = "-";
        char median[32] = "-";
        if (counts[op] > 0) {
            (void)std::snprintf(share, sizeof share, "%d%%", 100 * rights[op] / counts[op]);
            time_text(median, sizeof median, median_ticks(times[op]));
        }
        (void)std::fprintf(out, "%-16s %7s %13s\n", topic_name(op), share, median);
    }
}

// The facts most likely wrong or slow now, with those never met of each
// small set played (a large set has too many to name).
void print_facts(std::FILE* out, const std::vector<fact_fluency>& fluency,
                 const std::array<int, 5>& difficulty_of) {
    std::vector<arithmetic_fact> unmet_from;
    for (int op = 1; op <= 4; ++op) {
        if (difficulty_of[op] == 1 || difficulty_of[op] == 2) {
            const std::vector<arithmetic_fact> set = facts_of_set(op, difficulty_of[op]);
            unmet_from.insert(unmet_from.end(), set.begin(), set.end());
        }
    }
    const std::vector<fact_fluency> facts = facts_to_practise(fluency, listed_facts, unmet_from);
    const int bar = fluency.empty() ? standard_bar_ticks : fluency.front().bar_ticks;
    (void)std::fprintf(out, "\nFast: right within %d.%d s (3 s and this child's typing time)\n",
                       bar / 100, bar / 10 % 10);
    (void)std::fprintf(out, "%-17s %-15s %12s %12s\n", "facts to practise", "state", "wrong/missed",
                       "latest time");
    if (facts.empty()) {
        (void)std::fprintf(out, "(none)\n");
    }
    for (const fact_fluency& f : facts) {
        char text[64];
        char latest[32];
        fact_text(text, sizeof text, f.fact);
        time_text(latest, sizeof latest, f.latest_ticks);
        (void)std::fprintf(out, "%-17s %-15s %12d %12s\n", text, state_words[f.state],
                           f.recent_misses, latest);
    }
}

void print_map(std::FILE* out, const fact_map& map) {
    (void)std::fprintf(out, "\nFact map of %s, difficulty %d: %d of %d known, %d this week\n",
                       topic_name(map.operation), map.difficulty, map.known, map.facts,
                       map.known_this_week);
    (void)std::fprintf(out, "%s\n", map_reading(map.operation));
    if (map.rows.grouped || map.columns.grouped) {
        (void)std::fprintf(out,
                           "grouped in tens: each mark is the state most of its facts are in\n");
    }
    (void)std::fputs(fact_map_text(map).c_str(), out);
}

}  // namespace

void print_practice_part(std::FILE* out, const std::vector<practice_row>& rows, std::time_t now) {
    const std::array<int, 5> difficulty_of = latest_difficulties(rows, now);
    print_operations(out, rows, now);
    const std::vector<fact_fluency> fluency = fluency_of(rows, now);
    print_facts(out, fluency, difficulty_of);
    bool any_map = false;
    for (int op = 1; op <= 4; ++op) {
        if (difficulty_of[op] != 0) {
            print_map(out, make_fact_map(op, difficulty_of[op], fluency, now));
            any_map = true;
        }
    }
    if (any_map) {
        (void)std::fprintf(out, "\nKey:");
        for (const fact_state s : {fact_known, fact_due, fact_slow, fact_to_learn, fact_new}) {
            (void)std::fprintf(out, "  %c %s", fact_state_marks[s], state_words[s]);
        }
        (void)std::fprintf(out, "\n");
    }
}

void print_practice_report_of(std::FILE* out, const std::string& path,
                              const std::vector<practice_row>& rows, int unread, std::time_t now) {
    (void)std::fprintf(out, "Refuel practice report: the %d days to %s\n", practice_window_days,
                       day_text(now).c_str());
    (void)std::fprintf(out, "From %s\n", path.c_str());
    if (unread > 0) {
        (void)std::fprintf(out, "Lines that could not be read: %d\n", unread);
    }
    (void)std::fprintf(out, "\n");
    print_practice_part(out, rows, now);
}

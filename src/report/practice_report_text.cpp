#include "practice_report_text.h"

#include <array>
#include <string>
#include <vector>

#include "fact_map.h"
#include "player_report.h"
#include "practice_calendar.h"
#include "practice_csv.h"
#include "practice_texts.h"

namespace {

constexpr const char* state_words[5] = {"new", "to learn", "slow lately", "known",
                                        "due for review"};

void print_operations(std::FILE* out, const player_figures& f) {
    (void)std::fprintf(out, "Games: %d   practice rounds: %d   canisters: %d\n\n", f.games,
                       f.rounds, f.canisters);
    (void)std::fprintf(out, "%-16s %7s %13s\n", "operation", "right", "median time");
    for (int op = 1; op <= 4; ++op) {
        const operation_figures& o = f.operations[static_cast<std::size_t>(op)];
        const operation_cells c = cells_of(o);
        (void)std::fprintf(out, "%-16s %7s %13s\n", topic_name(op), c.share, c.median);
    }
}

void print_facts(std::FILE* out, const std::vector<fact_fluency>& facts, int bar) {
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

void print_map(std::FILE* out, const map_figures& m) {
    const fact_map& map = m.map;
    (void)std::fprintf(out, "\nFact map of %s, difficulty %d: %s\n", topic_name(map.operation),
                       map.difficulty, map_counts_text(m).c_str());
    (void)std::fprintf(out, "%s\n", map_reading(map.operation));
    if (map.rows.grouped || map.columns.grouped) {
        (void)std::fprintf(out,
                           "grouped in tens: each mark is the state most of its facts are in\n");
    }
    (void)std::fputs(fact_map_text(map).c_str(), out);
}

}  // namespace

std::string map_counts_text(const map_figures& m) {
    return std::to_string(m.known) + " of " + std::to_string(m.map.facts) + " known, " +
           std::to_string(m.due) + " due for review";
}

void print_practice_part(std::FILE* out, const player_figures& f) {
    print_operations(out, f);
    print_facts(out, f.to_practise, f.bar_ticks);
    for (const map_figures& m : f.maps) {
        print_map(out, m);
    }
    if (!f.maps.empty()) {
        (void)std::fprintf(out, "\nKey:");
        for (const fact_state s : {fact_known, fact_due, fact_slow, fact_to_learn, fact_new}) {
            (void)std::fprintf(out, "  %c %s", fact_state_marks[s], state_words[s]);
        }
        (void)std::fprintf(out, "\n");
    }
}

void print_practice_report_of(std::FILE* out, const std::string& path, const player_figures& f,
                              int unread, std::time_t now) {
    (void)std::fprintf(out, "Refuel practice report: the %d days to %s\n", practice_window_days,
                       day_text(now).c_str());
    (void)std::fprintf(out, "From %s\n", shown_path(path).c_str());
    if (unread > 0) {
        (void)std::fprintf(out, "Lines that could not be read: %d\n", unread);
    }
    (void)std::fprintf(out, "\n");
    print_practice_part(out, f);
}

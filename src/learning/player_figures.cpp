#include "player_figures.h"

#include <algorithm>
#include <cstdio>

#include "fact_memory.h"
#include "known_by_week.h"
#include "latest_play.h"
#include "practice_calendar.h"
#include "practice_texts.h"

namespace {

constexpr std::time_t seconds_per_week = 7 * seconds_per_day;

void count_rows(player_figures& f, const std::vector<practice_row>& rows, std::time_t now) {
    const std::time_t window_start = practice_window_start(now);
    played_rows played(now);
    std::array<std::vector<int>, 5> times;
    const practice_row* previous = nullptr;
    for (const practice_row& row : rows) {
        // A game is counted at its first row kept, whatever became of its canister 1.
        const bool first = starts_game(previous, row);
        previous = &row;
        if (!played.counts(row)) {
            continue;
        }
        f.last_played = std::max(f.last_played, row.game.when);
        f.ticks_in_all += row.entry.ticks;
        if (row.game.when < window_start) {
            continue;
        }
        f.ticks_in_window += row.entry.ticks;
        (row.game.round ? f.rounds : f.games) += first ? 1 : 0;
        const int op = row.entry.operation;
        if (op < 1 || op > 4) {
            continue;
        }
        f.canisters += 1;
        operation_figures& o = f.operations[static_cast<std::size_t>(op)];
        o.canisters += 1;
        o.right += row.entry.result == practice_right ? 1 : 0;
        if (row.entry.result != practice_missed) {
            times[static_cast<std::size_t>(op)].push_back(row.entry.ticks);
        }
    }
    for (int op = 1; op <= 4; ++op) {
        f.operations[static_cast<std::size_t>(op)].median_ticks =
            median_ticks(times[static_cast<std::size_t>(op)]);
    }
}

void chart_weeks(player_figures& f, const std::vector<practice_row>& rows, std::time_t now) {
    std::time_t first = now;
    played_rows played(now);
    for (const practice_row& row : rows) {
        if (played.counts(row)) {
            first = std::min(first, row.game.when);
        }
    }
    const long weeks = static_cast<long>((now - first) / seconds_per_week) + 1;
    const int shown = static_cast<int>(std::clamp<long>(weeks, 1, longest_week_chart));
    f.known_by_week = facts_known_by_week(rows, now, shown);
    f.first_week_end = now - static_cast<std::time_t>(shown - 1) * seconds_per_week;
}

}  // namespace

player_figures figures_of(const std::vector<practice_row>& rows,
                          const std::vector<fact_fluency>& fluency, std::time_t now) {
    player_figures f{};
    count_rows(f, rows, now);
    for (const fact_fluency& fact : fluency) {
        const int op = fact.fact.operation;
        if (op >= 1 && op <= 4) {
            f.known[static_cast<std::size_t>(op)] += fact.state == fact_known ? 1 : 0;
            f.due[static_cast<std::size_t>(op)] += fact.state == fact_due ? 1 : 0;
        }
        f.to_learn += fact.state == fact_to_learn ? 1 : 0;
    }
    // The facts to practise, with those never met of each small set played
    // (a large set has too many to name).
    const std::array<int, 5> difficulty = latest_difficulties(rows, now);
    std::vector<arithmetic_fact> unmet_from;
    for (int op = 1; op <= 4; ++op) {
        const int d = difficulty[static_cast<std::size_t>(op)];
        if (d == 1 || d == 2) {
            const std::vector<arithmetic_fact> set = facts_of_set(op, d);
            unmet_from.insert(unmet_from.end(), set.begin(), set.end());
        }
    }
    f.to_practise = facts_to_practise(fluency, listed_facts_to_practise, unmet_from);
    f.bar_ticks = typing_bar_ticks(rows, now);
    for (int op = 1; op <= 4; ++op) {
        const int d = difficulty[static_cast<std::size_t>(op)];
        if (d != 0) {
            map_figures m{make_fact_map(op, d, fluency, now), 0, 0};
            // By fact, as the map's own count goes (a cell of 3x4 and one of
            // 4x3 are one fact).
            for (const arithmetic_fact& fact : facts_of_set(op, d)) {
                const fact_state state = state_of(fluency, fact);
                m.known += state == fact_known ? 1 : 0;
                m.due += state == fact_due ? 1 : 0;
            }
            f.maps.push_back(std::move(m));
        }
    }
    if (!rows.empty()) {
        chart_weeks(f, rows, now);
    }
    return f;
}

operation_cells cells_of(const operation_figures& op) {
    operation_cells c{"-", "-"};
    if (op.canisters > 0) {
        (void)std::snprintf(c.share, sizeof c.share, "%d%%", 100 * op.right / op.canisters);
        time_text(c.median, sizeof c.median, op.median_ticks);
    }
    return c;
}

#pragma once
// The figures of one player's report, worked out once from their history:
// the terminal's text, the web page and the screens draw these, so that
// they cannot disagree.

#include <array>
#include <ctime>
#include <vector>

#include "fact_fluency.h"
#include "fact_map.h"
#include "practice_csv.h"

// One operation's canisters of the report's window.
struct operation_figures {
    int canisters;
    int right;
    int median_ticks;  // of those answered; -1 for none
};

// A map with its counts by the legend's words: known (the tick) and due
// for review (the box) apart.
struct map_figures {
    fact_map map;
    int known;
    int due;
};

struct player_figures {
    // The window's (the last practice_window_days days) games, rounds and canisters.
    int games;
    int rounds;
    int canisters;
    std::array<operation_figures, 5> operations;  // by operation 1..4
    // Of every fact answered, by operation 1..4, in the states the legend names.
    std::array<int, 5> known;
    std::array<int, 5> due;
    int to_learn;
    std::time_t last_played;  // 0 for never
    std::vector<fact_fluency> to_practise;
    int bar_ticks;                  // what counts as fast for this child
    std::vector<map_figures> maps;  // each operation played, at its latest difficulty
    // Facts known at the end of each week from the one first played to now,
    // oldest first; the first of them ends at first_week_end.
    std::vector<int> known_by_week;
    std::time_t first_week_end;
    // Launch to answer, in ticks, summed whole: of the window, and in all.
    long long ticks_in_window;
    long long ticks_in_all;
};

constexpr int listed_facts_to_practise = 10;
constexpr int longest_week_chart = 52;

player_figures figures_of(const std::vector<practice_row>& rows,
                          const std::vector<fact_fluency>& fluency, std::time_t now);

// An operation's cells as every report shows them: the percentage right,
// rounded down ("83%"), and the median time ("2.4 s"); "-" for both with no
// canister.
struct operation_cells {
    char share[16];
    char median[32];
};
operation_cells cells_of(const operation_figures& op);

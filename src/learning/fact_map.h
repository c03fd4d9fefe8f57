#pragma once
// The fact map of one operation at one difficulty: a grid of every fact the
// generator can draw there, each cell holding how well the player knows its
// fact. + and x are a grid of their two operands (3x4 at row 3, column 4,
// and at row 4, column 3); - and / sit where the + or x fact they undo does
// (5-3 with 3+2 at row 3, column 2; 12/3 with 3x4). An axis too long for
// readable cells is grouped into tens.

#include <array>
#include <ctime>
#include <string>
#include <vector>

#include "fact_fluency.h"

constexpr int fact_map_longest_axis = 21;  // values an axis shows one by one
constexpr int fact_map_group = 10;         // the width of a range

struct fact_map_axis {
    std::vector<int> low;   // each row or column: its lowest value
    std::vector<int> high;  // and its highest, the same but in a grouped axis
    bool grouped;
};

struct fact_map {
    int operation;
    int difficulty;
    fact_map_axis rows;
    fact_map_axis columns;
    // Per cell, row by row: how many of its facts are in each fact_state.
    // A cell with none is outside the set.
    std::vector<std::array<int, 5>> cells;
    int facts;            // in the set
    int known;            // known: fluent by the memory model
    int known_this_week;  // of those, answered fast without a break since the last 7 days
};

fact_map make_fact_map(int operation, int difficulty, const std::vector<fact_fluency>& fluency,
                       std::time_t now);
const std::array<int, 5>& map_cell(const fact_map& map, int row, int column);
// The state most of a cell's facts are in; the more urgent one of a tie
// (to learn, slow, due, new, known).
fact_state main_state(const std::array<int, 5>& counts);
// How to read the map: "each cell: row x column" and the like.
const char* map_reading(int operation);
// "7" or "10-19".
std::string axis_label(const fact_map_axis& axis, std::size_t i);

// The map as text for a terminal, one character a cell, within 80 columns.
extern const char fact_state_marks[5];  // by fact_state
// A grouped cell's shares, left to right.
extern const fact_state fact_share_order[5];
std::string fact_map_text(const fact_map& map);

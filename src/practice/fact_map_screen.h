#pragma once
// The fact map on screen: every fact of one operation at one difficulty,
// a cell each, in the state the player knows it, with a legend and the
// count of facts known. The states differ in brightness and in their mark
// as well as in hue, so they read without colour too.

#include <ctime>
#include <vector>

#include "fact_fluency.h"
#include "fact_map.h"

// Where the grid's cells go: no smaller than this, and inside this box.
constexpr int fact_map_smallest_cell = 14;
constexpr int fact_map_largest_cell = 40;
constexpr int fact_map_area_x = 70;
constexpr int fact_map_area_y = 110;
constexpr int fact_map_area_w = 456;
constexpr int fact_map_area_h = 430;

// The cell of (row, column) on screen, once the map is laid out.
struct map_cell_box {
    int x, y, size;
};
map_cell_box cell_box(const fact_map& map, int row, int column);

// Composes the map on back_buffer and presents it; its keys say where
// Enter leads: back to the report the map was opened from, or on.
void draw_fact_map(const fact_map& map, bool back_to_report = false);

// Shows the map of the topic's operation (addition for mixed) at the
// difficulty; Up and Down step through the four operations, Enter leaves
// (0), P asks for a round of the operation shown (1..4).
int show_fact_map(const std::vector<fact_fluency>& fluency, int topic, int difficulty,
                  std::time_t now, bool back_to_report);

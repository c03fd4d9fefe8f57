#pragma once
// One player's history as a report takes it: the rows read from their file,
// what the trainer makes of them (worked out once, here), and what went
// wrong reading it.

#include <string>
#include <vector>

#include "fact_fluency.h"
#include "player_figures.h"
#include "practice_csv.h"

struct player_history {
    std::string name;   // as shown
    std::string path;   // the practice file
    std::string fault;  // what went wrong; empty when it was read
    std::vector<practice_row> rows;
    std::vector<fact_fluency> fluency;  // of the rows, as of the report's now
    int unread;                         // lines of the file that were not rows
    player_figures figures;             // of the rows, as of the report's now
};

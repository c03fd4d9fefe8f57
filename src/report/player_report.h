#pragma once
// refuel --report over players: a line of figures for each player, then
// each player's part of the report. A history that is missing, damaged or
// cannot be read is named with what went wrong; the others are reported all
// the same.

#include <array>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "fact_fluency.h"
#include "player_history.h"
#include "practice_csv.h"

// A player's line: the last 30 days' games and rounds, the facts known (or
// due for review) per operation, those to learn, and the latest game.
struct player_summary {
    int games;
    int rounds;
    std::array<int, 5> known;  // by operation 1..4
    int to_learn;
    std::time_t last_played;  // 0 for never
};
player_summary summarise_player(const std::vector<practice_row>& rows,
                                const std::vector<fact_fluency>& fluency, std::time_t now);

// "2026-12-07", or "never" for 0.
std::string day_text(std::time_t when);

// Prints the report of the histories on out. Returns 0, or 1 when a history
// had a fault or the report could not be written (said on err).
int print_player_report(std::FILE* out, std::FILE* err, const std::vector<player_history>& players,
                        const std::string& from, std::time_t now);

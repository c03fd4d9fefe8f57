#pragma once
// One player's --report: for a parent or teacher, from practice.csv and without
// the graphics: games, rounds and canisters of the last 30 days, each
// operation's share of right answers and median time, the facts to practise
// next, and the fact map of each operation played.

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "player_figures.h"

// The report of one player's figures, read from path with `unread` lines
// that were not rows, as of now.
void print_practice_report_of(std::FILE* out, const std::string& path, const player_figures& f,
                              int unread, std::time_t now);
// One player's part of the report: the games, the operations, the facts to
// practise and the maps.
void print_practice_part(std::FILE* out, const player_figures& f);
// A map's heading, as the page and the terminal both say it:
// "40 of 110 known, 12 due for review, 3 known this week".
std::string map_counts_text(const map_figures& m);

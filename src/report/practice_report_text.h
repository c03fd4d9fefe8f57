#pragma once
// One player's --report: for a parent or teacher, from practice.csv and without
// the graphics: games, rounds and canisters of the last 30 days, each
// operation's share of right answers and median time, the facts to practise
// next, and the fact map of each operation played.

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "practice_csv.h"

// The report of one player's rows, read from path with `unread` lines
// that were not rows, as of now.
void print_practice_report_of(std::FILE* out, const std::string& path,
                              const std::vector<practice_row>& rows, int unread, std::time_t now);
// One player's part of the report: the games, the operations, the facts to
// practise and the maps, from that player's rows.
void print_practice_part(std::FILE* out, const std::vector<practice_row>& rows, std::time_t now);

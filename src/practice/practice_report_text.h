#pragma once
// refuel --report: for a parent or teacher, from practice.csv and without
// the graphics: games, rounds and canisters of the last 30 days, each
// operation's share of right answers and median time, the facts to practise
// next, and the fact map of each operation played.

#include <cstdio>
#include <ctime>

// Prints the report of the 30 days up to now on out, with the number of
// lines of practice.csv that could not be read. Returns the exit status: 0,
// or 1 with a message on err when practice.csv is there but cannot be read,
// holds lines but no game that can be, or the report cannot be written.
int print_practice_report(std::FILE* out, std::FILE* err, std::time_t now);

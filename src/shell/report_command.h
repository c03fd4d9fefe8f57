#pragma once
// refuel --report: finds the histories (the game's own players, or the
// files and folders a teacher gathered), prints the report and writes the
// page.

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

// Prints the report of the current player's practice file, the 30 days up
// to now, on out. Returns the exit status: 0, or 1 with a message on err
// when the file is there but cannot be read, holds lines but no game that
// can be, or the report cannot be written.
int print_practice_report(std::FILE* out, std::FILE* err, std::time_t now);

// refuel --report: of the gathered paths when there are any, else of the
// game's own players (only `player` when given); with one unnamed player as
// the report has always been. Writes the page too when html_file is given.
int report_on_players(const std::string& player, const std::vector<std::string>& paths,
                      const std::string& html_file, std::time_t now);

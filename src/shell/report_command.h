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
// game's own players (only `player` when given, in either); with one
// unnamed player as the report has always been. Writes the page too when
// html_file is given, whole, before anything goes to out, so that a reader
// of out who stops early (| head) cannot lose it. Exit status 1, said on
// err, for an unknown player, paths with no history at all, a history that
// could not be read, or a page or report that could not be written.
int report_on_players(std::FILE* out, std::FILE* err, const std::string& player,
                      const std::vector<std::string>& paths, const std::string& html_file,
                      std::time_t now);
// The same on stdout and stderr, a closed pipe an error to say, not a signal.
int report_on_players(const std::string& player, const std::vector<std::string>& paths,
                      const std::string& html_file, std::time_t now);

#pragma once
// refuel --report over players: the histories of this game's players, or of
// the practice files and folders a teacher gathered from several computers,
// a line of figures for each player, then each player's part of the report.
// A history that is missing, damaged or cannot be read is named with what
// went wrong; the others are reported all the same.

#include <array>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "fact_fluency.h"
#include "practice_csv.h"

struct player_history {
    std::string name;   // as shown
    std::string path;   // the practice file
    std::string fault;  // what went wrong; empty when it was read
    std::vector<practice_row> rows;
    std::vector<fact_fluency> fluency;  // of the rows, as of the report's now
    int unread;                         // lines of the file that were not rows
};

// The players listed in the folder's players.txt (folder a prefix, "" for the
// working folder), then any other player's practice file there. `only`,
// when not empty, keeps that player alone. With no list, practice.csv is
// the first player's. In the game's own folder (own_folder) a missing file
// is a player with no games yet rather than a fault; in a gathered one, a
// practice.csv that no list names and that is not there is no player.
std::vector<player_history> folder_histories(const std::string& folder, const std::string& only,
                                             bool own_folder, std::time_t now);
// Practice files and folders named on the command line.
std::vector<player_history> gathered_histories(const std::vector<std::string>& paths,
                                               std::time_t now);

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

// refuel --report: of the gathered paths when there are any, else of the
// game's own players (only `player` when given); with one unnamed player as
// the report has always been. Writes the page too when html_file is given.
int report_on_players(const std::string& player, const std::vector<std::string>& paths,
                      const std::string& html_file, std::time_t now);

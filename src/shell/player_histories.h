#pragma once
// The histories a report is made of: this game's players, or the practice
// files and folders a teacher gathered from several computers, each read
// with what went wrong with it.

#include <ctime>
#include <string>
#include <vector>

#include "player_history.h"

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

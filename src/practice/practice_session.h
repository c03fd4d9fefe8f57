#pragma once
// How practice follows a game, and a round started from the command line:
// each finished game or round goes into practice.csv and shows its report;
// from the report a round of the facts it lists can be flown, or the fact
// map looked at, whose Enter leads back to the report; after a round its
// report, then its fact map. P on the fact map flies a round of the
// operation it shows.

#include <string>
#include <vector>

#include "fact_sets.h"

// After a finished game: practice_record goes into practice.csv as a game of
// the settings' topic and difficulty, and its report shows.
void show_practice_report();
// After a game left with Escape: the canisters it played go into
// practice.csv, with no report.
void keep_left_game();

// refuel --practise [FAMILIES]: a round of the families, or without them of
// the topic and difficulty of the player's latest game (addition at
// difficulty 1 before any), straight away.
void practise_from_command_line(const std::vector<fact_family>& families, const std::string& named);

#pragma once
// refuel --report --html FILE: the progress of every player as one web page
// for a parent or teacher, readable offline with nothing but the file (no
// scripts, no fonts or pictures fetched): a table of the players, then for
// each player the fact maps as SVG in the map's colours and marks, the facts
// known week by week as a chart, the facts to practise and the time played.
// It prints on A4, a page or two a player.

#include <ctime>
#include <string>
#include <vector>

#include "player_report.h"

// Text made safe inside HTML and SVG, as element content or a quoted
// attribute.
std::string html_escaped(const std::string& text);

std::string progress_page(const std::vector<player_history>& players, const std::string& from,
                          std::time_t now);

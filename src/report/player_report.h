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

#include "player_history.h"

// "2026-12-07", or "never" for 0.
std::string day_text(std::time_t when);
// A path as the terminal and the page show it: a control character or a
// byte outside ASCII as \xNN, and a backslash as \\, so that no file name
// can send a terminal a command (an 8-bit CSI among them).
std::string shown_path(const std::string& path);

// Prints the report of the histories on out. Returns 0, or 1 when a history
// had a fault or the report could not be written (said on err).
int print_player_report(std::FILE* out, std::FILE* err, const std::vector<player_history>& players,
                        const std::string& from, std::time_t now);

#pragma once
// What the child played last, which the reports and rounds start from.

#include <array>
#include <ctime>
#include <vector>

#include "practice_csv.h"

// The difficulty each operation (1..4) was last played at, games and rounds
// alike; 0 for an operation never played. Last means last in the file,
// the order played, whatever the rows' clock said; rows dated past
// tomorrow do not count (a clock set wrong).
std::array<int, 5> latest_difficulties(const std::vector<practice_row>& rows, std::time_t now);

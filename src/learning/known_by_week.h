#pragma once
// The facts known week by week, for the progress page's chart.

#include <ctime>
#include <vector>

#include "practice_csv.h"

// How many facts were known (fluent by the memory model, as fluency_of
// judges them) at the end of each of the `weeks` weeks up to now, oldest
// first; the last week ends now.
std::vector<int> facts_known_by_week(const std::vector<practice_row>& rows, std::time_t now,
                                     int weeks);

#pragma once
// The practice report after a finished game: how this game went (right,
// wrong, missed, the median answer time and a bar per canister), the
// problems to put right and the facts to practise next.

#include <vector>

#include "practice_history.h"

// The answer-time chart: one bar per canister, all inside this rectangle.
constexpr int practice_chart_x = 56;
constexpr int practice_chart_y = 206;
constexpr int practice_chart_w = 708;
constexpr int practice_chart_h = 112;

// Appends the game in practice_record to practice.csv, shows the report
// and returns on Enter.
void show_practice_report();
// Composes the report on back_buffer and presents it, with a note when the
// game could not be saved. Reads the difficulty and topic settings and the
// level the game ended on.
void draw_practice_report(const practice_entry* entries, int count,
                          const std::vector<practice_fact>& facts, bool saved = true);

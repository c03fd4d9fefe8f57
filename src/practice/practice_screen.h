#pragma once
// The practice report after a finished game or round: how it went (right,
// wrong, missed, the median answer time and a bar per canister), the
// problems to put right and the facts to practise next, with the keys that
// go on, start a round of those facts or show the fact map.

#include <string>
#include <vector>

#include "fact_fluency.h"
#include "practice_csv.h"

// The answer-time chart: one bar per canister, all inside this rectangle.
constexpr int practice_chart_x = 56;
constexpr int practice_chart_y = 206;
constexpr int practice_chart_w = 708;
constexpr int practice_chart_h = 112;
constexpr int practice_next_rows = 5;  // facts listed under PRACTISE NEXT

struct practice_report {
    const practice_entry* entries;
    int count;
    practice_game game;
    std::string families;             // a round's families as named, or empty
    int level;                        // the level the game ended on; 11 after the last
    std::vector<fact_fluency> facts;  // to practise next
    bool saved;                       // false: practice.csv could not be written
};

// Composes the report on back_buffer and presents it.
void draw_practice_report(const practice_report& report);

// The name the practice screens give the player playing (players.h): theirs,
// "FIRST PLAYER" for the first of several who has none yet, and none for a
// lone player without one, as before there were players.
std::string playing_name();
// That name at the top left of a practice screen, left of its title.
void draw_playing_name();

// Waits until the Enter that closed the screen before is up; one held on
// for two seconds more counts as this screen's, so a key stuck down must
// not keep the player on it.
void let_go_of_enter();

enum report_choice { report_go_on, report_practise, report_fact_map };
// Waits for Enter, P or M, once the Enter before is let go of.
report_choice wait_for_report_choice();

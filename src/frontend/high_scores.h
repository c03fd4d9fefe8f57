#pragma once
// The high-score screen and the entry of a new high score's name.

#include "high_score_table.h"

// Rank (0-based) of the entry the next high-score screen marks, or -1.
extern int marked_high_score;
// Whether that entry could not be saved: the screen says so once.
extern bool marked_score_unsaved;

void show_high_scores();
// Asks the player's name on the screen (letters and digits, shown as
// capitals; Backspace; Enter), records the score in the table as it is on
// disk now, marks it for the next high-score screen and writes the table.
// Returns the rank, or -1 when the score does not qualify.
int enter_high_score(int score);
